// Customer and supplier records on the real screens: the entry panel and grid of each kind,
// list all and the search, add with the short-name rule across both kinds, modify, delete,
// the row click and export.

#include "business/Cgjh_frm.h"
#include "business/Gsgl_frm.h"
#include "business/Khgl_frm.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/lb_button.h"
#include "platform/widgets/number_edit.h"
#include "shell/main_frm.h"
#include "shell/public_unit.h"
#include "tests/business/support/purchase_support.h"
#include "tests/support/app_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

using testing::AppFixture;

namespace {

const QString kCustomer = QStringLiteral("客户资料");
const QString kSupplier = QStringLiteral("供商资料");

// The command that opens the screen of a kind.
QString commandOf(const QString& kind) {
    return kind == kSupplier ? QStringLiteral("供货商管理") : QStringLiteral("客户管理");
}

// Writes a partner straight into Tab_khgl; further columns as column → value.
void insertPartner(AppFixture& app, const QString& shortName, const QString& kind,
                   const QVariantMap& more = {}) {
    QString columns = QStringLiteral("客户简称,类型");
    QString values = db::quoted(shortName) + QLatin1Char(',') + db::quoted(kind);
    for (auto it = more.begin(); it != more.end(); ++it) {
        columns += QLatin1Char(',') + it.key();
        values += QLatin1Char(',') + db::quoted(it.value().toString());
    }
    app.exec(QStringLiteral("insert into Tab_khgl(") + columns + QStringLiteral(")values(") +
             values + QLatin1Char(')'));
}

// Logs in as the administrator (once) and opens the partner screen of the kind through the
// main window's command. The login's log row is removed.
Tfrm_Khgl* openPartnerScreen(AppFixture& app, const QString& kind,
                             const QString& workNo = QStringLiteral("888")) {
    if (CurComputer.isEmpty()) {
        if (!app.login(workNo))
            return nullptr;
        app.exec(QStringLiteral("delete from tab_rz"));
    }
    TFrm_Main* main = app.mainWindow();
    main->runCommand(commandOf(kind));
    const QMetaObject* wanted =
        kind == kSupplier ? &Tfrm_Gsgl::staticMetaObject : &Tfrm_Khgl::staticMetaObject;
    for (QMdiSubWindow* sub : main->mdiArea()->subWindowList()) {
        auto* screen = qobject_cast<Tfrm_Khgl*>(sub->widget());
        if (screen && screen->metaObject() == wanted) {
            if (!QTest::qWaitFor([screen] { return screen->isVisible(); }, 2000))
                return nullptr;
            return screen;
        }
    }
    return nullptr;
}

template <class T> T* get(QWidget* screen, const char* name) {
    T* widget = screen->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

QLineEdit* edit(QWidget* screen, const char* name) {
    return get<QLineEdit>(screen, name);
}

DataGrid* gridOf(QWidget* screen) {
    return get<DataGrid>(screen, "DBGridEh1");
}

void click(QWidget* screen, const char* button) {
    get<LbButton>(screen, button)->click();
}

// Clicks a cell of the grid's row as the user does: the row becomes the only selected one.
void clickRow(QWidget* screen, int row) {
    DataGrid* grid = gridOf(screen);
    const QModelIndex cell = grid->model()->index(row, 0);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
}

// The editors of the entry panel (but the short name and the hidden phone) with their columns.
struct Field {
    const char* control;
    const char* column;
};
const Field kFields[] = {
    {"Edit10", "公司名"},         {"Edit2", "主联系人"},
    {"Edit11", "通讯地址"},       {"Edit4", "手机"},
    {"DBComboBoxEh5", "职务"},    {"ComboBox1", "性别"},
    {"Edit12", "传真"},           {"Edit8", "住宅电话"},
    {"Edit5", "QQMSN"},           {"Edit6", "网址"},
    {"Edit9", "电子邮箱"},        {"Edit7", "邮编"},
    {"dDBComboBoxEh6", "业务员"}, {"Memo1", "备注"},
};

void setField(QWidget* screen, const char* control, const QString& text) {
    QWidget* widget = get<QWidget>(screen, control);
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        line->setText(text);
    else if (auto* box = qobject_cast<QComboBox*>(widget))
        box->setEditText(text);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget))
        memo->setPlainText(text);
    else
        qFatal("no text control %s", control);
}

