// Purchase entry and return entry on the real screens: add, modify, delete, the cascade, the
// last price, the row click and the product lookup panel.

#include "business/Cgjh_frm.h"
#include "business/Cgth_frm.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/lb_button.h"
#include "platform/widgets/number_edit.h"
#include "shell/main_frm.h"
#include "tests/business/support/purchase_support.h"
#include "tests/support/app_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

using testing::AppFixture;
using testing::PurchaseLine;

namespace {

// The controls of a purchase screen by their names.
struct Entry {
    explicit Entry(TFrm_Cgjh* s)
        : screen(s) {}

    template <typename T> T* get(const char* name) const {
        T* control = screen->findChild<T*>(QLatin1String(name));
        if (!control)
            qFatal("no control %s", name);
        return control;
    }
    QComboBox* box(const char* name) const { return get<QComboBox>(name); }
    NumberEdit* number(const char* name) const { return get<NumberEdit>(name); }
    LbButton* button(const char* name) const { return get<LbButton>(name); }
    DataGrid* grid() const { return get<DataGrid>("DBGridEh1"); }

    // Types a product into the entry panel, as the user would.
    void fill(const QString& category, const QString& name, const QString& spec,
              const QString& code, const QString& price, const QString& quantity,
              const QString& supplier = QString(), const QString& remark = QString()) const {
        box("DBComboBoxEh1")->setEditText(category);
        box("DBComboBoxEh2")->setEditText(name);
        box("DBComboBoxEh3")->setEditText(spec);
        box("DBComboBoxEh4")->setEditText(code);
        number("djdb")->setText(price);
        number("sldb")->setText(quantity);
        box("DBComboBoxEh5")->setEditText(supplier);
        get<QPlainTextEdit>("Memo1")->setPlainText(remark);
    }

    TFrm_Cgjh* screen;
};

const QString kOwner = QStringLiteral("888(系统管理员)");

} // namespace

class PurchaseEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandsOpenBothScreens();
    void refusedRightsStopEveryCommand_data();
    void refusedRightsStopEveryCommand();
    void lineTotal_data();
    void lineTotal();
    void addStoresTypedValuesAndLogs();
    void missingRequiredValueAddsNothing();
    void duplicateCodeRule_data();
    void duplicateCodeRule();
    void dateQuestionAnsweredNoAddsNothing();
    void returnScreenAddsReturnLines();
    void modifyUpdatesSelectedLine();
    void modifyFallsBackToAdd_data();
    void modifyFallsBackToAdd();
    void deleteTwoSelectedRows();
    void deleteAnsweredNoKeepsRows();
    void cascadeAndLastPrice();
    void rowClickFillsEditors();
    void lookupPanel();
};

