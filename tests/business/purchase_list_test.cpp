// Lists, the query panel, sorting, printing and export of the purchase screens.

#include "business/Cgjh_frm.h"
#include "business/period_query_panel.h"
#include "platform/grid/data_grid.h"
#include "platform/report/report_preview.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/lb_button.h"
#include "shell/main_frm.h"
#include "tests/business/support/purchase_support.h"
#include "tests/support/app_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

using testing::AppFixture;
using testing::PurchaseLine;

namespace {

QComboBox* box(QWidget* screen, const char* name) {
    return screen->findChild<QComboBox*>(QLatin1String(name));
}

DataGrid* gridOf(QWidget* screen) {
    return screen->findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
}

LbButton* button(QWidget* screen, const char* name) {
    return screen->findChild<LbButton*>(QLatin1String(name));
}

PeriodQueryPanel* panelOf(QWidget* screen) {
    return screen->findChild<PeriodQueryPanel*>(QStringLiteral("Panel3"));
}

// Lines on a few dates of 2007 and 2008 and one of the other kind.
void insertDatedLines(AppFixture& app) {
    insertPurchaseLine(app, PurchaseLine{.number = "1", .date = QDate(2007, 1, 1)});
    insertPurchaseLine(app, PurchaseLine{.number = "2", .date = QDate(2007, 3, 10)});
    insertPurchaseLine(app, PurchaseLine{.number = "3", .date = QDate(2007, 3, 20)});
    insertPurchaseLine(app, PurchaseLine{.number = "4", .date = QDate(2007, 12, 31)});
    insertPurchaseLine(app, PurchaseLine{.number = "5", .date = QDate(2008, 3, 15)});
    insertPurchaseLine(app,
                       PurchaseLine{.number = "6", .date = QDate(2007, 3, 15), .kind = "采购退货"});
}

} // namespace

class PurchaseListTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void allRecordsAndFooter();
    void ownerFilterForOrdinaryUser();
    void periodControls_data();
    void periodControls();
    void queryByPeriod_data();
    void queryByPeriod();
    void lettersInYearShowFormatMessage();
    void queryFiltersAndPanelCascade();
    void titleClicksSort();
    void printFlags_data();
    void printFlags();
    void printEmptyListOpensNothing();
    void designMenuAndCompanyDialog();
    void exportWritesFileAndLog();
    void cancelledExportWritesNoLog();
};

void PurchaseListTest::allRecordsAndFooter() {
    AppFixture app;
    insertDatedLines(app);
    insertPurchaseLine(app, PurchaseLine{.number = "7", .quantity = 0.5, .total = 1.25});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    DataGrid* grid = gridOf(screen);
    QCOMPARE(grid->rowCount(), 1); // today's line
    button(screen, "LbButton4")->click();
    QCOMPARE(testing::gridColumn(grid, QStringLiteral("编号")),
             (QStringList{"7", "5", "4", "3", "2", "1"}));
    QVERIFY(app.mainWindow()->statusPanelText(0).endsWith(QStringLiteral("共查询到 6 条记录")));
    QCOMPARE(grid->footerText(QStringLiteral("商品大类")), QStringLiteral("合计："));
    QCOMPARE(grid->footerValue(QStringLiteral("进货数量")).toDouble(), 20.5);
    QCOMPARE(grid->footerValue(QStringLiteral("合计")).toDouble(), 51.25);
}

void PurchaseListTest::ownerFilterForOrdinaryUser() {
    AppFixture app;
    app.addUser(QStringLiteral("0007"), QStringLiteral("小王"), QString(),
                {QStringLiteral("采购进货")});
    insertPurchaseLine(app, PurchaseLine{.number = "1", .owner = "0007(小王)"});
    insertPurchaseLine(app, PurchaseLine{.number = "2"});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app, "采购进货", "0007");
    QVERIFY(screen);
    DataGrid* grid = gridOf(screen);
    QCOMPARE(testing::gridColumn(grid, QStringLiteral("编号")), QStringList{"1"});
    button(screen, "LbButton4")->click();
    QCOMPARE(testing::gridColumn(grid, QStringLiteral("编号")), QStringList{"1"});
    button(screen, "LbButton6")->click();
    button(panelOf(screen), "LbButton9")->click();
    QCOMPARE(testing::gridColumn(grid, QStringLiteral("编号")), QStringList{"1"});
}

