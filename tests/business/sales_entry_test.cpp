#include "business/xsch_frm.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/lb_button.h"
#include "platform/widgets/number_edit.h"
#include "shell/main_frm.h"
#include "tests/business/support/sales_support.h"
#include "tests/support/app_fixture.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using testing::AppFixture;

namespace {

template <class T> T* get(QWidget* screen, const char* name) {
    T* widget = screen->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

NumberEdit* number(QWidget* screen, const char* name) {
    return get<NumberEdit>(screen, name);
}

// Types a value into a numeric field as the user does (the field emptied first).
void typeInto(NumberEdit* edit, const QString& text) {
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, text);
}

QStringList items(const QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list << box->itemText(i);
    return list;
}

} // namespace

class SalesEntryTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void opensOnTodaysOwnLinesWithSalesCaptions();
    void codeLookupLeavesLastSpec();
    void unknownCodeEmptiesProductAndAddsNothing();
    void lookupPanelFillsEntryFields();
    void lastPrice_data();
    void lastPrice();
    void stockField_data();
    void stockField();
    void amountsWrittenAsEntered_data();
    void amountsWrittenAsEntered();
    void otherDateAsksFirst();
    void addRefusedWithoutRight();
    void specFieldTakesNoKeysNorRightClick();
    void rowClickKeepsRowsOwnAmounts();
    void modifyUpdatesTheCurrentRow();
    void modifyWithUnsoldCodeAdds();
    void deleteSelectedRows();
    void titleClickSorting();
    void returnScreenWritesReturns();
};

void SalesEntryTest::opensOnTodaysOwnLinesWithSalesCaptions() {
    AppFixture app;
    app.addUser(QStringLiteral("0002"), QStringLiteral("李销售"), QString(),
                {QStringLiteral("销售出货"), QStringLiteral("新增单据")});
    app.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型) values('乙商店','客户资料'),"
                            "('甲商店','客户资料'),('丙工厂','供商资料')"));
    sales::addSale(app, {.owner = QStringLiteral("0002(李销售)")});
    sales::addSale(
        app, {.date = QDate::currentDate().addDays(-1), .owner = QStringLiteral("0002(李销售)")});
    sales::addSale(app, {.owner = QStringLiteral("888(系统管理员)")});
    sales::addSale(app,
                   {.kind = QStringLiteral("销售退库"), .owner = QStringLiteral("0002(李销售)")});

    Tfrm_xsch* screen = sales::openScreen(app, QStringLiteral("销售出货"), QStringLiteral("0002"));
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("销售出货开单"));
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->value(0, QStringLiteral("出货人")).toString(), QStringLiteral("0002(李销售)"));
    QVERIFY(app.mainWindow()->statusPanelText(0).endsWith(QStringLiteral("共查询到 1 条记录")));
    QCOMPARE(items(get<QComboBox>(screen, "DBComboBoxEh5")),
             (QStringList{QStringLiteral("甲商店"), QStringLiteral("乙商店")}));
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh5")->currentText(), QString());
    QCOMPARE(get<DateEdit>(screen, "DBDateTimeEditEh1")->date(), QDate::currentDate());
    QCOMPARE(number(screen, "sldb")->value(), std::optional<double>(1.0));
    QCOMPARE(screen->labelOf(number(screen, "djdb"))->text(), QStringLiteral("出货单价(必填)"));
    QCOMPARE(screen->labelOf(number(screen, "sumdb"))->text(), QStringLiteral("合计(付款金额)"));
    QVERIFY(number(screen, "Qkje")->isVisible());
    QVERIFY(!get<QComboBox>(screen, "DBComboBoxEh1")->isVisible());
    QVERIFY(!get<QComboBox>(screen, "DBComboBoxEh6")->isVisible());
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh6")->currentText(),
             QStringLiteral("0002(李销售)"));
    QVERIFY(!get<QLineEdit>(screen, "Edit2")->isEnabled());
    QVERIFY(!number(screen, "DBNumberEditEh2")->isEnabled());
    QCOMPARE(get<QLabel>(screen, "MLabel14")->text(),
             QStringLiteral("提示:若有欠款则输入欠款金额,若无欠款,则输入\"0\""));
    QCOMPARE(grid->footerText(QStringLiteral("商品大类")), QStringLiteral("合计："));

    screen->close();
    QCOMPARE(app.mainWindow()->statusPanelText(0), QString());
}