QString fieldText(QWidget* screen, const char* control) {
    QWidget* widget = get<QWidget>(screen, control);
    if (auto* line = qobject_cast<QLineEdit*>(widget))
        return line->text();
    if (auto* box = qobject_cast<QComboBox*>(widget))
        return box->currentText();
    return qobject_cast<QPlainTextEdit*>(widget)->toPlainText();
}

// Types a value with blanks around it into every editor: "<column>-<tag>".
void fillAll(QWidget* screen, const QString& shortName, const QString& tag) {
    edit(screen, "Edit1")->setText(QLatin1Char(' ') + shortName + QLatin1Char(' '));
    for (const Field& f : kFields)
        setField(screen, f.control,
                 QStringLiteral("  ") + QString::fromUtf8(f.column) + QLatin1Char('-') + tag +
                     QLatin1Char(' '));
}

// The stored values of a partner by column. The keys are the column names as this test spells
// them (the server folds the unquoted QQMSN to lower case).
QVariantMap partnerRow(AppFixture& app, const QString& shortName) {
    const QList<QVariantMap> rows =
        app.rows(QStringLiteral("select * from Tab_khgl where 客户简称=") + db::quoted(shortName));
    if (rows.size() != 1)
        return {};
    QVariantMap row;
    for (auto it = rows.first().begin(); it != rows.first().end(); ++it)
        row.insert(it.key() == QStringLiteral("qqmsn") ? QStringLiteral("QQMSN") : it.key(),
                   it.value());
    return row;
}

} // namespace

class PartnerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void screenOfEachKind_data();
    void screenOfEachKind();
    void addWritesEveryEditorAndLogs_data();
    void addWritesEveryEditorAndLogs();
    void newPartnersFeedThePurchasePartnerList();
    void shortNameUniqueAcrossKinds_data();
    void shortNameUniqueAcrossKinds();
    void searchCoversHiddenColumnsAndKeepsKind();
    void rowClickThenModifyUpdatesPartner();
    void modifyAfterRenameAddsNewPartner();
    void deleteAsksThenRemovesSelected_data();
    void deleteAsksThenRemovesSelected();
    void recordsNeedNoDocumentRights();
    void exportProposesScreenNameAndLogs_data();
    void exportProposesScreenNameAndLogs();
};

void PartnerTest::screenOfEachKind_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortLabel");
    QTest::addColumn<QString>("companyLabel");
    QTest::addColumn<QStringList>("hiddenColumns");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("withoutTitleButton");
    QTest::newRow("customers") << kCustomer << "客户管理"
                               << "客户简称(必填)"
                               << "公司名" << QStringList{"联系电话", "网址"}
                               << QStringList{"客户简称", "公司名", "通讯地址/联系电话"}
                               << QStringList{"网址", "电子邮箱", "邮编", "业务员", "备注"};
    QTest::newRow("suppliers") << kSupplier << "供应商管理"
                               << "供商简称(必填)"
                               << "供商公司名" << QStringList{"网址"}
                               << QStringList{"供商简称", "供商公司名", "通讯地址"}
                               << QStringList{};
}