void PurchaseEntryTest::commandsOpenBothScreens() {
    AppFixture app;
    PurchaseLine old;
    old.date = QDate::currentDate().addDays(-1);
    insertPurchaseLine(app, old);
    insertPurchaseLine(app, PurchaseLine{});
    PurchaseLine ret;
    ret.kind = QStringLiteral("采购退货");
    insertPurchaseLine(app, ret);
    app.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型)values(' 乙厂 ','供商资料')"));
    app.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型)values('丙客户','客户资料')"));

    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("采购进货"));
    Entry e(screen);
    // Today's stock-in lines only, the timing in the status bar.
    QCOMPARE(e.grid()->rowCount(), 1);
    QVERIFY(app.mainWindow()->statusPanelText(0).startsWith(QStringLiteral("查询时间：")));
    QVERIFY(
        app.mainWindow()->statusPanelText(0).endsWith(QStringLiteral("秒   共查询到 1 条记录")));
    QCOMPARE(e.box("DBComboBoxEh5")->itemText(0), QStringLiteral("乙厂"));
    QCOMPARE(e.box("DBComboBoxEh5")->count(), 1);
    QCOMPARE(e.box("DBComboBoxEh1")->count(), 1);
    QCOMPARE(e.box("DBComboBoxEh6")->currentText(), kOwner);
    QCOMPARE(e.number("djdb")->text(), QStringLiteral("0"));
    QCOMPARE(e.number("sldb")->text(), QStringLiteral("1"));
    QCOMPARE(e.number("djdb")->decimalPlaces(), 4);
    QCOMPARE(e.get<DateEdit>("DBDateTimeEditEh1")->date(), QDate::currentDate());
    // Owner filter box of the query panel: an empty entry, then every user.
    QComboBox* owners = e.box("DBComboBoxEh12");
    QCOMPARE(owners->itemText(0), QString());
    QVERIFY(owners->findText(kOwner) > 0);
    QVERIFY(!e.grid()->column(QStringLiteral("编号"))->visible);
    QVERIFY(!e.grid()->column(QStringLiteral("打印标志"))->visible);

    auto* ret_screen = qobject_cast<TFrm_Cgth*>(testing::openPurchaseScreen(app, "采购退货"));
    QVERIFY(ret_screen);
    Entry r(ret_screen);
    QCOMPARE(r.grid()->rowCount(), 1);
    QCOMPARE(
        r.grid()->value(0, QStringLiteral("编号")).toString(),
        app.scalar(QStringLiteral("select 编号 from Tab_Cgjh where 类型='采购退货'")).toString());
    QCOMPARE(ret_screen->labelOf(r.number("djdb"))->text(), QStringLiteral("退货单价(必填)"));
    QCOMPARE(ret_screen->labelOf(r.number("sldb"))->text(), QStringLiteral("退货数量(必填)"));
    QCOMPARE(ret_screen->labelOf(r.get<DateEdit>("DBDateTimeEditEh1"))->text(),
             QStringLiteral("退货日期"));
    QCOMPARE(r.grid()->column(QStringLiteral("进货单价"))->title, QStringLiteral("退货单价"));
    QCOMPARE(r.grid()->column(QStringLiteral("进货人"))->title, QStringLiteral("退货人"));
    QVERIFY(!r.grid()->column(QStringLiteral("打印标志")));

    // Closing clears the timing text.
    ret_screen->parentWidget()->close();
    QCOMPARE(app.mainWindow()->statusPanelText(0), QString());
}

void PurchaseEntryTest::refusedRightsStopEveryCommand_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("add") << "LbButton1"
                         << "对不起,你没有增加单据的权限,请您联系-系统管理员";
    QTest::newRow("modify") << "LbButton3"
                            << "对不起,你没有删除和修改单据的权限,请您联系-系统管理员";
    QTest::newRow("delete") << "LbButton2"
                            << "对不起,你没有删除和修改单据的权限,请您联系-系统管理员";
    QTest::newRow("export") << "LbButton7"
                            << "对不起,你没有导出数据的权限,请您联系-系统管理员";
    QTest::newRow("design") << "KlLbButton11"
                            << "对不起,你没有设计报表的权限,请您联系-系统管理员";
}

void PurchaseEntryTest::refusedRightsStopEveryCommand() {
    QFETCH(QString, button);
    QFETCH(QString, message);
    AppFixture app;
    app.addUser(QStringLiteral("0007"), QStringLiteral("小王"), QString(),
                {QStringLiteral("采购进货")});
    insertPurchaseLine(app, PurchaseLine{.owner = QStringLiteral("0007(小王)")});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app, "采购进货", "0007");
    QVERIFY(screen);
    Entry e(screen);
    e.fill(QStringLiteral("酒类"), QStringLiteral("啤酒"), QString(), QStringLiteral("J9"),
           QStringLiteral("3"), QStringLiteral("2"));
    e.grid()->setRowSelected(0, true);
    bool menuOpened = false;
    connect(e.button(qPrintable(button)), &LbButton::menuAboutToOpen, this,
            [&menuOpened] { menuOpened = true; });
    app.boxes().clear();
    e.button(qPrintable(button))->click();

    QCOMPARE(app.boxes().texts(), QStringList{message});
    QCOMPARE(app.boxes().captions(), QStringList{QStringLiteral("操作提示")});
    QCOMPARE(app.boxes().icons().value(0), QMessageBox::Warning);
    QVERIFY(!menuOpened);
    QCOMPARE(screen->NewDocNo, QString()); // no number drawn
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh")), 1);
    QCOMPARE(app.count(QStringLiteral("tab_rz"), QStringLiteral("操作内容 like '工号为：0007 %'")),
             0);
}

