#include "tests/screenshots/sample_data.h"

#include "business/Cgjh_frm.h"
#include "business/Khgl_frm.h"
#include "business/xsch_frm.h"
#include "db/query.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "platform/sys/program_folder.h"
#include "platform/widgets/number_edit.h"
#include "shell/main_frm.h"
#include "tests/support/app_fixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace screenshots {

namespace {

// A week of purchasing and two returns, with the suppliers they came from.
void insertPurchaseSamples() {
    db::Query query;
    for (const char* supplier : {"杭州副食批发部", "宁波酒业", "绍兴粮油公司"})
        query.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型,通讯地址)values(") +
                   db::quoted(QString::fromUtf8(supplier)) + QStringLiteral(",'供商资料','杭州')"));
    struct Line {
        int daysAgo;
        const char *category, *name, *spec, *code;
        double price, quantity;
        const char *supplier, *kind, *remark;
    };
    const Line lines[] = {
        {0, "食品类", "苏打饼干", "400g 原味", "SP0001", 6.5, 40, "杭州副食批发部", "采购入库", ""},
        {0, "酒类", "黄酒", "500ml 五年陈", "JL0012", 18.8, 24, "宁波酒业", "采购入库", "整箱"},
        {0, "副食类", "菜籽油", "5L 压榨", "FS0103", 62, 10, "绍兴粮油公司", "采购入库", ""},
        {0, "零食类", "牛肉干", "100g 五香", "LS0020", 12.35, 50, "杭州副食批发部", "采购入库", ""},
        {1, "食品类", "挂面", "1kg 鸡蛋", "SP0007", 5.2, 60, "绍兴粮油公司", "采购入库", ""},
        {1, "烟类", "香烟", "条装 软包", "YL0002", 185, 5, "杭州副食批发部", "采购入库", ""},
        {2, "酒类", "啤酒", "330ml 罐装", "JL0003", 2.6, 120, "宁波酒业", "采购入库", "促销"},
        {3, "零食类", "瓜子", "250g 焦糖", "LS0008", 7.9, 36, "杭州副食批发部", "采购入库", ""},
        {4, "副食类", "酱油", "500ml 生抽", "FS0021", 8.4, 48, "绍兴粮油公司", "采购入库", ""},
        {0, "酒类", "黄酒", "500ml 五年陈", "JL0012", 18.8, 2, "宁波酒业", "采购退货", "破损"},
        {2, "零食类", "瓜子", "250g 焦糖", "LS0008", 7.9, 6, "杭州副食批发部", "采购退货", "受潮"},
    };
    int number = 0;
    for (const Line& line : lines) {
        const QDate date = QDate::currentDate().addDays(-line.daysAgo);
        auto q = [](const char* text) { return db::quoted(QString::fromUtf8(text)); };
        auto n = [](double value) { return db::quoted(QString::number(value, 'g', 15)); };
        query.exec(
            QStringLiteral("insert into Tab_Cgjh(编号,商品大类,商品名称,规格,商品编码,进货单价,"
                           "进货数量,合计,进货日期,供货商,进货人,备注,类型,打印标志)values(") +
            db::quoted(date.toString(QStringLiteral("yyyyMMdd")) +
                       QStringLiteral("%1").arg(++number, 7, 10, QLatin1Char('0'))) +
            QLatin1Char(',') + q(line.category) + QLatin1Char(',') + q(line.name) +
            QLatin1Char(',') + q(line.spec) + QLatin1Char(',') + q(line.code) + QLatin1Char(',') +
            n(line.price) + QLatin1Char(',') + n(line.quantity) + QLatin1Char(',') +
            n(line.price * line.quantity) + QLatin1Char(',') +
            db::quoted(date.toString(Qt::ISODate)) + QLatin1Char(',') + q(line.supplier) +
            QStringLiteral(",'0001(王经理)',") + q(line.remark) + QLatin1Char(',') + q(line.kind) +
            QStringLiteral(",0)"));
    }
}

