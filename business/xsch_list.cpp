// The list side of the sales screens: all records, the query panel, printing the flagged lines
// through the report layouts, report design and export.

#include "admin/company_info_frm.h"
#include "business/period_query_panel.h"
#include "business/report_printing.h"
#include "business/xsch_frm.h"
#include "db/Public_DM.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/lb_button.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace {

// The lines a print flagged, for the report and the designer.
const QString kFlaggedLinesSql =
    QStringLiteral("select * from Tab_xsch where 打印标志=1 order by 编号,客户 desc ");

} // namespace

void Tfrm_xsch::buildMenus() {
    m_printMenu = new QMenu(this);
    m_printMenu->setObjectName(QStringLiteral("PopupMenu1"));
    N1 = m_printMenu->addAction(QStringLiteral("打印日/周/年销售报表"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = m_printMenu->addAction(QStringLiteral("打印销售单据(先过滤客户再打印)"));
    N2->setObjectName(QStringLiteral("N2"));
    m_printMenu->addSeparator();
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
    MenuItem2 = m_designMenu->addAction(QStringLiteral("设置销售单据报表"));
    MenuItem2->setObjectName(QStringLiteral("MenuItem2"));
    connect(MenuItem1, &QAction::triggered, this, [this] { MenuItem1Click(); });
    connect(MenuItem2, &QAction::triggered, this, [this] { MenuItem2Click(); });
    KlLbButton11->setDropDownMenu(m_designMenu);
}

bool Tfrm_xsch::LbButton4Click() {
    StartQueryTiming();
    Panel4->hide();
    const int rows = Dbgrid_Ado.open(ListSelect() + db::quoted(LineType()) + SalesOwnerFilter +
                                     QStringLiteral(" order by 编号 desc "));
    ReportQueryTiming(rows);
    return true;
}

bool Tfrm_xsch::LbButton6Click() {
    const bool wasVisible = Panel4->isVisible();
    Panel4->toggle();
    if (!wasVisible) {
        Panel4->adjustSize();
        Panel4->move(DBGridEh1->geometry().topLeft() + QPoint(24, 24));
        Panel4->raise();
    }
    return true;
}

void Tfrm_xsch::LbButton8Click() {
    Panel4->hide();
}

void Tfrm_xsch::LbButton9Click() {
    try {
        StartQueryTiming();
        const QString filter =
            PeriodQueryPanel::likeFilter(QStringLiteral("商品大类"), Panel4->categoryBox) +
            PeriodQueryPanel::likeFilter(QStringLiteral("商品名称"), Panel4->nameBox) +
            PeriodQueryPanel::likeFilter(QStringLiteral("规格"), Panel4->specBox) +
            PeriodQueryPanel::likeFilter(QStringLiteral("商品编码"), Panel4->codeBox) +
            PeriodQueryPanel::likeFilter(QStringLiteral("客户"), Panel4->partnerBox) +
            PeriodQueryPanel::likeFilter(QStringLiteral("出货人"), Panel4->ownerBox) +
            SalesOwnerFilter + QStringLiteral(" order by 编号 desc ");
        const int rows =
            Dbgrid_Ado.open(ListSelect() + db::quoted(LineType()) +
                            Panel4->periodCondition(QStringLiteral("出货日期")) + filter);
        ReportQueryTiming(rows);
        Panel4->hide();
    } catch (const db::SqlError&) {
        Dbgrid_Ado.close();
        ShowInformation(QStringLiteral("查询资料格式输入有误!比如年月份只能输入[数字]请检查!"),
                        this);
    }
}

QString Tfrm_xsch::PeriodReportFile() const {
    return LineType() == QStringLiteral("销售退库") ? QStringLiteral("return_report.frf")
                                                    : QStringLiteral("sell_report.frf");
}

QString Tfrm_xsch::DocumentReportFile() const {
    return LineType() == QStringLiteral("销售退库") ? QStringLiteral("return_printreport.frf")
                                                    : QStringLiteral("printreport.frf");
}

void Tfrm_xsch::PrintWith(const QString& layoutFile) {
    try {
        PrintSelectedLines(this, QStringLiteral("Tab_xsch"), *DBGridEh1, Dbgrid_Ado.sql(),
                           kFlaggedLinesSql, layoutFile, Append_Ado);
    } catch (const db::SqlError&) {
        // A failed print ends silently; flags already written stay.
    }
}

void Tfrm_xsch::N1Click() {
    PrintWith(PeriodReportFile());
}

void Tfrm_xsch::N2Click() {
    PrintWith(DocumentReportFile());
}

void Tfrm_xsch::N3Click() {
    Tfrm_reprot dialog(this);
    dialog.exec();
}

void Tfrm_xsch::MenuItem1Click() {
    DesignReport(this, PeriodReportFile(), kFlaggedLinesSql, Append_Ado);
}

void Tfrm_xsch::MenuItem2Click() {
    DesignReport(this, DocumentReportFile(), kFlaggedLinesSql, Append_Ado);
}

bool Tfrm_xsch::LbButton7Click() {
    if (!TMb_Public_Unit::LbButton7Click())
        return false;
    AddOperationLog(CurComputer, CurUserName, CurUserNo,
                    QStringLiteral("工号为：") + CurUserNo.trimmed() +
                        QStringLiteral("导出表格数据成功!导出的模块为--销售进货/退货") +
                        db::quoted(Edit1->text().trimmed()),
                    QStringLiteral("重要"), TDM_Public::instance()->ADOQuery1());
    return true;
}