void PartnerTest::screenOfEachKind() {
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QString, shortLabel);
    QFETCH(QString, companyLabel);
    QFETCH(QStringList, hiddenColumns);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, withoutTitleButton);
    AppFixture app;
    insertPartner(app, QStringLiteral("乙"), kCustomer);
    insertPartner(app, QStringLiteral("甲"), kCustomer);
    insertPartner(app, QStringLiteral("丙"), kSupplier);
    insertPartner(app, QStringLiteral("丁"), kSupplier);
    insertPartner(app, QStringLiteral("戊"), kSupplier);

    Tfrm_Khgl* screen = openPartnerScreen(app, kind);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), caption);
    DataGrid* grid = gridOf(screen);

    // Creation lists every partner of the kind, by short name, with its timing.
    const QStringList expected =
        kind == kSupplier ? QStringList{"丁", "丙", "戊"} : QStringList{"乙", "甲"};
    QCOMPARE(testing::gridColumn(grid, QStringLiteral("客户简称")), expected);
    QVERIFY(app.mainWindow()->statusPanelText(0).endsWith(
        QStringLiteral("秒   共查询到 %1 条记录").arg(expected.size())));

    // Entry panel: the partner editors and only the six list and record buttons.
    QCOMPARE(screen->labelOf(edit(screen, "Edit1"))->text(), shortLabel);
    QCOMPARE(screen->labelOf(edit(screen, "Edit10"))->text(), companyLabel);
    QCOMPARE(screen->labelOf(edit(screen, "Edit11"))->text(), QStringLiteral("通讯地址和联系电话"));
    QVERIFY(!edit(screen, "Edit3")->isVisible());
    for (const char* visible :
         {"LbButton1", "LbButton2", "LbButton3", "LbButton4", "LbButton6", "LbButton7"})
        QVERIFY2(get<LbButton>(screen, visible)->isVisible(), visible);
    QCOMPARE(get<LbButton>(screen, "LbButton4")->text(), QStringLiteral("所有记录"));
    for (const char* hidden : {"LbButton5", "KlLbButton11"})
        QVERIFY2(!get<LbButton>(screen, hidden)->isVisible(), hidden);
    QVERIFY(!get<QToolButton>(screen, "SpeedButton1")->isVisible());
    for (const char* hidden :
         {"DBComboBoxEh1", "DBComboBoxEh2", "DBComboBoxEh3", "DBComboBoxEh4", "DBComboBoxEh6"})
        QVERIFY2(!get<QComboBox>(screen, hidden)->isVisible(), hidden);
    auto* position = get<QComboBox>(screen, "DBComboBoxEh5");
    QVERIFY(position->isVisible());
    QCOMPARE(screen->labelOf(position)->text(), QStringLiteral("职务"));
    QCOMPARE(position->count(), 3);
    QCOMPARE(position->itemText(2), QStringLiteral("其它"));
    QCOMPARE(get<QComboBox>(screen, "ComboBox1")->currentText(), QStringLiteral("男"));

    // The line total does nothing here.
    NumberEdit* sum = get<NumberEdit>(screen, "sumdb");
    const QString sumBefore = sum->text();
    get<NumberEdit>(screen, "djdb")->setText(QStringLiteral("3"));
    get<NumberEdit>(screen, "sldb")->setText(QStringLiteral("4"));
    QCOMPARE(sum->text(), sumBefore);

    // Grid: every column, some hidden, the kind's titles and title buttons, an empty footer.
    QStringList fields;
    for (const GridColumn& column : grid->columns()) {
        fields << column.field;
        QCOMPARE(column.visible, !hiddenColumns.contains(column.field));
        QCOMPARE(column.titleButton, !withoutTitleButton.contains(column.field));
        QVERIFY(grid->footerText(column.field).isEmpty());
    }
    QCOMPARE(fields, (QStringList{"客户简称", "公司名", "主联系人", "联系电话", "通讯地址", "手机",
                                  "职务", "性别", "传真", "住宅电话", "QQMSN", "网址", "电子邮箱",
                                  "邮编", "业务员", "备注"}));
    QCOMPARE(grid->column(QStringLiteral("客户简称"))->title, titles[0]);
    QCOMPARE(grid->column(QStringLiteral("公司名"))->title, titles[1]);
    QCOMPARE(grid->column(QStringLiteral("通讯地址"))->title, titles[2]);

    // The query panel holds the search in place of the purchase filters.
    click(screen, "LbButton6");
    QWidget* panel = get<QWidget>(screen, "Panel3");
    QVERIFY(panel->isVisible());
    QCOMPARE(get<QLabel>(screen, "Panel3_title")->text(), QStringLiteral("客户资料查询窗"));
    QVERIFY(edit(screen, "Edit13")->isVisible());
    QVERIFY(!get<QWidget>(screen, "rb1")->isVisible());
    QVERIFY(!get<QComboBox>(screen, "DBComboBoxEh7")->isVisible());
    QVERIFY(!get<QComboBox>(screen, "DBComboBoxEh11")->isVisible());
    click(screen, "LbButton6");
    QVERIFY(!panel->isVisible());

    screen->parentWidget()->close();
    QCOMPARE(app.mainWindow()->statusPanelText(0), QString());
}