void PurchaseListTest::periodControls_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("shown"); // y: year, m: month, 1: dt1, 2: dt2, c: 请选择
    QTest::newRow("year") << "rb1"
                          << "cy";
    QTest::newRow("month") << "rb2"
                           << "cym";
    QTest::newRow("day") << "rb3"
                         << "c1";
    QTest::newRow("range") << "rb4"
                           << "c12";
    QTest::newRow("all time") << "rb5"
                              << "";
}

void PurchaseListTest::periodControls() {
    QFETCH(QString, radio);
    QFETCH(QString, shown);
    AppFixture app;
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    PeriodQueryPanel* panel = panelOf(screen);
    QVERIFY(!panel->isVisible());
    button(screen, "LbButton6")->click();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->cbyear->currentText(), QDate::currentDate().toString(QStringLiteral("yyyy")));
    QCOMPARE(panel->cbmos->currentText(), QDate::currentDate().toString(QStringLiteral("MM")));
    QVERIFY(panel->rb5->isChecked());
    panel->findChild<QRadioButton*>(radio)->click();
    auto labelShown = [panel](const QString& text) {
        for (QLabel* label : panel->findChildren<QLabel*>())
            if (label->text() == text)
                return label->isVisible();
        return false;
    };
    QCOMPARE(labelShown(QStringLiteral("请选择(必填)")), shown.contains('c'));
    QCOMPARE(panel->cbyear->isVisible(), shown.contains('y'));
    QCOMPARE(labelShown(QStringLiteral("年")), shown.contains('m'));
    QCOMPARE(panel->cbmos->isVisible(), shown.contains('m'));
    QCOMPARE(labelShown(QStringLiteral("月")), shown.contains('m'));
    QCOMPARE(panel->dt1->isVisible(), shown.contains('1'));
    QCOMPARE(panel->dt2->isVisible(), shown.contains('2'));
    QCOMPARE(labelShown(QStringLiteral("从")), shown.contains('2'));
    QCOMPARE(labelShown(QStringLiteral("到")), shown.contains('2'));
    if (radio == QLatin1String("rb3"))
        QCOMPARE(panel->dt1->date(), QDate::currentDate());
    if (radio == QLatin1String("rb4"))
        QCOMPARE(panel->dt1->date(), QDate::currentDate().addDays(-30));
    // 查 询 again hides the panel, as does 关闭.
    button(screen, "LbButton6")->click();
    QVERIFY(!panel->isVisible());
    button(screen, "LbButton6")->click();
    button(panel, "LbButton8")->click();
    QVERIFY(!panel->isVisible());
}

void PurchaseListTest::queryByPeriod_data() {
    QTest::addColumn<QString>("radio");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("year 2007") << "rb1"
                               << "2007"
                               << "" << QDate() << QDate() << QStringList{"4", "3", "2", "1"};
    QTest::newRow("month 03 of 2007") << "rb2"
                                      << "2007"
                                      << "03" << QDate() << QDate() << QStringList{"3", "2"};
    QTest::newRow("month 3 of 2008") << "rb2"
                                     << "2008"
                                     << "3" << QDate() << QDate() << QStringList{"5"};
    QTest::newRow("day") << "rb3"
                         << ""
                         << "" << QDate(2007, 3, 10) << QDate() << QStringList{"2"};
    QTest::newRow("range, both ends")
        << "rb4"
        << ""
        << "" << QDate(2007, 3, 10) << QDate(2007, 12, 31) << QStringList{"4", "3", "2"};
    QTest::newRow("all time") << "rb5"
                              << ""
                              << "" << QDate() << QDate() << QStringList{"5", "4", "3", "2", "1"};
}

void PurchaseListTest::queryByPeriod() {
    QFETCH(QString, radio);
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, numbers);
    AppFixture app;
    insertDatedLines(app);
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    PeriodQueryPanel* panel = panelOf(screen);
    button(screen, "LbButton6")->click();
    panel->findChild<QRadioButton*>(radio)->click();
    if (!year.isEmpty())
        panel->cbyear->setEditText(year);
    if (!month.isEmpty())
        panel->cbmos->setEditText(month);
    if (from.isValid())
        panel->dt1->setDate(from);
    if (to.isValid())
        panel->dt2->setDate(to);
    app.boxes().clear();
    button(panel, "LbButton9")->click();
    QCOMPARE(app.boxes().count(), 0);
    QCOMPARE(testing::gridColumn(gridOf(screen), QStringLiteral("编号")), numbers);
    QVERIFY(!panel->isVisible());
    QVERIFY(app.mainWindow()->statusPanelText(0).endsWith(
        QStringLiteral("共查询到 %1 条记录").arg(numbers.size())));
}

