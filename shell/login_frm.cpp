#include "shell/login_frm.h"

#include "db/sql_error.h"
#include "db/sql_text.h"
#include "platform/widgets/splash_screen.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace {

bool g_splashEnabled = true;

void information(QWidget* parent, const QString& text) {
    ShowInformation(text, parent);
}

} // namespace

void Tfrm_login::setSplashEnabled(bool enabled) {
    g_splashEnabled = enabled;
}

Tfrm_login::Tfrm_login(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Tfrm_login"));
    setWindowTitle(QStringLiteral("用户登陆"));
    setFixedSize(420, 260);

    if (g_splashEnabled) {
        SplashScreen splash(SplashScreen::defaultPicture());
        splash.run();
    }

    auto* title = new QLabel(QStringLiteral("Vantrel 进销存管理系统"), this);
    title->setObjectName(QStringLiteral("titleLabel"));
    QFont titleFont = title->font();
    titleFont.setPointSize(15);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setStyleSheet(QStringLiteral("color: white;"));

    m_workNoBox = new QComboBox(this);
    m_workNoBox->setObjectName(QStringLiteral("workNoBox"));
    m_workNoBox->setEditable(true);
    m_workNoBox->setInsertPolicy(QComboBox::NoInsert);
    m_workNoBox->setToolTip(QStringLiteral("选择一个工号"));

    m_nameBox = new QLineEdit(this);
    m_nameBox->setObjectName(QStringLiteral("nameBox"));
    m_nameBox->setEnabled(false);

    m_passwordBox = new QLineEdit(this);
    m_passwordBox->setObjectName(QStringLiteral("passwordBox"));
    m_passwordBox->setEchoMode(QLineEdit::Password);
    m_passwordBox->setToolTip(QStringLiteral("输入密码"));

    m_loginButton = new QToolButton(this);
    m_loginButton->setObjectName(QStringLiteral("loginButton"));
    m_loginButton->setText(QStringLiteral("登 录"));
    m_loginButton->setToolTip(QStringLiteral("登入系统"));
    m_exitButton = new QToolButton(this);
    m_exitButton->setObjectName(QStringLiteral("exitButton"));
    m_exitButton->setText(QStringLiteral("退 出"));
    m_exitButton->setToolTip(QStringLiteral("退出系统"));
    m_closeMark = new QToolButton(this);
    m_closeMark->setObjectName(QStringLiteral("closeMark"));
    m_closeMark->setText(QStringLiteral("×"));
    m_closeMark->setToolTip(QStringLiteral("关闭系统"));
    m_closeMark->setAutoRaise(true);
    m_closeMark->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));

    auto label = [this](const QString& text) {
        auto* l = new QLabel(text, this);
        l->setStyleSheet(QStringLiteral("color: white;"));
        return l;
    };

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(40, 12, 12, 24);
    grid->addWidget(m_closeMark, 0, 3, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(title, 1, 0, 1, 4, Qt::AlignCenter);
    grid->addWidget(label(QStringLiteral("工  号：")), 2, 0);
    grid->addWidget(m_workNoBox, 2, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("姓  名：")), 3, 0);
    grid->addWidget(m_nameBox, 3, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("密  码：")), 4, 0);
    grid->addWidget(m_passwordBox, 4, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_loginButton);
    buttons->addWidget(m_exitButton);
    grid->addLayout(buttons, 5, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(3, 40);

    connect(m_loginButton, &QToolButton::clicked, this, &Tfrm_login::LoginClick);
    connect(m_exitButton, &QToolButton::clicked, this, &Tfrm_login::ExitClick);
    connect(m_closeMark, &QToolButton::clicked, this, [this] { close(); });
    connect(m_workNoBox, &QComboBox::activated, this, [this] { m_passwordBox->setFocus(); });
    m_workNoBox->lineEdit()->installEventFilter(this);
    m_passwordBox->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    fillWorkNumbers();
}

Tfrm_login::~Tfrm_login() = default;

