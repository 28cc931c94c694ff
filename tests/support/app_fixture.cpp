#include "tests/support/app_fixture.h"

#include "app/screens.h"
#include "db/Public_DM.h"
#include "db/odbc_sources.h"
#include "db/query.h"
#include "db/schema.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "platform/widgets/splash_screen.h"
#include "shell/login_frm.h"
#include "shell/main_frm.h"
#include "shell/public_unit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>

namespace testing {

MessageBoxWatcher::MessageBoxWatcher()
    : m_timer(std::make_unique<QTimer>()) {
    m_timer->setInterval(5);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { poll(); });
    m_timer->start();
}

MessageBoxWatcher::~MessageBoxWatcher() = default;

void MessageBoxWatcher::clear() {
    m_texts.clear();
    m_captions.clear();
    m_icons.clear();
}

void MessageBoxWatcher::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box->property("answeredByTest").toBool())
        return;
    box->setProperty("answeredByTest", true);
    m_texts << box->text();
    m_captions << box->windowTitle();
    m_icons << box->icon();
    QMessageBox::StandardButton answer =
        m_answers.isEmpty() ? QMessageBox::NoButton : m_answers.takeFirst();
    if (answer == QMessageBox::NoButton || !box->button(answer))
        answer = box->button(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok;
    if (QAbstractButton* button = box->button(answer))
        button->click();
    else
        box->reject();
}

void whenModal(const char* className, std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    const QByteArray name(className);
    QObject::connect(timer, &QTimer::timeout, [timer, name, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || !modal->inherits(name.constData()))
            return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

bool usingSharedServer() {
    return db::findOdbcDataSource(QLatin1String(TDM_Public::DataSourceName)).has_value();
}

namespace {

// Empties the shared server's database so the data module creates the schema afresh.
void resetSharedServer() {
    const QString name = QStringLiteral("test-reset");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(QLatin1String(TDM_Public::DataSourceName));
        db.setUserName(QLatin1String(TDM_Public::DataSourceUser));
        db.setPassword(QLatin1String(TDM_Public::DataSourcePassword));
        if (!db.open())
            qFatal("cannot reach the shared test server: %s", qPrintable(db.lastError().text()));
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("drop schema if exists public cascade")) ||
            !q.exec(QStringLiteral("create schema public")))
            qFatal("cannot reset the shared test server: %s", qPrintable(q.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

AppFixture::AppFixture() {
    Q_ASSERT(m_home.isValid());
    qputenv("MERCHDESK_HOME", m_home.path().toLocal8Bit());
    QApplication::setApplicationDisplayName(QStringLiteral("Vantrel"));
    ResetLoginState();
    Tfrm_login::setSplashEnabled(false);
    if (usingSharedServer())
        resetSharedServer();
    m_boxes = std::make_unique<MessageBoxWatcher>();
    m_dataModule = std::make_unique<TDM_Public>();
    TFrm_Main::setProgramEnder([this] { m_programEnded = true; });
}

AppFixture::~AppFixture() {
    if (m_mainWindow) {
        // Leave without the exit question.
        TFrm_Main::setProgramEnder([] {});
        m_mainWindow->hide();
        m_mainWindow.reset();
    }
    m_dataModule.reset();
    ResetLoginState();
    qunsetenv("MERCHDESK_HOME");
}

void AppFixture::reopenDatabase() {
    m_dataModule.reset();
    m_dataModule = std::make_unique<TDM_Public>();
}

TFrm_Main* AppFixture::mainWindow() {
    if (!m_mainWindow) {
        m_mainWindow = std::make_unique<TFrm_Main>();
        RegisterScreens(*m_mainWindow);
    }
    return m_mainWindow.get();
}

bool AppFixture::login(const QString& workNo, const QString& password) {
    whenModal("Tfrm_login", [workNo, password](QWidget* widget) {
        auto* dialog = static_cast<Tfrm_login*>(widget);
        dialog->findChild<QComboBox*>(QStringLiteral("workNoBox"))->setEditText(workNo);
        dialog->findChild<QLineEdit*>(QStringLiteral("passwordBox"))->setText(password);
        dialog->LoginClick();
        if (dialog->isVisible())
            dialog->ExitClick();
    });
    TFrm_Main* main = mainWindow();
    main->show();
    const bool finished = QTest::qWaitFor(
        [&] {
            return main->loginDialog() && !main->loginDialog()->isVisible() &&
                   !CurComputer.isEmpty();
        },
        10000);
    return finished && main->loginDialog()->resultFlag() == 1;
}

QStringList AppFixture::allRights() {
    return db::rightsColumns();
}

void AppFixture::addUser(const QString& workNo, const QString& name, const QString& password,
                         const QStringList& rights) {
    QStringList columns = {QStringLiteral("工号"), QStringLiteral("用户名称"),
                           QStringLiteral("用户密码"), QStringLiteral("级别")};
    QStringList values = {db::quoted(workNo), db::quoted(name), db::quoted(password),
                          db::quoted(QStringLiteral("销售员"))};
    for (const QString& right : db::rightsColumns()) {
        columns << right;
        values << (rights.contains(right) ? QStringLiteral("1") : QStringLiteral("0"));
    }
    exec(QStringLiteral("insert into tab_user(") + columns.join(QLatin1Char(',')) +
         QStringLiteral(")values(") + values.join(QLatin1Char(',')) + QLatin1Char(')'));
}

QVariant AppFixture::scalar(const QString& sql) const {
    QSqlQuery q(TDM_Public::database());
    if (!q.exec(sql))
        throw db::SqlError(q.lastError().text(), sql);
    return q.next() ? q.value(0) : QVariant();
}

QList<QVariantMap> AppFixture::rows(const QString& sql) const {
    QSqlQuery q(TDM_Public::database());
    if (!q.exec(sql))
        throw db::SqlError(q.lastError().text(), sql);
    QList<QVariantMap> result;
    while (q.next()) {
        QVariantMap row;
        const QSqlRecord record = q.record();
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), q.value(i));
        result << row;
    }
    return result;
}

int AppFixture::count(const QString& table, const QString& where) const {
    QString sql = QStringLiteral("select count(*) as n from ") + table;
    if (!where.isEmpty())
        sql += QStringLiteral(" where ") + where;
    return scalar(sql).toInt();
}

void AppFixture::exec(const QString& sql) const {
    QSqlQuery q(TDM_Public::database());
    if (!q.exec(sql))
        throw db::SqlError(q.lastError().text(), sql);
}

} // namespace testing