void PurchaseEntryTest::lineTotal_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("total");
    QTest::newRow("whole") << "2.5"
                           << "4"
                           << "10";
    QTest::newRow("not rounded") << "0.3333"
                                 << "3"
                                 << "0.9999";
    QTest::newRow("cleared price") << ""
                                   << "3"
                                   << "";
    QTest::newRow("cleared quantity") << "7"
                                      << ""
                                      << "";
}

void PurchaseEntryTest::lineTotal() {
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(QString, total);
    AppFixture app;
    Entry e(testing::openPurchaseScreen(app));
    e.number("djdb")->setText(QStringLiteral("9"));
    e.number("sldb")->setText(QStringLiteral("9"));
    QCOMPARE(e.number("sumdb")->text(), QStringLiteral("81"));
    e.number("djdb")->setText(price);
    e.number("sldb")->setText(quantity);
    QCOMPARE(e.number("sumdb")->text(), total);
}

void PurchaseEntryTest::addStoresTypedValuesAndLogs() {
    AppFixture app;
    app.exec(
        QStringLiteral("insert into Tab_khgl(客户简称,类型)values('O''Brien 商行','供商资料')"));
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    Entry e(screen);
    // A quote in every text box, blanks around, as typed.
    e.fill(QStringLiteral(" 酒'类 "), QStringLiteral(" 老'酒 "), QStringLiteral("1'L"),
           QStringLiteral(" J'01 "), QStringLiteral("0.3333"), QStringLiteral("3"),
           QStringLiteral("O'Brien 商行"), QStringLiteral(" 备'注 "));
    app.boxes().clear();
    e.button("LbButton1")->click();

    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("增加记录成功!")});
    const auto rows = app.rows(QStringLiteral("select * from Tab_Cgjh"));
    QCOMPARE(rows.size(), 1);
    const QVariantMap& row = rows[0];
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    QCOMPARE(row.value(QStringLiteral("编号")).toString(), today + QStringLiteral("0000001"));
    QCOMPARE(row.value(QStringLiteral("商品大类")).toString(), QStringLiteral("酒'类"));
    QCOMPARE(row.value(QStringLiteral("商品名称")).toString(), QStringLiteral("老'酒"));
    QCOMPARE(row.value(QStringLiteral("规格")).toString(), QStringLiteral("1'L"));
    QCOMPARE(row.value(QStringLiteral("商品编码")).toString(), QStringLiteral("J'01"));
    QCOMPARE(row.value(QStringLiteral("进货单价")).toDouble(), 0.3333);
    QCOMPARE(row.value(QStringLiteral("进货数量")).toDouble(), 3.0);
    QCOMPARE(row.value(QStringLiteral("合计")).toDouble(), 0.9999);
    QCOMPARE(row.value(QStringLiteral("进货日期")).toDate(), QDate::currentDate());
    QCOMPARE(row.value(QStringLiteral("供货商")).toString(), QStringLiteral("O'Brien 商行"));
    QCOMPARE(row.value(QStringLiteral("进货人")).toString(), kOwner);
    QCOMPARE(row.value(QStringLiteral("备注")).toString(), QStringLiteral("备'注"));
    QCOMPARE(row.value(QStringLiteral("类型")).toString(), QStringLiteral("采购入库"));
    QCOMPARE(row.value(QStringLiteral("打印标志")).toInt(), 0);

    const auto log = app.rows(QStringLiteral("select * from tab_rz"));
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0].value(QStringLiteral("操作内容")).toString(),
             QStringLiteral("工号为：888 增加--采购入库 单据成功!新增的商品名称为老'酒"));
    QCOMPARE(log[0].value(QStringLiteral("性质")).toString(), QStringLiteral("重要"));
    // The list shows today's line; the editors keep their values for the next line.
    QCOMPARE(e.grid()->rowCount(), 1);
    QCOMPARE(e.box("DBComboBoxEh2")->currentText(), QStringLiteral(" 老'酒 "));

    // The next line of the same product needs only a new quantity and takes the next number.
    e.number("sldb")->setText(QStringLiteral("5"));
    e.button("LbButton1")->click();
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh"), QStringLiteral("合计=1.6665")), 1);
    QCOMPARE(app.scalar(QStringLiteral("select max(编号) from Tab_Cgjh")).toString(),
             today + QStringLiteral("0000002"));
    QCOMPARE(e.grid()->rowCount(), 2);
}