void Tfrm_login::fillWorkNumbers() {
    m_userQuery.open(QStringLiteral("select 工号 from tab_user order by 工号"));
    for (; !m_userQuery.eof(); m_userQuery.next())
        m_workNoBox->addItem(m_userQuery.text(QStringLiteral("工号")));
    m_userQuery.close();
    m_workNoBox->setCurrentIndex(-1);
    m_workNoBox->setEditText(QString());
}

void Tfrm_login::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_workNoBox->setFocus();
}

void Tfrm_login::closeEvent(QCloseEvent* event) {
    m_userQuery.close();
    QDialog::closeEvent(event);
}

bool Tfrm_login::lookupRow(const QString& workNo, bool tell) {
    m_userQuery.open(QStringLiteral("Select 工号,用户名称,用户密码 From tab_user Where 工号=") +
                     db::quoted(workNo));
    if (!m_userQuery.eof()) {
        m_haveRow = true;
        m_rowWorkNo = m_userQuery.text(QStringLiteral("工号"));
        m_rowName = m_userQuery.text(QStringLiteral("用户名称"));
        m_rowPassword = m_userQuery.text(QStringLiteral("用户密码"));
        m_nameBox->setText(m_rowName);
        return true;
    }
    m_haveRow = false;
    m_nameBox->clear();
    m_passwordBox->clear();
    if (tell) {
        information(this, QStringLiteral("对不起，此工号不存在!"));
        m_workNoBox->setFocus();
    }
    return false;
}

void Tfrm_login::Lookup() {
    const QString workNo = m_workNoBox->currentText().trimmed();
    if (workNo.isEmpty())
        return;
    if (lookupRow(workNo, true))
        m_passwordBox->setFocus();
}

void Tfrm_login::LoginClick() {
    const QString workNo = m_workNoBox->currentText().trimmed();
    if (workNo.isEmpty()) {
        information(this, QStringLiteral("请选择一个工号"));
        m_workNoBox->setFocus();
        return;
    }
    try {
        // The password is always compared with the row of the work number now in the box,
        // even when it was changed after the last lookup.
        if (!m_haveRow || m_rowWorkNo.trimmed() != workNo) {
            if (!lookupRow(workNo, true))
                return;
        }
        if (m_passwordBox->text().trimmed() != m_rowPassword.trimmed()) {
            information(this, QStringLiteral("对不起密码错误!不能登入"));
            return;
        }
        CurUserName = m_rowName;
        CurUserNo = m_rowWorkNo;
        AddOperationLog(CurComputer, CurUserName, CurUserNo,
                        QStringLiteral("工号为：") + workNo + QStringLiteral(" 姓名为:") +
                            m_nameBox->text().trimmed() +
                            QStringLiteral(" 的操作员成功登入了进销存软件系统"),
                        QStringLiteral("重要"), m_userQuery);
        m_resultFlag = 1;
        close();
    } catch (const db::SqlError&) {
        // A failure during the login step leaves the dialog open without a message.
    }
}

void Tfrm_login::ExitClick() {
    m_resultFlag = 0;
    close();
}

bool Tfrm_login::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_passwordBox && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, this, [this] {
            try {
                Lookup();
            } catch (const db::SqlError& e) {
                ShowError(e.message(), this);
            }
        });
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (watched == m_passwordBox) {
                LoginClick();
                return true;
            }
            if (watched == m_workNoBox->lineEdit()) {
                m_passwordBox->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tfrm_login::keyPressEvent(QKeyEvent* event) {
    // Enter never closes the dialog by itself; Escape does nothing either.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void Tfrm_login::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QLinearGradient gradient(0, 0, width(), height());
    gradient.setColorAt(0, QColor(0x1f, 0x4e, 0x79));
    gradient.setColorAt(1, QColor(0x2e, 0x75, 0xb6));
    painter.fillRect(rect(), gradient);
    painter.setPen(QColor(255, 255, 255, 90));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void Tfrm_login::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    QDialog::mousePressEvent(event);
}

void Tfrm_login::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}