// The purchase and return screens with their lines, the query panel and the lookup panel.
void savePurchaseScreens(TFrm_Main* main, void (*save)(QWidget*, const QString&)) {
    main->runCommand(QStringLiteral("关闭所有窗口"));
    insertPurchaseSamples();
    main->runCommand(QStringLiteral("采购进货"));
    auto* screen = qobject_cast<TFrm_Cgjh*>(main->mdiArea()->activeSubWindow()->widget());
    if (!screen)
        return;
    screen->findChild<QComboBox*>(QStringLiteral("DBComboBoxEh1"))
        ->setCurrentText(QStringLiteral("酒类"));
    screen->findChild<NumberEdit*>(QStringLiteral("sldb"))->setText(QStringLiteral("12"));
    save(main, QStringLiteral("20_purchase_entry"));
    screen->LbButton6Click();
    save(main, QStringLiteral("21_purchase_query_panel"));
    screen->LbButton8Click();
    screen->LbButton4Click();
    screen->findChild<DataGrid*>(QStringLiteral("DBGridEh1"))->setRowSelected(1, true);
    screen->SpeedButton1Click();
    screen->findChild<QLineEdit*>(QStringLiteral("mmEdit1"))->setText(QStringLiteral("SP0001"));
    save(main, QStringLiteral("22_purchase_all_records_lookup"));
    screen->BitBtn2Click();

    main->runCommand(QStringLiteral("采购退货"));
    auto* returns = qobject_cast<TFrm_Cgjh*>(main->mdiArea()->activeSubWindow()->widget());
    if (!returns)
        return;
    returns->LbButton4Click();
    save(main, QStringLiteral("23_purchase_return"));
    main->runCommand(QStringLiteral("关闭所有窗口"));
}

// Customers and two days of sales, some paid in part, and one return.
void insertSalesSamples() {
    db::Query query;
    const char* customers[][2] = {{"联华超市", "杭州市拱墅区湖墅南路 12 号"},
                                  {"好又多便利店", "杭州市西湖区文二路 5 号"},
                                  {"城西副食店", "杭州市西湖区古墩路 210 号"}};
    for (const auto& customer : customers)
        query.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型,通讯地址)values(") +
                   db::quoted(QString::fromUtf8(customer[0])) + QStringLiteral(",'客户资料',") +
                   db::quoted(QString::fromUtf8(customer[1])) + QLatin1Char(')'));
    struct Line {
        int daysAgo;
        const char *category, *name, *spec, *code;
        double price, quantity, paid;
        const char *customer, *kind, *remark;
    };
    const Line lines[] = {
        {0, "食品类", "苏打饼干", "400g 原味", "SP0001", 8.5, 12, 102, "联华超市", "销售出库", ""},
        {0, "酒类", "黄酒", "500ml 五年陈", "JL0012", 26, 6, 100, "好又多便利店", "销售出库",
         "月底结清"},
        {0, "副食类", "菜籽油", "5L 压榨", "FS0103", 79, 2, 158, "城西副食店", "销售出库", ""},
        {0, "零食类", "牛肉干", "100g 五香", "LS0020", 18, 10, 180, "联华超市", "销售出库", ""},
        {0, "酒类", "啤酒", "330ml 罐装", "JL0003", 3.5, 48, 150, "城西副食店", "销售出库", "整箱"},
        {1, "食品类", "挂面", "1kg 鸡蛋", "SP0007", 7.2, 20, 144, "好又多便利店", "销售出库", ""},
        {1, "烟类", "香烟", "条装 软包", "YL0002", 210, 2, 420, "联华超市", "销售出库", ""},
        {0, "零食类", "牛肉干", "100g 五香", "LS0020", 18, 2, 36, "联华超市", "销售退库", "过期"},
        {1, "酒类", "啤酒", "330ml 罐装", "JL0003", 3.5, 6, 21, "城西副食店", "销售退库", "漏气"},
    };
    int number = 0;
    for (const Line& line : lines) {
        const QDate date = QDate::currentDate().addDays(-line.daysAgo);
        auto q = [](const char* text) { return db::quoted(QString::fromUtf8(text)); };
        auto n = [](double value) { return db::quoted(QString::number(value, 'g', 15)); };
        query.exec(
            QStringLiteral("insert into Tab_xsch(编号,商品大类,商品名称,规格,商品编码,出货单价,"
                           "出货数量,合计,出货日期,客户,出货人,备注,类型,欠款金额,打印标志,"
                           "客户地址电话)values(") +
            db::quoted(date.toString(QStringLiteral("yyyyMMdd")) +
                       QStringLiteral("%1").arg(++number, 7, 10, QLatin1Char('0'))) +
            QLatin1Char(',') + q(line.category) + QLatin1Char(',') + q(line.name) +
            QLatin1Char(',') + q(line.spec) + QLatin1Char(',') + q(line.code) + QLatin1Char(',') +
            n(line.price) + QLatin1Char(',') + n(line.quantity) + QLatin1Char(',') + n(line.paid) +
            QLatin1Char(',') + db::quoted(date.toString(Qt::ISODate)) + QLatin1Char(',') +
            q(line.customer) + QStringLiteral(",'0001(王经理)',") + q(line.remark) +
            QLatin1Char(',') + q(line.kind) + QLatin1Char(',') +
            n(line.price * line.quantity - line.paid) + QStringLiteral(",0,'')"));
    }
}