void PartnerTest::addWritesEveryEditorAndLogs_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("customer") << kCustomer;
    QTest::newRow("supplier") << kSupplier;
}

void PartnerTest::addWritesEveryEditorAndLogs() {
    QFETCH(QString, kind);
    AppFixture app;
    Tfrm_Khgl* screen = openPartnerScreen(app, kind);
    QVERIFY(screen);

    // No short name: nothing at all.
    edit(screen, "Edit1")->setText(QStringLiteral("   "));
    click(screen, "LbButton1");
    QCOMPARE(app.boxes().count(), 0);
    QCOMPARE(app.count(QStringLiteral("Tab_khgl")), 0);

    fillAll(screen, QStringLiteral("新伙伴"), QStringLiteral("a"));
    // The hidden phone box never shows a value; whatever it holds is written as it is.
    QCOMPARE(edit(screen, "Edit3")->text(), QString());
    click(screen, "LbButton1");
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("增加记录成功!")});

    const QVariantMap row = partnerRow(app, QStringLiteral("新伙伴"));
    QVERIFY(!row.isEmpty());
    QCOMPARE(row.value(QStringLiteral("类型")).toString(), kind);
    QCOMPARE(row.value(QStringLiteral("联系电话")).toString(), QString());
    QVERIFY(!row.value(QStringLiteral("联系电话")).isNull());
    for (const Field& f : kFields)
        QCOMPARE(row.value(QString::fromUtf8(f.column)).toString(),
                 QString::fromUtf8(f.column) + QStringLiteral("-a"));

    const QList<QVariantMap> log = app.rows(QStringLiteral("select * from tab_rz"));
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].value(QStringLiteral("操作内容")).toString(),
             QStringLiteral("工号为：888执行--新增") + kind +
                 QStringLiteral("成功!新增的简称为：新伙伴"));
    QCOMPARE(log[0].value(QStringLiteral("性质")).toString(), QStringLiteral("重要"));

    // The list is reopened and shows the new partner.
    QCOMPARE(testing::gridColumn(gridOf(screen), QStringLiteral("客户简称")),
             QStringList{QStringLiteral("新伙伴")});
}

void PartnerTest::newPartnersFeedThePurchasePartnerList() {
    AppFixture app;
    Tfrm_Khgl* suppliers = openPartnerScreen(app, kSupplier);
    QVERIFY(suppliers);
    edit(suppliers, "Edit1")->setText(QStringLiteral("新供商"));
    click(suppliers, "LbButton1");
    Tfrm_Khgl* customers = openPartnerScreen(app, kCustomer);
    QVERIFY(customers);
    edit(customers, "Edit1")->setText(QStringLiteral("新客户"));
    click(customers, "LbButton1");

    // The purchase screen opened at login fills its lists when it is created: open it afresh.
    app.mainWindow()->runCommand(QStringLiteral("关闭所有窗口"));
    TFrm_Cgjh* purchase = testing::openPurchaseScreen(app);
    QVERIFY(purchase);
    auto* supplierBox = get<QComboBox>(purchase, "DBComboBoxEh5");
    QCOMPARE(supplierBox->count(), 1);
    QCOMPARE(supplierBox->itemText(0), QStringLiteral("新供商"));
}

