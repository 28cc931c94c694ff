#include "business/xsch_frm.h"
#include "platform/grid/data_grid.h"
#include "platform/report/report_preview.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/lb_button.h"
#include "shell/main_frm.h"
#include "shell/public_unit.h"
#include "tests/business/support/sales_support.h"
#include "tests/support/app_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using testing::AppFixture;

namespace {

template <class T> T* get(QWidget* screen, const char* name) {
    T* widget = screen->findChild<T*>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

void click(QWidget* screen, const char* button) {
    QTest::mouseClick(get<LbButton>(screen, button), Qt::LeftButton);
}

// The text of every page of the next report preview, which is then closed.
QString* capturePreview() {
    auto* text = new QString;
    testing::whenModal("report::ReportPreview", [text](QWidget* widget) {
        auto* preview = static_cast<report::ReportPreview*>(widget);
        for (const auto& page : preview->rendered().pages)
            *text += page.text();
        preview->reject();
    });
    return text;
}

} // namespace

class SalesListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void allRecordsOfOwnTypeNewestFirst();
    void query_data();
    void query();
    void queryByProductAndPersons();
    void printFlagsTheSelectedLines();
    void printWithoutSelectionPrintsTheList();
    void reportDesignBehindItsRight();
    void headerSettingsOpenCompanyDialog();
    void exportLogsWithCode();
    void returnExportProposesItsName();
};

void SalesListTest::allRecordsOfOwnTypeNewestFirst() {
    AppFixture app;
    app.addUser(QStringLiteral("0002"), QStringLiteral("李销售"), QString(),
                {QStringLiteral("销售出货"), QStringLiteral("销售退货")});
    const QString owner = QStringLiteral("0002(李销售)");
    const QString first =
        sales::addSale(app, {.date = QDate::currentDate().addDays(-3), .owner = owner});
    const QString second = sales::addSale(app, {.owner = owner});
    sales::addSale(app, {.owner = QStringLiteral("888(系统管理员)")});
    const QString returned =
        sales::addSale(app, {.kind = QStringLiteral("销售退库"), .owner = owner});

    Tfrm_xsch* screen = sales::openScreen(app, QStringLiteral("销售出货"), QStringLiteral("0002"));
    QVERIFY(screen);
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    click(screen, "LbButton4");
    QCOMPARE(testing::gridColumn(grid, QStringLiteral("编号")), (QStringList{second, first}));
    QVERIFY(app.mainWindow()->statusPanelText(0).endsWith(QStringLiteral("共查询到 2 条记录")));

    app.mainWindow()->runCommand(QStringLiteral("销售退货"));
    Tfrm_xsch* returns = sales::openScreen(app, QStringLiteral("销售退货"));
    QVERIFY(returns);
    auto* returnGrid = get<DataGrid>(returns, "DBGridEh1");
    click(returns, "LbButton4");
    QCOMPARE(testing::gridColumn(returnGrid, QStringLiteral("编号")), QStringList{returned});
    QCOMPARE(app.boxes().count(), 0);
}

void SalesListTest::query_data() {
    QTest::addColumn<QString>("mode"); // radio button
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QStringList>("remarks");
    const QStringList all{"today", "d40", "y2008-08", "y2007-09", "y2007-08"};
    QTest::newRow("all time") << "rb5"
                              << ""
                              << "" << all;
    QTest::newRow("year") << "rb1"
                          << "2007"
                          << "" << QStringList{"y2007-09", "y2007-08"};
    QTest::newRow("month 08") << "rb2"
                              << "2007"
                              << "08" << QStringList{"y2007-08"};
    QTest::newRow("month 8") << "rb2"
                             << "2007"
                             << "8" << QStringList{"y2007-08"};
    QTest::newRow("day: today") << "rb3"
                                << ""
                                << "" << QStringList{"today"};
    QTest::newRow("range: last 30 days") << "rb4"
                                         << ""
                                         << "" << QStringList{"today"};
    QTest::newRow("year of letters") << "rb1"
                                     << "abcd"
                                     << "" << QStringList{};
}

