// Lists, the query panel, sorting, printing and export of the purchase screens.

#include "admin/company_info_frm.h"
#include "business/Cgjh_frm.h"
#include "business/period_query_panel.h"
#include "business/report_printing.h"
#include "business/sql_values.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/lb_button.h"
#include "shell/main_frm.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QComboBox>
#include <QDate>
#include <QMenu>

namespace {

const QString kPrintedLinesSql =
    QStringLiteral("select * from tab_cgjh where 打印标志=1 order by 编号,供货商 desc ");

} // namespace

void TFrm_Cgjh::buildListPart() {
    std::vector<GridColumn> columns = {
        GridColumn(QStringLiteral("商品大类")).withFooterText(QStringLiteral("合计：")),
        GridColumn(QStringLiteral("商品名称")).withWidth(110),
        GridColumn(QStringLiteral("规格")).withWidth(110),
        GridColumn(QStringLiteral("商品编码")).withWidth(90),
        GridColumn(QStringLiteral("进货人")).withWidth(120),
        GridColumn(QStringLiteral("进货日期")).withWidth(90),
        GridColumn(QStringLiteral("进货单价")),
        GridColumn(QStringLiteral("进货数量")).withFooterSum(),
        GridColumn(QStringLiteral("合计")).withFooterSum(),
        GridColumn(QStringLiteral("供货商")).withWidth(120),
        GridColumn(QStringLiteral("备注")).withWidth(160),
        GridColumn(QStringLiteral("编号")).hidden(),
    };
    if (!IsReturnMode())
        columns.push_back(GridColumn(QStringLiteral("打印标志")).hidden());
    DBGridEh1->setColumns(columns);
    DBGridEh1->setFooterVisible(true);
    connect(DBGridEh1, &DataGrid::titleClicked, this,
            [this](const QString& field) { DBGridEh1TitleBtnClick(field); });

    PeriodQueryPanel::Names names;
    names.panel = QStringLiteral("Panel3");
    names.title = QStringLiteral("记录查询窗");
    names.category = QStringLiteral("DBComboBoxEh7");
    names.name = QStringLiteral("DBComboBoxEh8");
    names.spec = QStringLiteral("DBComboBoxEh9");
    names.code = QStringLiteral("DBComboBoxEh10");
    names.partner = QStringLiteral("DBComboBoxEh11");
    names.owner = QStringLiteral("DBComboBoxEh12");
    names.partnerLabel = QStringLiteral("供货商");
    names.ownerLabel = IsReturnMode() ? QStringLiteral("退货人") : QStringLiteral("进货人");
    Panel3 = new PeriodQueryPanel(names, this);
    Panel3->setLookupQuery(&Append_Ado);
    Panel3->setHideOnFocusLeave(true);
    Panel3->LbButton9->setClickHandler([this] { return LbButton9Click(); });
    Panel3->LbButton10->setClickHandler([this] { return LbButton4Click(); });
    Panel3->LbButton8->setClickHandler([this] { return LbButton8Click(); });

    m_printMenu = new QMenu(this);
    m_printMenu->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = m_printMenu->addAction(QStringLiteral("打印日/周/年进货报表"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = m_printMenu->addAction(QStringLiteral("打印进货单据(先过滤供货商再打印)"));
    N2->setObjectName(QStringLiteral("N2"));
    N3 = m_printMenu->addAction(QStringLiteral("报表抬头信息设置"));
    N3->setObjectName(QStringLiteral("N3"));
    connect(N1, &QAction::triggered, this, [this] { N1Click(); });
    connect(N2, &QAction::triggered, this, [this] { N2Click(); });
    connect(N3, &QAction::triggered, this, [this] { N3Click(); });
    LbButton5->setDropDownMenu(m_printMenu);

    m_designMenu = new QMenu(this);
    m_designMenu->setObjectName(QStringLiteral("PopupMenu2"));
    MenuItem1 = m_designMenu->addAction(QStringLiteral("设置日/月/周报表"));
    MenuItem1->setObjectName(QStringLiteral("MenuItem1"));
    MenuItem2 = m_designMenu->addAction(QStringLiteral("设置进货单据报表"));
    MenuItem2->setObjectName(QStringLiteral("MenuItem2"));
    connect(MenuItem1, &QAction::triggered, this, [this] { MenuItem1Click(); });
    connect(MenuItem2, &QAction::triggered, this, [this] { MenuItem2Click(); });
    KlLbButton11->setDropDownMenu(m_designMenu);
}

QString TFrm_Cgjh::ListSelect() const {
    return QStringLiteral("select 商品大类,商品名称,规格,商品编码,进货人,进货日期,进货单价,"
                          "cast(进货数量 as double precision) as 进货数量,"
                          "cast(合计 as double precision) as 合计,供货商,备注,编号,打印标志 "
                          "from Tab_Cgjh where 类型=") +
           db::quoted(LineKind());
}

QString TFrm_Cgjh::TodayListSql() const {
    return ListSelect() + QStringLiteral(" and 进货日期=") + DateSql(QDate::currentDate()) +
           PurchaseOwnerFilter + QStringLiteral(" order by 编号 desc ");
}

void TFrm_Cgjh::openTodayList() {
    StartQueryTiming();
    ReportQueryTiming(Dbgrid_Ado.open(TodayListSql()));
}

QString TFrm_Cgjh::PeriodReportFile() const {
    return IsReturnMode() ? QStringLiteral("return_inputreport.frf")
                          : QStringLiteral("inputreport.frf");
}

QString TFrm_Cgjh::DocumentReportFile() const {
    return IsReturnMode() ? QStringLiteral("return_cgjh_report.frf")
                          : QStringLiteral("cgjh_report.frf");
}

void TFrm_Cgjh::FormClose() {
    TMb_Public_Unit::FormClose();
    if (TFrm_Main* main = TFrm_Main::instance())
        main->setStatusPanelText(0, QString());
}

// ---- lists ---------------------------------------------------------------------------------

bool TFrm_Cgjh::LbButton4Click() {
    StartQueryTiming();
    Panel3->hide();
    try {
        ReportQueryTiming(Dbgrid_Ado.open(ListSelect() + PurchaseOwnerFilter +
                                          QStringLiteral(" order by 编号 desc ")));
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
        return false;
    }
    return true;
}

void TFrm_Cgjh::placeQueryPanel() {
    Panel3->adjustSize();
    const QRect grid = DBGridEh1->geometry();
    Panel3->move(grid.left() + 8, grid.top() + 4);
    Panel3->raise();
}

void TFrm_Cgjh::resizeEvent(QResizeEvent* event) {
    TMb_Public_Unit::resizeEvent(event);
    if (Panel3->isVisible())
        placeQueryPanel();
}

bool TFrm_Cgjh::LbButton6Click() {
    Panel3->toggle();
    if (Panel3->isVisible())
        placeQueryPanel();
    return true;
}

bool TFrm_Cgjh::LbButton8Click() {
    Panel3->hide();
    return true;
}

bool TFrm_Cgjh::LbButton9Click() {
    StartQueryTiming();
    QString filter;
    filter += PeriodQueryPanel::likeFilter(QStringLiteral("商品大类"), Panel3->categoryBox);
    filter += PeriodQueryPanel::likeFilter(QStringLiteral("商品名称"), Panel3->nameBox);
    filter += PeriodQueryPanel::likeFilter(QStringLiteral("规格"), Panel3->specBox);
    filter += PeriodQueryPanel::likeFilter(QStringLiteral("商品编码"), Panel3->codeBox);
    filter += PeriodQueryPanel::likeFilter(QStringLiteral("供货商"), Panel3->partnerBox);
    filter += PeriodQueryPanel::likeFilter(QStringLiteral("进货人"), Panel3->ownerBox);
    filter += PurchaseOwnerFilter + QStringLiteral(" order by 编号 desc ");
    try {
        const int rows = Dbgrid_Ado.open(
            ListSelect() + Panel3->periodCondition(QStringLiteral("进货日期")) + filter);
        ReportQueryTiming(rows);
        Panel3->hide();
    } catch (const db::SqlError&) {
        ShowInformation(QStringLiteral("查询资料格式输入有误!比如年月份只能输入[数字]请检查!"),
                        this);
        return false;
    }
    return true;
}

void TFrm_Cgjh::DBGridEh1TitleBtnClick(const QString& field) {
    DBGridEh1->sortByClickRule(field);
}

// ---- printing ------------------------------------------------------------------------------

void TFrm_Cgjh::printLines(const QString& layoutFile) {
    try {
        PrintSelectedLines(this, QStringLiteral("Tab_cgjh"), *DBGridEh1, Dbgrid_Ado.sql(),
                           kPrintedLinesSql, layoutFile, Append_Ado);
    } catch (const db::SqlError&) {
        // Printing ends silently; flags already changed stay changed.
    }
}

void TFrm_Cgjh::N1Click() {
    printLines(PeriodReportFile());
}

void TFrm_Cgjh::N2Click() {
    printLines(DocumentReportFile());
}

void TFrm_Cgjh::N3Click() {
    Tfrm_reprot dialog(this);
    dialog.exec();
}

void TFrm_Cgjh::MenuItem1Click() {
    try {
        DesignReport(this, PeriodReportFile(), kPrintedLinesSql, Append_Ado);
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
    }
}

void TFrm_Cgjh::MenuItem2Click() {
    try {
        DesignReport(this, DocumentReportFile(), kPrintedLinesSql, Append_Ado);
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
    }
}

// ---- export --------------------------------------------------------------------------------

bool TFrm_Cgjh::LbButton7Click() {
    ExportFileName = IsReturnMode() ? QStringLiteral("采购退货表") : QString();
    return ExportAndLog(QStringLiteral("采购进货/退货") +
                        db::quoted(DBComboBoxEh4->currentText().trimmed()));
}

bool TFrm_Cgjh::ExportAndLog(const QString& module) {
    if (!TMb_Public_Unit::LbButton7Click())
        return false;
    try {
        writeLog(QStringLiteral("工号为：") + CurUserNo.trimmed() +
                 QStringLiteral("导出表格数据成功!导出的模块为--") + module);
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
    }
    return true;
}