void PurchaseListTest::lettersInYearShowFormatMessage() {
    AppFixture app;
    insertDatedLines(app);
    insertPurchaseLine(app, PurchaseLine{.number = "9"});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    QCOMPARE(gridOf(screen)->rowCount(), 1);
    const QString status = app.mainWindow()->statusPanelText(0);
    PeriodQueryPanel* panel = panelOf(screen);
    for (const char* radio : {"rb1", "rb2"}) {
        button(screen, "LbButton6")->click();
        QVERIFY(panel->isVisible());
        panel->findChild<QRadioButton*>(QLatin1String(radio))->click();
        panel->cbyear->setEditText(QStringLiteral("abcd"));
        app.boxes().clear();
        button(panel, "LbButton9")->click();
        QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral(
                                          "查询资料格式输入有误!比如年月份只能输入[数字]请检查!")});
        QCOMPARE(gridOf(screen)->rowCount(), 0);
        QVERIFY(panel->isVisible());
        QCOMPARE(app.mainWindow()->statusPanelText(0), status);
        button(panel, "LbButton8")->click();
    }
}

void PurchaseListTest::queryFiltersAndPanelCascade() {
    AppFixture app;
    app.exec(QStringLiteral("insert into Tab_khgl(客户简称,类型)values('乙厂','供商资料')"));
    insertPurchaseLine(app,
                       PurchaseLine{.number = "1", .name = "饼干", .spec = "大", .code = "C1"});
    insertPurchaseLine(
        app, PurchaseLine{
                 .number = "2", .name = "饼干", .spec = "小", .code = "C2", .supplier = "乙厂"});
    insertPurchaseLine(app,
                       PurchaseLine{.number = "3", .name = "面包", .spec = "大", .code = "B1"});
    insertPurchaseLine(app, PurchaseLine{.number = "4",
                                         .category = "酒类",
                                         .name = "啤酒",
                                         .spec = "",
                                         .code = "J1",
                                         .owner = "0001(张三)"});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    PeriodQueryPanel* panel = panelOf(screen);
    QCOMPARE(box(screen, "DBComboBoxEh11")->count(), 1);
    button(screen, "LbButton6")->click();

    // A category fills name, specification and code with their first entries.
    box(screen, "DBComboBoxEh7")->setCurrentText(QStringLiteral("食品类"));
    QCOMPARE(box(screen, "DBComboBoxEh8")->currentText(), QStringLiteral("面包"));
    QCOMPARE(box(screen, "DBComboBoxEh9")->currentText(), QStringLiteral("大"));
    QCOMPARE(box(screen, "DBComboBoxEh10")->currentText(), QStringLiteral("B1"));
    button(panel, "LbButton9")->click();
    QCOMPARE(testing::gridColumn(gridOf(screen), QStringLiteral("编号")), QStringList{"3"});

    // Cleared boxes query the whole category; parts of texts match.
    button(screen, "LbButton6")->click();
    for (const char* name : {"DBComboBoxEh8", "DBComboBoxEh9", "DBComboBoxEh10"})
        box(screen, name)->setEditText(QString());
    button(panel, "LbButton9")->click();
    QCOMPARE(testing::gridColumn(gridOf(screen), QStringLiteral("编号")),
             (QStringList{"3", "2", "1"}));

    button(screen, "LbButton6")->click();
    box(screen, "DBComboBoxEh7")->setEditText(QString());
    box(screen, "DBComboBoxEh11")->setEditText(QStringLiteral("乙"));
    button(panel, "LbButton9")->click();
    QCOMPARE(testing::gridColumn(gridOf(screen), QStringLiteral("编号")), QStringList{"2"});

    button(screen, "LbButton6")->click();
    box(screen, "DBComboBoxEh11")->setEditText(QString());
    box(screen, "DBComboBoxEh12")->setEditText(QStringLiteral("0001(张三)"));
    button(panel, "LbButton9")->click();
    QCOMPARE(testing::gridColumn(gridOf(screen), QStringLiteral("编号")), QStringList{"4"});
}