void SalesListTest::query() {
    QFETCH(QString, mode);
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QStringList, remarks);
    AppFixture app;
    sales::addSale(app, {.date = QDate(2007, 8, 15), .remark = QStringLiteral("y2007-08")});
    sales::addSale(app, {.date = QDate(2007, 9, 1), .remark = QStringLiteral("y2007-09")});
    sales::addSale(app, {.date = QDate(2008, 8, 10), .remark = QStringLiteral("y2008-08")});
    sales::addSale(app,
                   {.date = QDate::currentDate().addDays(-40), .remark = QStringLiteral("d40")});
    sales::addSale(app, {.remark = QStringLiteral("today")});
    sales::addSale(app, {.kind = QStringLiteral("销售退库"), .remark = QStringLiteral("return")});

    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* panel = get<QWidget>(screen, "Panel4");
    QVERIFY(!panel->isVisible());
    click(screen, "LbButton6");
    QVERIFY(panel->isVisible());
    QCOMPARE(get<QComboBox>(screen, "cbyear")->currentText(),
             QDate::currentDate().toString(QStringLiteral("yyyy")));
    QCOMPARE(get<QComboBox>(screen, "cbmos")->currentText(),
             QDate::currentDate().toString(QStringLiteral("MM")));
    QTest::mouseClick(get<QRadioButton>(screen, mode.toUtf8().constData()), Qt::LeftButton);
    if (mode == QStringLiteral("rb4"))
        QCOMPARE(get<DateEdit>(screen, "dt1")->date(), QDate::currentDate().addDays(-30));
    if (!year.isEmpty())
        get<QComboBox>(screen, "cbyear")->setEditText(year);
    if (!month.isEmpty())
        get<QComboBox>(screen, "cbmos")->setEditText(month);
    app.boxes().clear();
    click(screen, "LbButton9");
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    QCOMPARE(testing::gridColumn(grid, QStringLiteral("备注")), remarks);
    if (year == QStringLiteral("abcd")) {
        QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral(
                                          "查询资料格式输入有误!比如年月份只能输入[数字]请检查!")});
        QVERIFY(panel->isVisible());
        QVERIFY(!grid->isOpen());
    } else {
        QCOMPARE(app.boxes().count(), 0);
        QVERIFY(!panel->isVisible());
        QVERIFY(app.mainWindow()->statusPanelText(0).endsWith(
            QStringLiteral("共查询到 %1 条记录").arg(remarks.size())));
    }
}

void SalesListTest::queryByProductAndPersons() {
    AppFixture app;
    app.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型) values('张三超市','客户资料'),"
                            "('李四商店','客户资料')"));
    sales::addPurchase(app, {.code = QStringLiteral("J1"),
                             .spec = QStringLiteral("瓶"),
                             .name = QStringLiteral("白酒"),
                             .category = QStringLiteral("酒类")});
    sales::addPurchase(app, {.code = QStringLiteral("J2"),
                             .spec = QStringLiteral("箱"),
                             .name = QStringLiteral("啤酒"),
                             .category = QStringLiteral("酒类")});
    sales::addSale(app, {.code = QStringLiteral("J1"),
                         .spec = QStringLiteral("瓶"),
                         .remark = QStringLiteral("白酒张三"),
                         .name = QStringLiteral("白酒"),
                         .category = QStringLiteral("酒类")});
    sales::addSale(app, {.code = QStringLiteral("J1"),
                         .spec = QStringLiteral("瓶"),
                         .customer = QStringLiteral("李四商店"),
                         .remark = QStringLiteral("白酒李四"),
                         .name = QStringLiteral("白酒"),
                         .category = QStringLiteral("酒类")});
    sales::addSale(app, {.code = QStringLiteral("J2"),
                         .spec = QStringLiteral("箱"),
                         .remark = QStringLiteral("啤酒张三"),
                         .name = QStringLiteral("啤酒"),
                         .category = QStringLiteral("酒类")});
    sales::addSale(app, {.remark = QStringLiteral("饼干张三")});

    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    click(screen, "LbButton6");
    auto* category = get<QComboBox>(screen, "DBComboBoxEh11");
    category->setCurrentText(QStringLiteral("酒类"));
    // The first name, its first spec and that spec's newest code follow.
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh12")->currentText(), QStringLiteral("啤酒"));
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh13")->currentText(), QStringLiteral("箱"));
    QCOMPARE(get<QComboBox>(screen, "DBComboBoxEh14")->currentText(), QStringLiteral("J2"));
    click(screen, "LbButton9");
    QCOMPARE(testing::gridColumn(grid, QStringLiteral("备注")), QStringList{"啤酒张三"});

    // The category alone once the other three boxes are emptied, for one customer.
    click(screen, "LbButton6");
    for (const char* box : {"DBComboBoxEh12", "DBComboBoxEh13", "DBComboBoxEh14"})
        get<QComboBox>(screen, box)->setEditText(QString());
    get<QComboBox>(screen, "DBComboBoxEh15")->setEditText(QStringLiteral("张三"));
    click(screen, "LbButton9");
    QCOMPARE(testing::gridColumn(grid, QStringLiteral("备注")),
             (QStringList{"啤酒张三", "白酒张三"}));

    // The seller box lists the users; a seller nobody sold as finds nothing.
    click(screen, "LbButton6");
    auto* seller = get<QComboBox>(screen, "DBComboBoxEh16");
    QVERIFY(seller->findText(QStringLiteral("888(系统管理员)")) >= 0);
    seller->setEditText(QStringLiteral("0009"));
    click(screen, "LbButton9");
    QCOMPARE(grid->rowCount(), 0);
    // 所有记录 in the panel lists everything and closes it.
    click(screen, "LbButton6");
    click(screen, "LbButton10");
    QCOMPARE(grid->rowCount(), 4);
    QVERIFY(!get<QWidget>(screen, "Panel4")->isVisible());
}