void PurchaseEntryTest::missingRequiredValueAddsNothing() {
    AppFixture app;
    Entry e(testing::openPurchaseScreen(app));
    // A missing required value ends the add silently.
    for (int missing = 0; missing < 5; ++missing) {
        QStringList values = {"食品类", "饼干", "P1", "2", "3"};
        values[missing] = QStringLiteral("  ");
        e.fill(values[0], values[1], QString(), values[2], values[3], values[4]);
        if (missing >= 3) // numeric editors: an empty text
            e.number(missing == 3 ? "djdb" : "sldb")->clear();
        app.boxes().clear();
        e.button("LbButton1")->click();
        QCOMPARE(app.boxes().count(), 0);
    }
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh")), 0);
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
}

void PurchaseEntryTest::duplicateCodeRule_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("existingKind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    // The existing line: 食品类 / 饼干 / code P001.
    QTest::newRow("new product, used code") << "采购进货"
                                            << "采购入库"
                                            << "面包" << false;
    QTest::newRow("existing product, same code") << "采购进货"
                                                 << "采购入库"
                                                 << "饼干" << true;
    QTest::newRow("code used only by a return") << "采购进货"
                                                << "采购退货"
                                                << "面包" << true;
    QTest::newRow("return: new product, used code") << "采购退货"
                                                    << "采购退货"
                                                    << "面包" << false;
    QTest::newRow("return: code used by stock-in") << "采购退货"
                                                   << "采购入库"
                                                   << "面包" << true;
}

void PurchaseEntryTest::duplicateCodeRule() {
    QFETCH(QString, command);
    QFETCH(QString, existingKind);
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    AppFixture app;
    insertPurchaseLine(app, PurchaseLine{.kind = existingKind});
    Entry e(testing::openPurchaseScreen(app, command));
    e.fill(QStringLiteral("食品类"), name, QStringLiteral("1kg"), QStringLiteral("P001"),
           QStringLiteral("2"), QStringLiteral("3"));
    app.boxes().clear();
    e.button("LbButton1")->click();
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh")), accepted ? 2 : 1);
    QCOMPARE(app.boxes().texts(), QStringList{accepted ? QStringLiteral("增加记录成功!")
                                                       : QStringLiteral("编码重复,不能新增!")});
    if (!accepted)
        QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
}

void PurchaseEntryTest::dateQuestionAnsweredNoAddsNothing() {
    AppFixture app;
    Entry e(testing::openPurchaseScreen(app));
    e.fill(QStringLiteral("食品类"), QStringLiteral("饼干"), QString(), QStringLiteral("P1"),
           QStringLiteral("2"), QStringLiteral("3"));
    const QDate yesterday = QDate::currentDate().addDays(-1);
    e.get<DateEdit>("DBDateTimeEditEh1")->setDate(yesterday);
    app.boxes().clear();
    app.boxes().answer(QMessageBox::No);
    e.button("LbButton1")->click();
    QCOMPARE(app.boxes().texts(),
             QStringList{QStringLiteral("当前入单日期:") + yesterday.toString(Qt::ISODate) +
                         QStringLiteral("不等于今天的日期,确定要增加记录吗？")});
    QCOMPARE(app.boxes().captions(), QStringList{QStringLiteral("信息")});
    QCOMPARE(app.boxes().icons().value(0), QMessageBox::Question);
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh")), 0);

    // Yes adds the line under its own date.
    e.button("LbButton1")->click();
    QCOMPARE(app.rows(QStringLiteral("select 进货日期 from Tab_Cgjh"))
                 .value(0)
                 .value(QStringLiteral("进货日期"))
                 .toDate(),
             yesterday);
}