void PurchaseListTest::titleClicksSort() {
    AppFixture app;
    insertPurchaseLine(app, PurchaseLine{.number = "1", .quantity = 10});
    insertPurchaseLine(app, PurchaseLine{.number = "2", .quantity = 2});
    insertPurchaseLine(app, PurchaseLine{.number = "3", .quantity = 30});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    DataGrid* grid = gridOf(screen);
    const QString field = QStringLiteral("进货数量");
    QCOMPARE(grid->sortMarker(field), SortMarker::None);
    struct Step {
        QStringList numbers;
        SortMarker marker;
    };
    // Numbers sort as numbers: descending first, then ascending, then descending again.
    const QList<Step> steps = {{{"3", "1", "2"}, SortMarker::Down},
                               {{"2", "1", "3"}, SortMarker::Up},
                               {{"3", "1", "2"}, SortMarker::Down}};
    QHeaderView* header = grid->horizontalHeader();
    const int column = grid->columnOf(field);
    for (const Step& step : steps) {
        const QPoint point(header->sectionViewportPosition(column) +
                               header->sectionSize(column) / 2,
                           header->height() - 4);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, point);
        QCOMPARE(testing::gridColumn(grid, QStringLiteral("编号")), step.numbers);
        QCOMPARE(grid->sortMarker(field), step.marker);
    }
    // Another title takes the marker away.
    const int other = grid->columnOf(QStringLiteral("商品编码"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(other) + 5, header->height() - 4));
    QCOMPARE(grid->sortMarker(field), SortMarker::None);
}

void PurchaseListTest::printFlags_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QString>("title");
    QTest::newRow("three selected, period report")
        << "采购进货"
        << "N1" << QList<int>{0, 2, 3} << "报表预览 - 进货报表";
    QTest::newRow("none selected, document") << "采购进货"
                                             << "N2" << QList<int>{} << "报表预览 - 进货单";
    QTest::newRow("return period report") << "采购退货"
                                          << "N1" << QList<int>{1} << "报表预览 - 采购退货报表";
    QTest::newRow("return document") << "采购退货"
                                     << "N2" << QList<int>{} << "报表预览 - 采购退货单";
}

void PurchaseListTest::printFlags() {
    QFETCH(QString, command);
    QFETCH(QString, item);
    QFETCH(QList<int>, selected);
    QFETCH(QString, title);
    AppFixture app;
    for (const char* file :
         {"inputreport.frf", "cgjh_report.frf", "return_inputreport.frf", "return_cgjh_report.frf"})
        testing::copyLayout(app, QString::fromUtf8(file));
    const bool stockIn = command == QStringLiteral("采购进货");
    const QString kind = stockIn ? QStringLiteral("采购入库") : QStringLiteral("采购退货");
    const QString other = stockIn ? QStringLiteral("采购退货") : QStringLiteral("采购入库");
    for (int i = 1; i <= 4; ++i)
        insertPurchaseLine(app, PurchaseLine{.number = QString::number(i),
                                             .code = QStringLiteral("码%1").arg(i),
                                             .kind = kind});
    // A flag left by an earlier print, on a line of the other kind, is cleared too.
    insertPurchaseLine(app,
                       PurchaseLine{.number = "9", .code = "码9", .kind = other, .printFlag = 1});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app, command);
    DataGrid* grid = gridOf(screen);
    QCOMPARE(grid->rowCount(), 4);
    QStringList expected;
    for (int row : selected) {
        grid->setRowSelected(row, true);
        expected << grid->value(row, QStringLiteral("编号")).toString();
    }
    QString shownTitle;
    QString printed;
    testing::whenModal("report::ReportPreview", [&](QWidget* preview) {
        shownTitle = preview->windowTitle();
        for (const auto& page : static_cast<report::ReportPreview*>(preview)->rendered().pages)
            printed += page.text();
        preview->close();
    });
    app.boxes().clear();
    screen->findChild<QAction*>(item)->trigger();
    QCOMPARE(shownTitle, title);
    QCOMPARE(app.boxes().count(), 0);
    // Exactly the selected lines are flagged, in the whole table; none selected prints the list.
    expected.sort();
    QStringList flagged;
    for (const QVariantMap& row :
         app.rows(QStringLiteral("select 编号 from Tab_Cgjh where 打印标志=1 order by 编号")))
        flagged << row.value(QStringLiteral("编号")).toString();
    QCOMPARE(flagged, expected);
    for (int i = 1; i <= 4; ++i) {
        const bool wanted = selected.isEmpty() || expected.contains(QString::number(i));
        QCOMPARE(printed.contains(QStringLiteral("码%1").arg(i)), wanted);
    }
    QVERIFY(!printed.contains(QStringLiteral("码9")));
}