void SalesListTest::printFlagsTheSelectedLines() {
    AppFixture app;
    sales::copyLayoutFile(app, QStringLiteral("printreport.frf"));
    app.exec(QStringLiteral("insert into tab_company_info(公司名,销售电话,传真,地址) "
                            "values('华联贸易','0571-1','0571-2','杭州')"));
    app.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型,通讯地址) "
                            "values('张三超市','客户资料','西湖路 1 号')"));
    for (int i = 1; i <= 4; ++i)
        sales::addSale(app, {.code = QStringLiteral("P%1").arg(i), .price = 100.0 * i});
    // Another user's earlier print left a return flagged.
    const QString other =
        sales::addSale(app, {.code = QStringLiteral("R9"), .kind = QStringLiteral("销售退库")});
    app.exec(QStringLiteral("update Tab_xsch set 打印标志=1 where 编号='") + other + '\'');

    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    auto* grid = get<DataGrid>(screen, "DBGridEh1");
    QCOMPARE(grid->rowCount(), 4); // P4, P3, P2, P1
    for (int row : {0, 2, 3})
        grid->setRowSelected(row, true);
    QString* printed = capturePreview();
    get<QAction>(screen, "N2")->trigger();
    QCOMPARE(app.count(QStringLiteral("Tab_xsch"), QStringLiteral("打印标志=1")), 3);
    QCOMPARE(app.count(QStringLiteral("Tab_xsch"),
                       QStringLiteral("打印标志=1 and 商品编码 in ('P4','P2','P1')")),
             3);
    QVERIFY2(printed->contains(QStringLiteral("P1")) && printed->contains(QStringLiteral("P4")),
             qPrintable(*printed));
    QVERIFY(!printed->contains(QStringLiteral("P3")));
    QVERIFY(printed->indexOf(QStringLiteral("P1")) < printed->indexOf(QStringLiteral("P4")));
    QVERIFY(printed->contains(QStringLiteral("西湖路 1 号")));
    QVERIFY(printed->contains(MoneyToChinese(700)));
    QVERIFY(printed->contains(QStringLiteral("华联贸易")));
    delete printed;
}

void SalesListTest::printWithoutSelectionPrintsTheList() {
    AppFixture app;
    sales::copyLayoutFile(app, QStringLiteral("sell_report.frf"));
    sales::copyLayoutFile(app, QStringLiteral("return_report.frf"));
    sales::addSale(app, {.code = QStringLiteral("P1")});
    sales::addSale(app, {.code = QStringLiteral("P2"), .date = QDate::currentDate().addDays(-1)});
    const QString flagged = sales::addSale(app, {.code = QStringLiteral("P3")});
    app.exec(QStringLiteral("update Tab_xsch set 打印标志=1 where 编号='") + flagged + '\'');
    sales::addSale(app, {.code = QStringLiteral("R1"), .kind = QStringLiteral("销售退库")});

    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    get<DataGrid>(screen, "DBGridEh1")->clearSelection();
    QString* printed = capturePreview();
    get<QAction>(screen, "N1")->trigger();
    QCOMPARE(app.count(QStringLiteral("Tab_xsch"), QStringLiteral("打印标志=1")), 0);
    QVERIFY2(printed->contains(QStringLiteral("P1")) && printed->contains(QStringLiteral("P3")),
             qPrintable(*printed));
    QVERIFY(!printed->contains(QStringLiteral("P2"))); // not in today's list
    delete printed;

    // The return screen prints its own list through its own layout.
    Tfrm_xsch* returns = sales::openScreen(app, QStringLiteral("销售退货"));
    QVERIFY(returns);
    QCOMPARE(get<QAction>(returns, "N1")->text(), QStringLiteral("打印日/周/年销售退货报表"));
    QFile::remove(app.home() + QStringLiteral("/sell_report.frf"));
    printed = capturePreview();
    get<QAction>(returns, "N1")->trigger();
    QVERIFY2(printed->contains(QStringLiteral("R1")), qPrintable(*printed));
    QVERIFY(!printed->contains(QStringLiteral("P1")));
    delete printed;
}