void SalesEntryTest::codeLookupLeavesLastSpec() {
    AppFixture app;
    for (const char* spec : {"B", "A", "C"})
        sales::addPurchase(app, {.code = QStringLiteral("A1"), .spec = QString::fromUtf8(spec)});
    sales::addPurchase(app, {.code = QStringLiteral("A2"),
                             .spec = QStringLiteral("Z"),
                             .name = QStringLiteral("面包")});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    QTest::keyClicks(get<QLineEdit>(screen, "Edit1"), QStringLiteral("A1"));
    QCOMPARE(get<QLineEdit>(screen, "Edit2")->text(), QStringLiteral("食品类"));
    QCOMPARE(get<QLineEdit>(screen, "Edit3")->text(), QStringLiteral("饼干"));
    auto* spec = get<QComboBox>(screen, "DBComboBoxEh3");
    QCOMPARE(spec->currentText(), QStringLiteral("C"));
    QCOMPARE(items(spec),
             (QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}));
    QCOMPARE(number(screen, "djdb")->value(), std::optional<double>(0.0));
    QCOMPARE(number(screen, "DBNumberEditEh2")->value(), std::optional<double>(10.0));
    QCOMPARE(app.boxes().count(), 0);
}

void SalesEntryTest::unknownCodeEmptiesProductAndAddsNothing() {
    AppFixture app;
    sales::addPurchase(app, {.code = QStringLiteral("A1")});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* code = get<QLineEdit>(screen, "Edit1");
    code->setText(QStringLiteral("A1"));
    QCOMPARE(get<QLineEdit>(screen, "Edit3")->text(), QStringLiteral("饼干"));
    code->setText(QStringLiteral("NOPE"));
    QCOMPARE(get<QLineEdit>(screen, "Edit2")->text(), QString());
    QCOMPARE(get<QLineEdit>(screen, "Edit3")->text(), QString());
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh3")->currentText(), QString());
    typeInto(number(screen, "djdb"), QStringLiteral("5"));
    QTest::mouseClick(get<LbButton>(screen, "LbButton1"), Qt::LeftButton);
    QCOMPARE(app.count(QStringLiteral("Tab_xsch")), 0);
    QCOMPARE(app.count(QStringLiteral("tab_rz"), QStringLiteral("操作内容 like '%增加--%'")), 0);
    QCOMPARE(app.boxes().count(), 0);
}

void SalesEntryTest::lookupPanelFillsEntryFields() {
    AppFixture app;
    sales::addPurchase(app, {.code = QStringLiteral("J1"),
                             .spec = QStringLiteral("瓶"),
                             .name = QStringLiteral("白酒"),
                             .category = QStringLiteral("酒类")});
    sales::addPurchase(app, {.code = QStringLiteral("A1"), .spec = QStringLiteral("袋")});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* panel = get<QWidget>(screen, "Panel3");
    QVERIFY(!panel->isVisible());
    QTest::mouseClick(get<QToolButton>(screen, "SpeedButton1"), Qt::LeftButton);
    QVERIFY(panel->isVisible());
    auto* category = get<QComboBox>(screen, "DBComboBoxEh7");
    QCOMPARE(items(category), (QStringList{QStringLiteral("酒类"), QStringLiteral("食品类")}));
    category->setCurrentIndex(0);
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh8")->currentText(), QStringLiteral("白酒"));
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh9")->currentText(), QStringLiteral("瓶"));
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh10")->currentText(), QStringLiteral("J1"));
    QTest::mouseClick(get<QPushButton>(screen, "BitBtn1"), Qt::LeftButton);
    QVERIFY(!panel->isVisible());
    QCOMPARE(get<QLineEdit>(screen, "Edit1")->text(), QStringLiteral("J1"));
    QCOMPARE(get<QLineEdit>(screen, "Edit2")->text(), QStringLiteral("酒类"));
    QCOMPARE(get<QLineEdit>(screen, "Edit3")->text(), QStringLiteral("白酒"));
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh3")->currentText(), QStringLiteral("瓶"));
    QCOMPARE(number(screen, "DBNumberEditEh2")->value(), std::optional<double>(10.0));
}