// The sales and return screens with their lines, the lookup panel and the query panel.
void saveSalesScreens(TFrm_Main* main, void (*save)(QWidget*, const QString&)) {
    main->runCommand(QStringLiteral("关闭所有窗口"));
    insertSalesSamples();
    main->runCommand(QStringLiteral("销售出货"));
    auto* screen = qobject_cast<Tfrm_xsch*>(main->mdiArea()->activeSubWindow()->widget());
    if (!screen)
        return;
    screen->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("JL0012"));
    screen->findChild<QComboBox*>(QStringLiteral("DBComboBoxEh5"))
        ->setCurrentText(QStringLiteral("好又多便利店"));
    screen->findChild<NumberEdit*>(QStringLiteral("sldb"))->setText(QStringLiteral("4"));
    screen->findChild<NumberEdit*>(QStringLiteral("sumdb"))->setText(QStringLiteral("80"));
    save(main, QStringLiteral("30_sales_entry"));
    screen->findChild<QAbstractButton*>(QStringLiteral("SpeedButton1"))->click();
    screen->findChild<QComboBox*>(QStringLiteral("DBComboBoxEh7"))
        ->setCurrentText(QStringLiteral("零食类"));
    save(main, QStringLiteral("31_sales_lookup_panel"));
    screen->Panel3Exit();
    screen->LbButton4Click();
    screen->LbButton6Click();
    save(main, QStringLiteral("32_sales_query_panel"));
    screen->LbButton8Click();

    main->runCommand(QStringLiteral("销售退货"));
    auto* returns = qobject_cast<Tfrm_xsch*>(main->mdiArea()->activeSubWindow()->widget());
    if (!returns)
        return;
    returns->LbButton4Click();
    save(main, QStringLiteral("33_sales_return"));
    main->runCommand(QStringLiteral("关闭所有窗口"));
}

// Contact details for the partners of the purchase and sales samples, and a few more.
void insertPartnerSamples() {
    db::Query query;
    struct Partner {
        const char *shortName, *company, *contact, *address, *mobile, *position, *sex, *fax, *qq,
            *mail, *post, *salesman, *remark, *kind;
    };
    const Partner partners[] = {
        {"联华超市", "联华超市股份有限公司杭州分公司", "陈丽", "杭州市拱墅区湖墅南路 12 号",
         "13805710001", "经理", "女", "0571-85120001", "85120001", "chenli@lianhua.cn", "310005",
         "王经理", "月结 30 天", "客户资料"},
        {"好又多便利店", "好又多商贸有限公司", "刘强", "杭州市西湖区文二路 5 号", "13905712222",
         "其它", "男", "", "66882222", "", "310012", "李销售", "", "客户资料"},
        {"城西副食店", "城西副食商店", "赵大海", "杭州市西湖区古墩路 210 号", "13606713333", "经理",
         "男", "", "", "", "310030", "李销售", "现金结算", "客户资料"},
        {"滨江茶餐厅", "滨江餐饮管理有限公司", "孙燕", "杭州市滨江区江南大道 3888 号",
         "13805714444", "职员", "女", "0571-86654444", "", "sunyan@bjcy.com", "310051", "王经理",
         "", "客户资料"},
        {"杭州副食批发部", "杭州副食品批发部", "周建国", "杭州市上城区望江路 66 号", "13957105555",
         "经理", "男", "0571-86015555", "", "zhoujg@hzfs.cn", "310008", "王经理", "", "供商资料"},
        {"宁波酒业", "宁波酒业有限公司", "吴芳", "宁波市海曙区中山西路 100 号", "13858746666",
         "职员", "女", "0574-87306666", "", "sales@nbjy.com", "315010", "王经理", "黄酒整箱起订",
         "供商资料"},
        {"绍兴粮油公司", "绍兴粮油食品有限公司", "郑伟", "绍兴市越城区解放北路 18 号",
         "13705757777", "经理", "男", "", "", "", "312000", "王经理", "", "供商资料"},
    };
    auto q = [](const char* text) { return db::quoted(QString::fromUtf8(text)); };
    for (const Partner& p : partners) {
        query.exec(QStringLiteral("delete from Tab_khgl where 客户简称=") + q(p.shortName));
        query.exec(QStringLiteral("insert into Tab_khgl(客户简称,公司名,主联系人,联系电话,通讯地址,"
                                  "手机,职务,性别,传真,住宅电话,QQMSN,网址,电子邮箱,邮编,业务员,"
                                  "备注,类型)values(") +
                   q(p.shortName) + QLatin1Char(',') + q(p.company) + QLatin1Char(',') +
                   q(p.contact) + QStringLiteral(",'',") + q(p.address) + QLatin1Char(',') +
                   q(p.mobile) + QLatin1Char(',') + q(p.position) + QLatin1Char(',') + q(p.sex) +
                   QLatin1Char(',') + q(p.fax) + QStringLiteral(",'',") + q(p.qq) +
                   QStringLiteral(",'',") + q(p.mail) + QLatin1Char(',') + q(p.post) +
                   QLatin1Char(',') + q(p.salesman) + QLatin1Char(',') + q(p.remark) +
                   QLatin1Char(',') + q(p.kind) + QLatin1Char(')'));
    }
}