void PurchaseListTest::printEmptyListOpensNothing() {
    AppFixture app;
    testing::copyLayout(app, QStringLiteral("inputreport.frf"));
    insertPurchaseLine(app, PurchaseLine{.number = "1", .date = QDate(2001, 1, 1), .printFlag = 1});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    QCOMPARE(gridOf(screen)->rowCount(), 0);
    bool opened = false;
    testing::whenModal("report::ReportPreview", [&opened](QWidget* preview) {
        opened = true;
        preview->close();
    });
    app.boxes().clear();
    screen->findChild<QAction*>(QStringLiteral("N1"))->trigger();
    QTest::qWait(50);
    QVERIFY(!opened);
    QCOMPARE(app.boxes().count(), 0);
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh"), QStringLiteral("打印标志=1")), 0);
}

void PurchaseListTest::designMenuAndCompanyDialog() {
    AppFixture app;
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    LbButton* design = button(screen, "KlLbButton11");
    QCOMPARE(design->dropDownMenu()->actions().size(), 2);
    QCOMPARE(design->dropDownMenu()->actions()[0]->text(), QStringLiteral("设置日/月/周报表"));
    QCOMPARE(design->dropDownMenu()->actions()[1]->text(), QStringLiteral("设置进货单据报表"));
    QCOMPARE(button(screen, "LbButton5")->dropDownMenu()->actions().size(), 3);
    bool menuOpened = false;
    connect(design, &LbButton::menuAboutToOpen, this, [&menuOpened] { menuOpened = true; });
    design->click();
    QVERIFY(menuOpened);
    design->dropDownMenu()->hide();

    // The designer opens after the advice to keep a copy.
    bool designerShown = false;
    testing::whenModal("report::ReportDesigner", [&designerShown](QWidget* designer) {
        designerShown = true;
        designer->close();
    });
    app.boxes().clear();
    screen->findChild<QAction*>(QStringLiteral("MenuItem1"))->trigger();
    QCOMPARE(app.boxes().texts(),
             QStringList{QStringLiteral(
                 "建议您在设计报表前先备份一份报表文件!\n"
                 "备份方法:将本软件安装目录下面扩展名为[.frf]文件 复制一份起来即可!")});
    QVERIFY(designerShown);

    bool companyShown = false;
    testing::whenModal("Tfrm_reprot", [&companyShown](QWidget* dialog) {
        companyShown = true;
        static_cast<QDialog*>(dialog)->reject();
    });
    screen->findChild<QAction*>(QStringLiteral("N3"))->trigger();
    QVERIFY(companyShown);
}

void PurchaseListTest::exportWritesFileAndLog() {
    AppFixture app;
    insertPurchaseLine(app, PurchaseLine{.number = "1", .code = "P1"});
    insertPurchaseLine(app, PurchaseLine{.number = "2", .code = "P2"});
    for (const char* command : {"采购进货", "采购退货"}) {
        TFrm_Cgjh* screen = testing::openPurchaseScreen(app, command);
        box(screen, "DBComboBoxEh4")->setEditText(QStringLiteral(" X'1 "));
        const QString file = app.home() + QStringLiteral("/out.csv");
        QFile::remove(file);
        FileDialog::setNextAnswer(file, 3);
        app.boxes().clear();
        button(screen, "LbButton7")->click();
        QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("导出成功!")});
        QVERIFY(QFile::exists(file));
        QCOMPARE(FileDialog::lastRequest().presetName,
                 command == QStringLiteral("采购进货") ? QString() : QStringLiteral("采购退货表"));
        screen->parentWidget()->close();
    }
    QCOMPARE(app.count(QStringLiteral("tab_rz"),
                       QStringLiteral("操作内容='工号为：888导出表格数据成功!导出的模块为--"
                                      "采购进货/退货''X''''1''' and 性质='重要'")),
             2);
}

void PurchaseListTest::cancelledExportWritesNoLog() {
    AppFixture app;
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    FileDialog::setNextCancel();
    app.boxes().clear();
    button(screen, "LbButton7")->click();
    QCOMPARE(app.boxes().count(), 0);
    QCOMPARE(app.count(QStringLiteral("tab_rz"), QStringLiteral("操作内容 like '%导出%'")), 0);
}

QTEST_MAIN(PurchaseListTest)
#include "purchase_list_test.moc"