void SalesEntryTest::lastPrice_data() {
    QTest::addColumn<QList<double>>("earlierPrices"); // sales to 张三超市, oldest first
    QTest::addColumn<QString>("command");
    QTest::addColumn<double>("expected");
    QTest::newRow("never bought") << QList<double>{} << QStringLiteral("销售出货") << 0.0;
    QTest::newRow("bought once") << QList<double>{10} << QStringLiteral("销售出货") << 10.0;
    QTest::newRow("bought twice") << QList<double>{10, 12} << QStringLiteral("销售出货") << 12.0;
    QTest::newRow("return priced at last sale")
        << QList<double>{10, 12.5} << QStringLiteral("销售退货") << 12.5;
}

void SalesEntryTest::lastPrice() {
    QFETCH(QList<double>, earlierPrices);
    QFETCH(QString, command);
    QFETCH(double, expected);
    AppFixture app;
    app.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型) values('张三超市','客户资料'),"
                            "('李四商店','客户资料')"));
    sales::addPurchase(app, {.spec = QStringLiteral("500g")});
    sales::addPurchase(app, {.spec = QStringLiteral("1kg")});
    for (double price : earlierPrices)
        sales::addSale(app, {.spec = QStringLiteral("500g"), .price = price});
    // Neither another customer's sale, another spec, nor a return sets the price.
    sales::addSale(
        app, {.spec = QStringLiteral("500g"), .price = 99, .customer = QStringLiteral("李四商店")});
    sales::addSale(app, {.spec = QStringLiteral("1kg"), .price = 98});
    sales::addSale(
        app, {.spec = QStringLiteral("500g"), .price = 97, .kind = QStringLiteral("销售退库")});

    Tfrm_xsch* screen = sales::openScreen(app, command);
    QVERIFY(screen);
    get<QLineEdit>(screen, "Edit1")->setText(QStringLiteral("A1"));
    auto* spec = get<QComboBox>(screen, "DBComboBoxEh3");
    spec->setCurrentIndex(items(spec).indexOf(QStringLiteral("500g")));
    get<QComboBox>(screen, "DBComboBoxEh5")->setCurrentText(QStringLiteral("张三超市"));
    QCOMPARE(number(screen, "djdb")->value(), std::optional<double>(expected));
    // The total and the debt follow the price.
    QCOMPARE(number(screen, "sumdb")->value(), std::optional<double>(expected));
    QCOMPARE(number(screen, "Qkje")->value(), std::optional<double>(0.0));
}

void SalesEntryTest::stockField_data() {
    QTest::addColumn<double>("bought");
    QTest::addColumn<double>("returnedToSupplier");
    QTest::addColumn<double>("sold");
    QTest::addColumn<double>("returnedByCustomer");
    QTest::addColumn<double>("expected");
    QTest::newRow("all four kinds") << 10.0 << 2.0 << 5.0 << 1.0 << 4.0;
    QTest::newRow("no sales") << 10.0 << 2.0 << 0.0 << 0.0 << 8.0;
    QTest::newRow("negative") << 3.0 << 0.0 << 5.0 << 0.0 << -2.0;
}