void PurchaseEntryTest::returnScreenAddsReturnLines() {
    AppFixture app;
    Entry e(testing::openPurchaseScreen(app, "采购退货"));
    e.fill(QStringLiteral("食品类"), QStringLiteral("饼干"), QString(), QStringLiteral("P1"),
           QStringLiteral("2"), QStringLiteral("3"));
    e.button("LbButton1")->click();
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh"), QStringLiteral("类型='采购退货' and 规格=''")),
             1);
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='工号为：888 增加--采购退货 单据成功!"
                                      "新增的商品名称为饼干'")),
             1);
    QCOMPARE(e.grid()->rowCount(), 1);
}

void PurchaseEntryTest::modifyUpdatesSelectedLine() {
    AppFixture app;
    insertPurchaseLine(app, PurchaseLine{.number = "1", .code = "P001"});
    insertPurchaseLine(app, PurchaseLine{.number = "2", .code = "P001"});
    Entry e(testing::openPurchaseScreen(app));
    QCOMPARE(e.grid()->rowCount(), 2);
    // Rows come newest first: row 1 is number 1.
    e.grid()->setRowSelected(1, true);
    e.grid()->setCurrentIndex(e.grid()->model()->index(1, 0));
    e.fill(QStringLiteral("食品类"), QStringLiteral("饼干"), QStringLiteral("1kg"),
           QStringLiteral("P001"), QStringLiteral("3.5"), QStringLiteral("2"),
           QStringLiteral("新供应商"));
    app.boxes().clear();
    e.button("LbButton3")->click();
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("修改成功!")});
    const auto changed = app.rows(QStringLiteral("select * from Tab_Cgjh where 编号='1'"));
    QCOMPARE(changed[0].value(QStringLiteral("规格")).toString(), QStringLiteral("1kg"));
    QCOMPARE(changed[0].value(QStringLiteral("合计")).toDouble(), 7.0);
    QCOMPARE(changed[0].value(QStringLiteral("供货商")).toString(), QStringLiteral("新供应商"));
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh"), QStringLiteral("编号='2' and 规格='500g'")), 1);
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='工号为：888 修改--!采购入库单据成功!"
                                      "商品编码为：''P001''' and 性质='重要'")),
             1);
    QCOMPARE(e.grid()->value(1, QStringLiteral("规格")).toString(), QStringLiteral("1kg"));
}

void PurchaseEntryTest::modifyFallsBackToAdd_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("selectRow");
    QTest::newRow("unknown code") << "NEW1" << true;
    QTest::newRow("nothing selected") << "P001" << false;
}

void PurchaseEntryTest::modifyFallsBackToAdd() {
    QFETCH(QString, code);
    QFETCH(bool, selectRow);
    AppFixture app;
    insertPurchaseLine(app, PurchaseLine{.number = "1"});
    Entry e(testing::openPurchaseScreen(app));
    if (selectRow)
        e.grid()->setRowSelected(0, true);
    e.fill(QStringLiteral("食品类"), QStringLiteral("饼干"), QString(), code, QStringLiteral("3"),
           QStringLiteral("3"));
    app.boxes().clear();
    e.button("LbButton3")->click();
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("增加记录成功!")});
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh")), 2);
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh"), QStringLiteral("编号='1' and 合计=10")), 1);
}

void PurchaseEntryTest::deleteTwoSelectedRows() {
    AppFixture app;
    for (const char* number : {"1", "2", "3"})
        insertPurchaseLine(app, PurchaseLine{.number = number});
    Entry e(testing::openPurchaseScreen(app, "采购进货"));
    QCOMPARE(e.grid()->rowCount(), 3);
    e.grid()->setRowSelected(0, true);
    e.grid()->setRowSelected(2, true);
    app.boxes().clear();
    e.button("LbButton2")->click();
    QCOMPARE(app.boxes().texts(),
             (QStringList{QStringLiteral("真的要删除这2行单据吗？"), QStringLiteral("删除成功!")}));
    QCOMPARE(app.boxes().captions().value(0), QStringLiteral("单据删除"));
    QCOMPARE(app.boxes().icons().value(0), QMessageBox::NoIcon);
    QCOMPARE(testing::gridColumn(e.grid(), QStringLiteral("编号")), QStringList{"2"});
    QCOMPARE(app.scalar(QStringLiteral("select 编号 from Tab_Cgjh")).toString(),
             QStringLiteral("2"));
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='工号为：888 删除--采购进货/退货单据成功!'")),
             1);
}