void SalesListTest::reportDesignBehindItsRight() {
    AppFixture app;
    sales::copyLayoutFile(app, QStringLiteral("printreport.frf"));
    app.addUser(QStringLiteral("0002"), QStringLiteral("李销售"), QString(),
                {QStringLiteral("销售出货")});
    {
        Tfrm_xsch* screen =
            sales::openScreen(app, QStringLiteral("销售出货"), QStringLiteral("0002"));
        QVERIFY(screen);
        auto* button = get<LbButton>(screen, "KlLbButton11");
        QSignalSpy opened(button, &LbButton::menuAboutToOpen);
        app.boxes().clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(app.boxes().texts(),
                 QStringList{QStringLiteral("对不起,你没有设计报表的权限,请您联系-系统管理员")});
        QCOMPARE(app.boxes().captions(), QStringList{QStringLiteral("操作提示")});
        QCOMPARE(opened.count(), 0);
        QCOMPARE(button->dropDownMenu()->actions().size(), 2);
    }
}

void SalesListTest::headerSettingsOpenCompanyDialog() {
    AppFixture app;
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    bool shown = false;
    testing::whenModal("Tfrm_reprot", [&shown](QWidget* dialog) {
        shown = true;
        static_cast<QDialog*>(dialog)->reject();
    });
    get<QAction>(screen, "N3")->trigger();
    QVERIFY(shown);

    // Report design, with its advice first.
    bool designed = false;
    testing::whenModal("report::ReportDesigner", [&designed](QWidget* dialog) {
        designed = true;
        static_cast<QDialog*>(dialog)->reject();
    });
    sales::copyLayoutFile(app, QStringLiteral("sell_report.frf"));
    app.boxes().clear();
    get<QAction>(screen, "MenuItem1")->trigger();
    QVERIFY(designed);
    QCOMPARE(app.boxes().texts(),
             QStringList{QStringLiteral("建议您在设计报表前先备份一份报表文件!\n"
                                        "备份方法:将本软件安装目录下面扩展名为[.frf]文件 "
                                        "复制一份起来即可!")});
}

void SalesListTest::exportLogsWithCode() {
    AppFixture app;
    sales::addPurchase(app, {});
    sales::addSale(app, {});
    Tfrm_xsch* screen = sales::openScreen(app);
    QVERIFY(screen);
    get<QLineEdit>(screen, "Edit1")->setText(QStringLiteral("A1"));
    const QString file = app.home() + QStringLiteral("/sales.csv");
    FileDialog::setNextAnswer(file, 3);
    app.boxes().clear();
    click(screen, "LbButton7");
    QCOMPARE(FileDialog::lastRequest().presetName, QString());
    QVERIFY(QFile::exists(file));
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("导出成功!")});
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='工号为：888导出表格数据成功!导出的模块为--"
                                      "销售进货/退货''A1''' and 性质='重要'")),
             1);
}

void SalesListTest::returnExportProposesItsName() {
    AppFixture app;
    sales::addSale(app, {.kind = QStringLiteral("销售退库")});
    Tfrm_xsch* screen = sales::openScreen(app, QStringLiteral("销售退货"));
    QVERIFY(screen);
    QCOMPARE(get<QLabel>(screen, "Panel4_title")->text(), QStringLiteral("销售退货记录查询窗"));
    QCOMPARE(get<QLabel>(screen, "DBComboBoxEh16_label")->text(), QStringLiteral(" 退货人"));
    FileDialog::setNextCancel();
    app.boxes().clear();
    click(screen, "LbButton7");
    QCOMPARE(FileDialog::lastRequest().presetName, QStringLiteral("销售退货表"));
    QCOMPARE(app.boxes().count(), 0);
    QCOMPARE(app.count(QStringLiteral("tab_rz"), QStringLiteral("操作内容 like '%导出%'")), 0);
}

QTEST_MAIN(SalesListTest)
#include "sales_list_test.moc"