void SalesEntryTest::stockField() {
    QFETCH(double, bought);
    QFETCH(double, returnedToSupplier);
    QFETCH(double, sold);
    QFETCH(double, returnedByCustomer);
    QFETCH(double, expected);
    AppFixture app;
    // Two purchase lines, so the sums are sums; lines of a product that only shares some
    // fields with it (another spec, another code) do not count.
    sales::addPurchase(app, {.quantity = bought - 1});
    sales::addPurchase(app, {.quantity = 1});
    if (returnedToSupplier > 0)
        sales::addPurchase(app,
                           {.quantity = returnedToSupplier, .kind = QStringLiteral("采购退货")});
    if (sold > 0)
        sales::addSale(app, {.quantity = sold});
    if (returnedByCustomer > 0)
        sales::addSale(app, {.quantity = returnedByCustomer, .kind = QStringLiteral("销售退库")});
    sales::addPurchase(app, {.spec = QStringLiteral("500g装"), .quantity = 100});
    sales::addPurchase(app, {.code = QStringLiteral("A11"), .quantity = 50});
    sales::addSale(app, {.spec = QStringLiteral("500g装"), .quantity = 30});

    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    get<QLineEdit>(screen, "Edit1")->setText(QStringLiteral("A1"));
    auto* spec = get<QComboBox>(screen, "DBComboBoxEh3");
    spec->setCurrentIndex(items(spec).indexOf(QStringLiteral("500g")));
    QCOMPARE(spec->currentText(), QStringLiteral("500g"));
    QCOMPARE(number(screen, "DBNumberEditEh2")->value(), std::optional<double>(expected));
}

void SalesEntryTest::amountsWrittenAsEntered_data() {
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("paid"); // typed over the total; empty: left as computed
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("debt");
    QTest::newRow("part paid") << "12.5"
                               << "4"
                               << "30" << 30.0 << 20.0;
    QTest::newRow("paid in full") << "12.5"
                                  << "4"
                                  << "" << 50.0 << 0.0;
    QTest::newRow("no rounding") << "0.1"
                                 << "3"
                                 << "" << 0.3 << 0.0;
}

void SalesEntryTest::amountsWrittenAsEntered() {
    QFETCH(QString, price);
    QFETCH(QString, quantity);
    QFETCH(QString, paid);
    QFETCH(double, total);
    QFETCH(double, debt);
    AppFixture app;
    app.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型) values('张三超市','客户资料')"));
    sales::addPurchase(app, {});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    get<QLineEdit>(screen, "Edit1")->setText(QStringLiteral(" A1 "));
    get<QComboBox>(screen, "DBComboBoxEh5")->setCurrentText(QStringLiteral("张三超市"));
    typeInto(number(screen, "djdb"), price);
    typeInto(number(screen, "sldb"), quantity);
    // Entering the total does not recompute it on this screen.
    if (!paid.isEmpty())
        typeInto(number(screen, "sumdb"), paid);
    number(screen, "sldb")->setFocus();
    number(screen, "sumdb")->setFocus();
    QCOMPARE(number(screen, "sumdb")->value(), std::optional<double>(total));
    QCOMPARE(number(screen, "Qkje")->value(), std::optional<double>(debt));
    get<QPlainTextEdit>(screen, "Memo1")->setPlainText(QStringLiteral(" 月结 "));
    app.boxes().clear();
    QTest::mouseClick(get<LbButton>(screen, "LbButton1"), Qt::LeftButton);
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("增加记录成功!")});

    const auto rows = app.rows(QStringLiteral("select * from Tab_xsch"));
    QCOMPARE(rows.size(), 1);
    const QVariantMap& line = rows[0];
    QCOMPARE(line[QStringLiteral("出货单价")].toDouble(), price.toDouble());
    QCOMPARE(line[QStringLiteral("出货数量")].toDouble(), quantity.toDouble());
    QCOMPARE(line[QStringLiteral("合计")].toDouble(), total); // 0.3 exactly, not 0.1 × 3
    QCOMPARE(line[QStringLiteral("欠款金额")].toDouble(), debt);
    QCOMPARE(line[QStringLiteral("商品编码")].toString(), QStringLiteral("A1"));
    QCOMPARE(line[QStringLiteral("规格")].toString(), QStringLiteral("500g"));
    QCOMPARE(line[QStringLiteral("客户")].toString(), QStringLiteral("张三超市"));
    QCOMPARE(line[QStringLiteral("出货人")].toString(), QStringLiteral("888(系统管理员)"));
    QCOMPARE(line[QStringLiteral("备注")].toString(), QStringLiteral("月结"));
    QCOMPARE(line[QStringLiteral("类型")].toString(), QStringLiteral("销售出库"));
    QCOMPARE(line[QStringLiteral("打印标志")].toInt(), 0);
    QCOMPARE(line[QStringLiteral("客户地址电话")].toString(), QString());
    QCOMPARE(line[QStringLiteral("出货日期")].toDate(), QDate::currentDate());
    const QString no = line[QStringLiteral("编号")].toString();
    QCOMPARE(no.size(), 15);
    QVERIFY(no.startsWith(QDate::currentDate().toString(QStringLiteral("yyyyMMdd"))));
    QCOMPARE(
        app.count(QStringLiteral("Tab_xsch"),
                  QStringLiteral("合计='") + QString::number(total, 'g', 15) + QStringLiteral("'")),
        1);

    const auto log = app.rows(QStringLiteral("select * from tab_rz where 操作内容 like '%增加%'"));
    QCOMPARE(log.size(), 1);
    QCOMPARE(log[0][QStringLiteral("操作内容")].toString(),
             QStringLiteral("工号为：888 增加--销售出库 单据成功!新增的商品名称为：饼干"));
    QCOMPARE(log[0][QStringLiteral("性质")].toString(), QStringLiteral("重要"));
    // The list shows today's lines again.
    QCOMPARE(get<DataGrid>(screen, "DBGridEh1")->rowCount(), 1);
}