void PartnerTest::shortNameUniqueAcrossKinds_data() {
    QTest::addColumn<QString>("existingKind");
    QTest::addColumn<QString>("screenKind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::newRow("supplier named like a customer") << kCustomer << kSupplier << "同名"
                                                    << "LbButton1";
    QTest::newRow("customer named like a supplier") << kSupplier << kCustomer << "同名"
                                                    << "LbButton1";
    QTest::newRow("same kind, typed with blanks") << kCustomer << kCustomer << "  同名 "
                                                  << "LbButton1";
    QTest::newRow("modify with nothing selected adds") << kCustomer << kCustomer << "同名"
                                                       << "LbButton3";
}

void PartnerTest::shortNameUniqueAcrossKinds() {
    QFETCH(QString, existingKind);
    QFETCH(QString, screenKind);
    QFETCH(QString, typed);
    QFETCH(QString, button);
    AppFixture app;
    insertPartner(app, QStringLiteral("同名"), existingKind,
                  {{QStringLiteral("公司名"), QStringLiteral("原公司")}});
    Tfrm_Khgl* screen = openPartnerScreen(app, screenKind);
    QVERIFY(screen);
    QCOMPARE(gridOf(screen)->selectedCount(), 0);
    fillAll(screen, QString(), QStringLiteral("b"));
    edit(screen, "Edit1")->setText(typed);
    click(screen, button.toLatin1().constData());

    QCOMPARE(app.boxes().texts(),
             QStringList{QStringLiteral("对不起此简称已经存在,请选择其它的简称!")});
    QCOMPARE(app.count(QStringLiteral("Tab_khgl")), 1);
    const QVariantMap row = partnerRow(app, QStringLiteral("同名"));
    QCOMPARE(row.value(QStringLiteral("类型")).toString(), existingKind);
    QCOMPARE(row.value(QStringLiteral("公司名")).toString(), QStringLiteral("原公司"));
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
}

void PartnerTest::searchCoversHiddenColumnsAndKeepsKind() {
    AppFixture app;
    // The phone column is never written by the screens: these values come from elsewhere.
    insertPartner(app, QStringLiteral("电话客户"), kCustomer,
                  {{QStringLiteral("联系电话"), QStringLiteral("13812345678")}});
    insertPartner(app, QStringLiteral("网站客户"), kCustomer,
                  {{QStringLiteral("网址"), QStringLiteral("www.shop138.cn")}});
    insertPartner(app, QStringLiteral("备注客户"), kCustomer,
                  {{QStringLiteral("备注"), QStringLiteral("老客户 138")}});
    insertPartner(app, QStringLiteral("无关客户"), kCustomer,
                  {{QStringLiteral("手机"), QStringLiteral("13912345678")}});
    insertPartner(app, QStringLiteral("手机供商"), kSupplier,
                  {{QStringLiteral("手机"), QStringLiteral("13800000000")}});
    insertPartner(app, QStringLiteral("另一供商"), kSupplier);
    insertPartner(app, QStringLiteral("O'Neil商店"), kCustomer);

    struct Case {
        QString kind;
        QString text;
        QStringList found;
    };
    const QList<Case> cases = {
        {kCustomer, QStringLiteral(" 138 "), {"备注客户", "电话客户", "网站客户"}},
        {kSupplier, QStringLiteral("138"), {"手机供商"}},
        {kCustomer, QStringLiteral("没有这个"), {}},
        {kCustomer, QString(), {"O'Neil商店", "备注客户", "无关客户", "电话客户", "网站客户"}},
        {kCustomer, QStringLiteral("O'N"), {"O'Neil商店"}},
    };
    for (const Case& c : cases) {
        Tfrm_Khgl* screen = openPartnerScreen(app, c.kind);
        QVERIFY(screen);
        click(screen, "LbButton6");
        edit(screen, "Edit13")->setText(c.text);
        click(screen, "LbButton9");
        QStringList found = testing::gridColumn(gridOf(screen), QStringLiteral("客户简称"));
        found.sort();
        QStringList expected = c.found;
        expected.sort();
        QCOMPARE(found, expected);
        QVERIFY(app.mainWindow()->statusPanelText(0).endsWith(
            QStringLiteral("共查询到 %1 条记录").arg(c.found.size())));
        // The panel stays open for the next search; its 所有记录 lists the kind and closes it.
        QWidget* panel = get<QWidget>(screen, "Panel3");
        QVERIFY(panel->isVisible());
        get<LbButton>(panel, "LbButton10")->click();
        QVERIFY(!panel->isVisible());
        QCOMPARE(gridOf(screen)->rowCount(), c.kind == kSupplier ? 2 : 5);
        screen->parentWidget()->close();
    }
    QCOMPARE(app.boxes().count(), 0);
}

void PartnerTest::rowClickThenModifyUpdatesPartner() {
    AppFixture app;
    insertPartner(app, QStringLiteral("甲"), kCustomer);
    QVariantMap stored = {{QStringLiteral("联系电话"), QStringLiteral("13800000000")}};
    for (const Field& f : kFields)
        stored.insert(QString::fromUtf8(f.column), QString::fromUtf8(f.column) + "-旧");
    insertPartner(app, QStringLiteral("乙"), kCustomer, stored);
    Tfrm_Khgl* screen = openPartnerScreen(app, kCustomer);
    QVERIFY(screen);
    DataGrid* grid = gridOf(screen);
    const int row = testing::gridColumn(grid, QStringLiteral("客户简称")).indexOf("乙");
    QVERIFY(row >= 0);

    // The row click copies every column but the phone into the editors.
    clickRow(screen, row);
    QCOMPARE(grid->selectedRows(), QList<int>{row});
    QCOMPARE(edit(screen, "Edit1")->text(), QStringLiteral("乙"));
    for (const Field& f : kFields)
        QCOMPARE(fieldText(screen, f.control), QString::fromUtf8(f.column) + "-旧");
    QCOMPARE(edit(screen, "Edit3")->text(), QString());

    fillAll(screen, QStringLiteral("乙"), QStringLiteral("新"));
    app.boxes().clear();
    click(screen, "LbButton3");
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("修改成功!")});
    const QVariantMap row2 = partnerRow(app, QStringLiteral("乙"));
    for (const Field& f : kFields)
        QCOMPARE(row2.value(QString::fromUtf8(f.column)).toString(),
                 QString::fromUtf8(f.column) + "-新");
    QCOMPARE(row2.value(QStringLiteral("联系电话")).toString(), QString());
    QCOMPARE(row2.value(QStringLiteral("类型")).toString(), kCustomer);
    QCOMPARE(app.count(QStringLiteral("Tab_khgl")), 2);
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
    // The list shows the change.
    const int shown = testing::gridColumn(grid, QStringLiteral("客户简称")).indexOf("乙");
    QCOMPARE(grid->value(shown, QStringLiteral("公司名")).toString(), QStringLiteral("公司名-新"));
}