void PurchaseEntryTest::deleteAnsweredNoKeepsRows() {
    AppFixture app;
    insertPurchaseLine(app, PurchaseLine{.number = "1"});
    Entry e(testing::openPurchaseScreen(app));
    app.boxes().clear();
    e.button("LbButton2")->click(); // nothing selected: no question
    QCOMPARE(app.boxes().count(), 0);
    e.grid()->setRowSelected(0, true);
    app.boxes().answer(QMessageBox::No);
    e.button("LbButton2")->click();
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("真的要删除这1行单据吗？")});
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh")), 1);
    QCOMPARE(app.count(QStringLiteral("tab_rz")), 0);
}

void PurchaseEntryTest::cascadeAndLastPrice() {
    AppFixture app;
    insertPurchaseLine(
        app, PurchaseLine{.number = "1", .name = "面包", .spec = "小", .code = "B1", .price = 1.5});
    insertPurchaseLine(
        app, PurchaseLine{.number = "2", .name = "饼干", .spec = "大", .code = "C2", .price = 3});
    insertPurchaseLine(
        app, PurchaseLine{.number = "3", .name = "饼干", .spec = "中", .code = "C1", .price = 2});
    insertPurchaseLine(
        app,
        PurchaseLine{.number = "4", .name = "饼干", .spec = "中", .code = "C1", .price = 2.25});
    // A newer return line of the same code: the suggestion stays with stock-in prices.
    insertPurchaseLine(app, PurchaseLine{.number = "5",
                                         .name = "饼干",
                                         .spec = "中",
                                         .code = "C1",
                                         .price = 9,
                                         .kind = "采购退货"});
    insertPurchaseLine(
        app, PurchaseLine{.number = "6", .category = "酒类", .name = "啤酒", .code = "J1"});

    for (const char* command : {"采购进货", "采购退货"}) {
        TFrm_Cgjh* screen = testing::openPurchaseScreen(app, command);
        Entry e(screen);
        QCOMPARE(e.box("DBComboBoxEh1")->count(), 2);
        e.box("DBComboBoxEh1")->setCurrentText(QStringLiteral("食品类"));
        QStringList names;
        for (int i = 0; i < e.box("DBComboBoxEh2")->count(); ++i)
            names << e.box("DBComboBoxEh2")->itemText(i);
        QCOMPARE(names, (QStringList{"面包", "饼干"}));
        QCOMPARE(e.box("DBComboBoxEh2")->currentText(), QStringLiteral("面包"));
        QCOMPARE(e.box("DBComboBoxEh3")->currentText(), QStringLiteral("小"));
        QCOMPARE(e.box("DBComboBoxEh4")->currentText(), QStringLiteral("B1"));
        QCOMPARE(e.number("djdb")->value(), 1.5);

        e.box("DBComboBoxEh2")->setEditText(QStringLiteral("饼干"));
        QCOMPARE(e.box("DBComboBoxEh3")->count(), 2);
        QCOMPARE(e.box("DBComboBoxEh3")->currentText(), QStringLiteral("中"));
        QCOMPARE(e.box("DBComboBoxEh4")->currentText(), QStringLiteral("C1"));
        QCOMPARE(e.number("djdb")->value(), 2.25);
        e.number("sldb")->setText(QStringLiteral("2"));
        QCOMPARE(e.number("sumdb")->text(), QStringLiteral("4.5"));

        // A code without stock-in lines suggests 0.
        e.box("DBComboBoxEh4")->setEditText(QStringLiteral("未知"));
        QCOMPARE(e.number("djdb")->value(), 0.0);
        screen->parentWidget()->close();
    }
}