void SalesEntryTest::otherDateAsksFirst() {
    AppFixture app;
    sales::addPurchase(app, {});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    get<QLineEdit>(screen, "Edit1")->setText(QStringLiteral("A1"));
    typeInto(number(screen, "djdb"), QStringLiteral("3"));
    const QDate yesterday = QDate::currentDate().addDays(-1);
    get<DateEdit>(screen, "DBDateTimeEditEh1")->setDate(yesterday);
    const QString question = QStringLiteral("当前开单日期:") +
                             yesterday.toString(QStringLiteral("yyyy-MM-dd")) +
                             QStringLiteral("不等于今天的日期,确定要增加记录吗？");
    app.boxes().clear();
    app.boxes().answer(QMessageBox::No);
    QTest::mouseClick(get<LbButton>(screen, "LbButton1"), Qt::LeftButton);
    QCOMPARE(app.boxes().texts(), QStringList{question});
    QCOMPARE(app.boxes().captions(), QStringList{QStringLiteral("信息")});
    QCOMPARE(app.boxes().icons(), QList<QMessageBox::Icon>{QMessageBox::Question});
    QCOMPARE(app.count(QStringLiteral("Tab_xsch")), 0);

    app.boxes().clear();
    QTest::mouseClick(get<LbButton>(screen, "LbButton1"), Qt::LeftButton);
    QCOMPARE(app.boxes().texts(), (QStringList{question, QStringLiteral("增加记录成功!")}));
    QCOMPARE(app.scalar(QStringLiteral("select 出货日期 from Tab_xsch")).toDate(), yesterday);
    // The list shows today's lines, so the new line of yesterday is not in it.
    QCOMPARE(get<DataGrid>(screen, "DBGridEh1")->rowCount(), 0);
}