void PartnerTest::modifyAfterRenameAddsNewPartner() {
    AppFixture app;
    insertPartner(app, QStringLiteral("老名"), kSupplier,
                  {{QStringLiteral("公司名"), QStringLiteral("老公司")}});
    Tfrm_Khgl* screen = openPartnerScreen(app, kSupplier);
    QVERIFY(screen);
    clickRow(screen, 0);
    QCOMPARE(edit(screen, "Edit10")->text(), QStringLiteral("老公司"));
    edit(screen, "Edit1")->setText(QStringLiteral("新名"));
    edit(screen, "Edit10")->setText(QStringLiteral("新公司"));
    click(screen, "LbButton3");

    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("增加记录成功!")});
    QCOMPARE(partnerRow(app, QStringLiteral("老名")).value(QStringLiteral("公司名")).toString(),
             QStringLiteral("老公司"));
    const QVariantMap added = partnerRow(app, QStringLiteral("新名"));
    QCOMPARE(added.value(QStringLiteral("公司名")).toString(), QStringLiteral("新公司"));
    QCOMPARE(added.value(QStringLiteral("类型")).toString(), kSupplier);
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='工号为：888执行--新增供商资料成功!新增的简称为："
                                      "新名'")),
             1);
    QCOMPARE(gridOf(screen)->rowCount(), 2);
}

void PartnerTest::deleteAsksThenRemovesSelected_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void PartnerTest::deleteAsksThenRemovesSelected() {
    QFETCH(bool, yes);
    AppFixture app;
    for (const char* name : {"一", "二", "三"})
        insertPartner(app, QString::fromUtf8(name), kCustomer);
    insertPartner(app, QStringLiteral("供"), kSupplier);
    Tfrm_Khgl* screen = openPartnerScreen(app, kCustomer);
    QVERIFY(screen);
    DataGrid* grid = gridOf(screen);

    // Nothing selected: no question, nothing removed.
    click(screen, "LbButton2");
    QCOMPARE(app.boxes().count(), 0);

    const QStringList names = testing::gridColumn(grid, QStringLiteral("客户简称"));
    const int one = names.indexOf(QStringLiteral("一"));
    const int three = names.indexOf(QStringLiteral("三"));
    grid->setRowSelected(one, true);
    grid->setRowSelected(three, true);
    if (!yes)
        app.boxes().answer(QMessageBox::No);
    click(screen, "LbButton2");
    QCOMPARE(app.boxes().captions().value(0), QStringLiteral("单据删除"));
    QCOMPARE(app.boxes().texts().value(0), QStringLiteral("真的要删除这2行单据吗？"));
    QCOMPARE(app.boxes().icons().value(0), QMessageBox::NoIcon);
    if (yes) {
        QCOMPARE(app.boxes().texts().value(1), QStringLiteral("删除成功!"));
        QCOMPARE(testing::gridColumn(grid, QStringLiteral("客户简称")),
                 QStringList{QStringLiteral("二")});
        QCOMPARE(app.count(QStringLiteral("Tab_khgl")), 2);
    } else {
        QCOMPARE(app.boxes().count(), 1);
        QCOMPARE(app.count(QStringLiteral("Tab_khgl")), 4);
    }
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
}