// The customer screen with a partner clicked, its search, and the supplier screen.
void savePartnerScreens(TFrm_Main* main, void (*save)(QWidget*, const QString&)) {
    main->runCommand(QStringLiteral("关闭所有窗口"));
    insertPartnerSamples();
    main->runCommand(QStringLiteral("客户管理"));
    auto* customers = qobject_cast<Tfrm_Khgl*>(main->mdiArea()->activeSubWindow()->widget());
    if (!customers)
        return;
    auto* grid = customers->findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
    grid->selectRow(1);
    customers->DBGridEh1CellClick();
    save(main, QStringLiteral("35_customer_records"));
    customers->LbButton6Click();
    customers->findChild<QLineEdit*>(QStringLiteral("Edit13"))->setText(QStringLiteral("1380571"));
    customers->LbButton9Click();
    save(main, QStringLiteral("36_customer_search"));
    customers->LbButton8Click();

    main->runCommand(QStringLiteral("供货商管理"));
    auto* suppliers = qobject_cast<Tfrm_Khgl*>(main->mdiArea()->activeSubWindow()->widget());
    if (!suppliers)
        return;
    save(main, QStringLiteral("37_supplier_records"));
    main->runCommand(QStringLiteral("关闭所有窗口"));
}

// The report layouts of the build's program folder, copied into the sample program folder.
void copyLayouts() {
    QString from = qEnvironmentVariable("MERCHDESK_PROGRAM_DIR");
    if (from.isEmpty())
        from = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
    const QDir source(from);
    for (const QString& name : source.entryList({QStringLiteral("*.frf")}, QDir::Files))
        QFile::copy(source.filePath(name), sys::programFile(name));
}

// A sales document of one customer in the report preview, and the designer on its layout.
void saveReportScreens(TFrm_Main* main, void (*save)(QWidget*, const QString&)) {
    copyLayouts();
    main->runCommand(QStringLiteral("关闭所有窗口"));
    main->runCommand(QStringLiteral("销售出货"));
    auto* screen = qobject_cast<Tfrm_xsch*>(main->mdiArea()->activeSubWindow()->widget());
    if (!screen)
        return;
    screen->LbButton4Click();
    auto* grid = screen->findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
    for (int row = 0; row < grid->rowCount(); ++row)
        if (grid->value(row, QStringLiteral("客户")).toString() == QStringLiteral("好又多便利店"))
            grid->setRowSelected(row, true);
    testing::whenModal("report::ReportPreview", [save](QWidget* preview) {
        preview->resize(1100, 900);
        save(preview, QStringLiteral("40_report_preview_sales_document"));
        preview->close();
    });
    screen->N2Click();
    testing::whenModal("report::ReportDesigner", [save](QWidget* designer) {
        designer->resize(1280, 900);
        save(designer, QStringLiteral("41_report_designer"));
        static_cast<QDialog*>(designer)->reject();
    });
    screen->MenuItem2Click();
    main->runCommand(QStringLiteral("关闭所有窗口"));
}

} // namespace

void fillSampleData(testing::AppFixture& fixture) {
    fixture.addUser(QStringLiteral("0001"), QStringLiteral("王经理"), QStringLiteral("1234"),
                    testing::AppFixture::allRights());
    fixture.addUser(QStringLiteral("0002"), QStringLiteral("李销售"), QString(),
                    {QStringLiteral("销售出货"), QStringLiteral("销售退货")});
    fixture.exec(QStringLiteral("insert into tab_company_info(公司名,销售电话,传真,地址)values("
                                "'华联食品贸易有限公司','0571-88886666','0571-88886667',"
                                "'浙江省杭州市西湖区文三路 88 号')"));
}

void saveScreens(TFrm_Main* main, void (*save)(QWidget*, const QString&)) {
    savePurchaseScreens(main, save);
    saveSalesScreens(main, save);
    savePartnerScreens(main, save);
    saveReportScreens(main, save);
}

} // namespace screenshots