void SalesEntryTest::addRefusedWithoutRight() {
    AppFixture app;
    app.addUser(QStringLiteral("0003"), QStringLiteral("王五"), QString(),
                {QStringLiteral("销售出货")});
    sales::addPurchase(app, {});
    Tfrm_xsch* screen = sales::openScreen(app, QStringLiteral("销售出货"), QStringLiteral("0003"));
    QVERIFY(screen);
    get<QLineEdit>(screen, "Edit1")->setText(QStringLiteral("A1"));
    typeInto(number(screen, "djdb"), QStringLiteral("3"));
    app.boxes().clear();
    QTest::mouseClick(get<LbButton>(screen, "LbButton1"), Qt::LeftButton);
    QCOMPARE(app.boxes().texts(),
             QStringList{QStringLiteral("对不起,你没有增加单据的权限,请您联系-系统管理员")});
    QCOMPARE(app.count(QStringLiteral("Tab_xsch")), 0);
    QCOMPARE(app.count(QStringLiteral("tab_rz"), QStringLiteral("操作内容 like '%增加--%'")), 0);
}

void SalesEntryTest::specFieldTakesNoKeysNorRightClick() {
    AppFixture app;
    sales::addPurchase(app, {});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    get<QLineEdit>(screen, "Edit1")->setText(QStringLiteral("A1"));
    auto* spec = get<QComboBox>(screen, "DBComboBoxEh3");
    spec->setFocus();
    QTest::keyClicks(spec, QStringLiteral("xyz"));
    QTest::keyClick(spec, Qt::Key_Backspace);
    QCOMPARE(spec->currentText(), QStringLiteral("500g"));
    app.boxes().clear();
    QTest::mouseClick(spec->lineEdit(), Qt::RightButton);
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("不能使用右键")});
    QCOMPARE(spec->currentText(), QStringLiteral("500g"));
}

void SalesEntryTest::rowClickKeepsRowsOwnAmounts() {
    AppFixture app;
    sales::addPurchase(app, {.spec = QStringLiteral("500g"), .quantity = 50});
    sales::addPurchase(app, {.spec = QStringLiteral("1kg"), .quantity = 50});
    sales::addSale(app, {.spec = QStringLiteral("500g"),
                         .price = 9,
                         .quantity = 2,
                         .total = 15,
                         .debt = 3,
                         .remark = QStringLiteral("旧单")});
    // A later sale to the same customer: the last-price look-up would give 20.
    sales::addSale(app, {.spec = QStringLiteral("500g"), .price = 20, .quantity = 1});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    QCOMPARE(grid->rowCount(), 2);
    sales::clickRow(grid, 1); // newest first: row 1 is the older line
    QCOMPARE(get<QLineEdit>(screen, "Edit1")->text(), QStringLiteral("A1"));
    QCOMPARE(get<QLineEdit>(screen, "Edit2")->text(), QStringLiteral("食品类"));
    QCOMPARE(get<QLineEdit>(screen, "Edit3")->text(), QStringLiteral("饼干"));
    auto* spec = get<QComboBox>(screen, "DBComboBoxEh3");
    QCOMPARE(spec->currentText(), QStringLiteral("500g"));
    QCOMPARE(items(spec), (QStringList{QStringLiteral("1kg"), QStringLiteral("500g")}));
    QCOMPARE(number(screen, "djdb")->value(), std::optional<double>(9.0));
    QCOMPARE(number(screen, "sldb")->value(), std::optional<double>(2.0));
    QCOMPARE(number(screen, "sumdb")->value(), std::optional<double>(15.0));
    QCOMPARE(number(screen, "Qkje")->value(), std::optional<double>(3.0));
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh5")->currentText(), QStringLiteral("张三超市"));
    QCOMPARE(get<QPlainTextEdit>(screen, "Memo1")->toPlainText(), QStringLiteral("旧单"));
    QCOMPARE(number(screen, "DBNumberEditEh2")->value(), std::optional<double>(47.0));
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh6")->currentText(),
             QStringLiteral("888(系统管理员)"));
    // The change handlers work again after the click.
    typeInto(number(screen, "sldb"), QStringLiteral("3"));
    QCOMPARE(number(screen, "sumdb")->value(), std::optional<double>(27.0));
    QCOMPARE(number(screen, "Qkje")->value(), std::optional<double>(0.0));
}