void PartnerTest::recordsNeedNoDocumentRights() {
    AppFixture app;
    app.addUser(QStringLiteral("0005"), QStringLiteral("小周"), QString(),
                {QStringLiteral("客户资料")});
    Tfrm_Khgl* screen = openPartnerScreen(app, kCustomer, QStringLiteral("0005"));
    QVERIFY(screen);

    // Add, modify and delete without 新增单据 or 删除修改.
    edit(screen, "Edit1")->setText(QStringLiteral("甲"));
    click(screen, "LbButton1");
    clickRow(screen, 0);
    edit(screen, "Edit10")->setText(QStringLiteral("甲公司"));
    click(screen, "LbButton3");
    QCOMPARE(partnerRow(app, QStringLiteral("甲")).value(QStringLiteral("公司名")).toString(),
             QStringLiteral("甲公司"));
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='工号为：0005执行--新增客户资料成功!新增的简称为："
                                      "甲'")),
             1);
    clickRow(screen, 0);
    click(screen, "LbButton2");
    QCOMPARE(app.count(QStringLiteral("Tab_khgl")), 0);
    QCOMPARE(app.boxes().texts(),
             (QStringList{"增加记录成功!", "修改成功!", "真的要删除这1行单据吗？", "删除成功!"}));

    // The export goes through the template and keeps its right.
    app.boxes().clear();
    click(screen, "LbButton7");
    QCOMPARE(app.boxes().captions(), QStringList{QStringLiteral("操作提示")});
    QCOMPARE(app.boxes().texts(),
             QStringList{QStringLiteral("对不起,你没有导出数据的权限,请您联系-系统管理员")});
}

void PartnerTest::exportProposesScreenNameAndLogs_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("module");
    QTest::newRow("customers") << kCustomer << "客户管理";
    QTest::newRow("suppliers") << kSupplier << "供应商管理";
}

void PartnerTest::exportProposesScreenNameAndLogs() {
    QFETCH(QString, kind);
    QFETCH(QString, module);
    AppFixture app;
    insertPartner(app, QStringLiteral("甲"), kind,
                  {{QStringLiteral("联系电话"), QStringLiteral("13800000000")},
                   {QStringLiteral("网址"), QStringLiteral("www.jia.cn")}});
    Tfrm_Khgl* screen = openPartnerScreen(app, kind);
    QVERIFY(screen);

    FileDialog::setNextCancel();
    click(screen, "LbButton7");
    QCOMPARE(FileDialog::lastRequest().presetName, module);
    QCOMPARE(app.boxes().count(), 0);
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);

    const QString file = app.home() + QStringLiteral("/partners.csv");
    FileDialog::setNextAnswer(file, 3);
    click(screen, "LbButton7");
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("导出成功!")});
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(written.readAll());
    // Visible columns only: the web column is hidden on both screens.
    QVERIFY(content.contains(QStringLiteral("甲")));
    QVERIFY(!content.contains(QStringLiteral("www.jia.cn")));
    QCOMPARE(content.contains(QStringLiteral("13800000000")), kind == kSupplier);
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容=") +
                           db::quoted(QStringLiteral("工号为：888导出表格数据成功!导出的模块为--") +
                                      module) +
                           QStringLiteral(" and 性质='重要'")),
             1);
}

QTEST_MAIN(PartnerTest)
#include "partner_test.moc"