void PurchaseEntryTest::rowClickFillsEditors() {
    AppFixture app;
    insertPurchaseLine(
        app, PurchaseLine{.number = "1", .name = "饼干", .spec = "大", .code = "C9", .price = 7});
    insertPurchaseLine(app, PurchaseLine{.number = "2",
                                         .name = "饼干",
                                         .spec = "小",
                                         .code = "C1",
                                         .price = 1.25,
                                         .quantity = 8,
                                         .total = 10,
                                         .date = QDate::currentDate(),
                                         .supplier = "丁厂",
                                         .remark = "第二行"});
    Entry e(testing::openPurchaseScreen(app));
    DataGrid* grid = e.grid();
    QCOMPARE(grid->value(1, QStringLiteral("编号")).toString(), QStringLiteral("1"));
    const QModelIndex cell = grid->model()->index(0, 1);
    grid->setCurrentIndex(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    QCOMPARE(e.box("DBComboBoxEh1")->currentText(), QStringLiteral("食品类"));
    QCOMPARE(e.box("DBComboBoxEh2")->currentText(), QStringLiteral("饼干"));
    QCOMPARE(e.box("DBComboBoxEh3")->currentText(), QStringLiteral("小"));
    QCOMPARE(e.box("DBComboBoxEh4")->currentText(), QStringLiteral("C1"));
    QCOMPARE(e.box("DBComboBoxEh5")->currentText(), QStringLiteral("丁厂"));
    QCOMPARE(e.box("DBComboBoxEh6")->currentText(), kOwner);
    QCOMPARE(e.number("djdb")->value(), 1.25);
    QCOMPARE(e.number("sldb")->value(), 8.0);
    QCOMPARE(e.number("sumdb")->value(), 10.0);
    QCOMPARE(e.get<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("第二行"));
}

void PurchaseEntryTest::lookupPanel() {
    AppFixture app;
    insertPurchaseLine(app, PurchaseLine{.number = "1",
                                         .category = "酒类",
                                         .name = "啤酒",
                                         .spec = "瓶装",
                                         .code = "J1",
                                         .price = 4});
    insertPurchaseLine(app, PurchaseLine{.number = "2",
                                         .category = "酒类",
                                         .name = "啤酒",
                                         .spec = "罐装",
                                         .code = "J1",
                                         .price = 5});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    Entry e(screen);
    QWidget* panel = e.get<QWidget>("Panel4");
    QVERIFY(!panel->isVisible());
    e.get<QToolButton>("SpeedButton1")->click();
    QVERIFY(panel->isVisible());
    auto* code = e.get<QLineEdit>("mmEdit1");
    code->setText(QStringLiteral("J1"));
    QCOMPARE(e.get<QLineEdit>("mmEdit2")->text(), QStringLiteral("酒类"));
    QCOMPARE(e.get<QLineEdit>("mmEdit3")->text(), QStringLiteral("啤酒"));
    QCOMPARE(e.box("mmCb1")->count(), 2);
    e.box("mmCb1")->setCurrentIndex(1);
    const QString chosenSpec = e.box("mmCb1")->currentText();
    e.get<QPushButton>("BitBtn1")->click();
    QVERIFY(!panel->isVisible());
    QCOMPARE(e.box("DBComboBoxEh1")->currentText(), QStringLiteral("酒类"));
    QCOMPARE(e.box("DBComboBoxEh2")->currentText(), QStringLiteral("啤酒"));
    QCOMPARE(e.box("DBComboBoxEh3")->currentText(), chosenSpec);
    QCOMPARE(e.box("DBComboBoxEh4")->currentText(), QStringLiteral("J1"));
    QCOMPARE(e.number("djdb")->value(), 5.0); // last price of the code

    // An unknown code empties the panel; 取消 hides it without touching the editors.
    e.get<QToolButton>("SpeedButton1")->click();
    code->setText(QStringLiteral("不存在"));
    QCOMPARE(e.get<QLineEdit>("mmEdit2")->text(), QString());
    QCOMPARE(e.box("mmCb1")->count(), 0);
    e.get<QPushButton>("BitBtn2")->click();
    QVERIFY(!panel->isVisible());
    QCOMPARE(e.box("DBComboBoxEh4")->currentText(), QStringLiteral("J1"));
}

QTEST_MAIN(PurchaseEntryTest)
#include "purchase_entry_test.moc"