void SalesEntryTest::modifyUpdatesTheCurrentRow() {
    AppFixture app;
    sales::addPurchase(app, {});
    const QString older = sales::addSale(app, {.price = 9, .quantity = 2});
    const QString newer = sales::addSale(app, {.price = 20, .quantity = 1});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    sales::clickRow(grid, 1);
    typeInto(number(screen, "djdb"), QStringLiteral("8.5"));
    typeInto(number(screen, "Qkje"), QStringLiteral("7"));
    app.boxes().clear();
    QTest::mouseClick(get<LbButton>(screen, "LbButton3"), Qt::LeftButton);
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("修改成功!")});
    const auto changed =
        app.rows(QStringLiteral("select * from Tab_xsch where 编号='") + older + '\'');
    QCOMPARE(changed[0][QStringLiteral("出货单价")].toDouble(), 8.5);
    QCOMPARE(changed[0][QStringLiteral("合计")].toDouble(), 17.0);
    QCOMPARE(changed[0][QStringLiteral("欠款金额")].toDouble(), 7.0);
    QCOMPARE(app.scalar(QStringLiteral("select 出货单价 from Tab_xsch where 编号='") + newer + '\'')
                 .toDouble(),
             20.0);
    QCOMPARE(app.count(QStringLiteral("Tab_xsch")), 2);
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral(
                           "操作内容='工号为：888 修改--!销售出库单据成功!商品编码为：''A1'''")),
             1);
    QCOMPARE(grid->value(1, QStringLiteral("出货单价")).toDouble(), 8.5);
}

void SalesEntryTest::modifyWithUnsoldCodeAdds() {
    AppFixture app;
    sales::addPurchase(app, {});
    sales::addPurchase(app, {.code = QStringLiteral("B2"), .name = QStringLiteral("面包")});
    sales::addSale(app, {.price = 9});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    sales::clickRow(grid, 0);
    get<QLineEdit>(screen, "Edit1")->setText(QStringLiteral("B2"));
    typeInto(number(screen, "djdb"), QStringLiteral("4"));
    app.boxes().clear();
    QTest::mouseClick(get<LbButton>(screen, "LbButton3"), Qt::LeftButton);
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("增加记录成功!")});
    QCOMPARE(app.count(QStringLiteral("Tab_xsch")), 2);
    QCOMPARE(app.count(QStringLiteral("Tab_xsch"), QStringLiteral("商品编码='A1' and 出货单价=9")),
             1);
    QCOMPARE(app.count(QStringLiteral("Tab_xsch"), QStringLiteral("商品编码='B2' and 出货单价=4")),
             1);
}

void SalesEntryTest::deleteSelectedRows() {
    AppFixture app;
    QStringList numbers;
    for (int i = 1; i <= 5; ++i)
        numbers << sales::addSale(app, {.code = QStringLiteral("C%1").arg(i)});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    QCOMPARE(grid->rowCount(), 5);
    auto* button = get<LbButton>(screen, "LbButton2");

    // Nothing selected: nothing asked.
    grid->clearSelection();
    app.boxes().clear();
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(app.boxes().count(), 0);

    for (int row : {0, 2, 4})
        grid->setRowSelected(row, true);
    const QStringList chosen{grid->value(0, QStringLiteral("编号")).toString(),
                             grid->value(2, QStringLiteral("编号")).toString(),
                             grid->value(4, QStringLiteral("编号")).toString()};
    app.boxes().answer(QMessageBox::No);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("真的要删除这3行单据吗？")});
    QCOMPARE(app.boxes().captions(), QStringList{QStringLiteral("单据删除")});
    QCOMPARE(app.boxes().icons(), QList<QMessageBox::Icon>{QMessageBox::NoIcon});
    QCOMPARE(app.count(QStringLiteral("Tab_xsch")), 5);

    app.boxes().clear();
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(app.boxes().texts(),
             (QStringList{QStringLiteral("真的要删除这3行单据吗？"), QStringLiteral("删除成功!")}));
    QCOMPARE(app.count(QStringLiteral("Tab_xsch")), 2);
    for (const QString& no : chosen)
        QCOMPARE(app.count(QStringLiteral("Tab_xsch"), QStringLiteral("编号='") + no + '\''), 0);
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='工号为：888 删除--销售进货/退货单据成功!'")),
             1);
}

void SalesEntryTest::titleClickSorting() {
    AppFixture app;
    sales::addSale(app, {.remark = QStringLiteral("b")});
    sales::addSale(app, {.remark = QStringLiteral("c")});
    sales::addSale(app, {.remark = QStringLiteral("a")});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    const QString remark = QStringLiteral("备注");
    QCOMPARE(grid->sortMarker(remark), SortMarker::Down);
    QHeaderView* header = grid->horizontalHeader();
    const int section = grid->columnOf(remark);
    const QPoint title(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                       header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    QCOMPARE(testing::gridColumn(grid, remark), (QStringList{"a", "b", "c"}));
    QCOMPARE(grid->sortMarker(remark), SortMarker::Up);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    QCOMPARE(testing::gridColumn(grid, remark), (QStringList{"c", "b", "a"}));
    QCOMPARE(grid->sortMarker(remark), SortMarker::Down);
}

void SalesEntryTest::returnScreenWritesReturns() {
    AppFixture app;
    sales::addPurchase(app, {});
    sales::addSale(app, {.price = 11});
    Tfrm_xsch* screen = sales::openScreen(app, QStringLiteral("销售退货"));
    QVERIFY(screen);
    QCOMPARE(screen->windowTitle(), QStringLiteral("销售退货"));
    QCOMPARE(screen->LineType(), QStringLiteral("销售退库"));
    QCOMPARE(screen->labelOf(number(screen, "djdb"))->text(), QStringLiteral("退货单价(必填)"));
    QCOMPARE(screen->labelOf(number(screen, "sldb"))->text(), QStringLiteral("退货数量(必填)"));
    QCOMPARE(screen->labelOf(number(screen, "sumdb"))->text(), QStringLiteral("合计(退款金额)"));
    QCOMPARE(screen->labelOf(get<DateEdit>(screen, "DBDateTimeEditEh1"))->text(),
             QStringLiteral("退货日期"));
    QVERIFY(!number(screen, "Qkje")->isVisible());
    QVERIFY(!get<QLabel>(screen, "MLabel14")->isVisible());
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    QCOMPARE(grid->rowCount(), 0); // the sale is not a return
    QCOMPARE(grid->column(QStringLiteral("出货数量"))->title, QStringLiteral("退货数量"));
    QVERIFY(!grid->column(QStringLiteral("欠款金额"))->visible);
    QCOMPARE(grid->columnOf(QStringLiteral("打印标志")), -1);

    get<QLineEdit>(screen, "Edit1")->setText(QStringLiteral("A1"));
    get<QComboBox>(screen, "DBComboBoxEh5")->setCurrentText(QStringLiteral("张三超市"));
    QCOMPARE(number(screen, "djdb")->value(), std::optional<double>(11.0));
    typeInto(number(screen, "sumdb"), QStringLiteral("6"));
    app.boxes().clear();
    QTest::mouseClick(get<LbButton>(screen, "LbButton1"), Qt::LeftButton);
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("增加记录成功!")});
    const auto rows = app.rows(QStringLiteral("select * from Tab_xsch where 类型='销售退库'"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0][QStringLiteral("合计")].toDouble(), 6.0);
    QCOMPARE(rows[0][QStringLiteral("欠款金额")].toDouble(), 5.0); // computed though hidden
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='工号为：888 增加--销售退库 单据成功!"
                                      "新增的商品名称为：饼干'")),
             1);
    QCOMPARE(grid->rowCount(), 1);
    // Both screens draw their numbers from one sequence of the day.
    QCOMPARE(app.count(QStringLiteral("Tab_xsch")), 2);
}

QTEST_MAIN(SalesEntryTest)
#include "sales_entry_test.moc"
