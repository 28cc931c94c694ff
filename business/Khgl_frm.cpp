#include "business/Khgl_frm.h"

#include "business/period_query_panel.h"
#include "business/sql_values.h"
#include "db/Public_DM.h"
#include "db/dialect.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/lb_button.h"
#include "platform/widgets/number_edit.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kSupplierKind = QStringLiteral("供商资料");
const QString kCustomerKind = QStringLiteral("客户资料");

QLineEdit* makeEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMinimumWidth(120);
    return edit;
}

QString kindOf(const QString& field) {
    return field == kSupplierKind ? kSupplierKind : kCustomerKind;
}

} // namespace

Tfrm_Khgl::Tfrm_Khgl(QWidget* parent)
    : Tfrm_Khgl(QString(), parent) {}

Tfrm_Khgl::Tfrm_Khgl(const QString& partnerKind, QWidget* parent)
    : TFrm_Cgjh(QString(), Creation::None, parent) {
    setObjectName(QStringLiteral("Tfrm_Khgl"));
    PartnerKind = partnerKind;
    buildEntryPanel();
    buildQueryPanel();
    listAll();
    setWindowTitle(QStringLiteral("客户管理"));
}

Tfrm_Khgl::~Tfrm_Khgl() = default;

QString Tfrm_Khgl::ListKind() const {
    return kindOf(PartnerKind);
}

QString Tfrm_Khgl::AddKind() const {
    return kindOf(DocKind);
}

std::vector<GridColumn> Tfrm_Khgl::PartnerColumns() {
    return {
        GridColumn(QStringLiteral("客户简称")).withWidth(110),
        GridColumn(QStringLiteral("公司名")).withWidth(210),
        GridColumn(QStringLiteral("主联系人")).withWidth(80),
        GridColumn(QStringLiteral("联系电话")).withWidth(110),
        GridColumn(QStringLiteral("通讯地址")).withWidth(220),
        GridColumn(QStringLiteral("手机")).withWidth(110),
        GridColumn(QStringLiteral("职务")).withWidth(60),
        GridColumn(QStringLiteral("性别")).withWidth(50),
        GridColumn(QStringLiteral("传真")).withWidth(110),
        GridColumn(QStringLiteral("住宅电话")).withWidth(110),
        GridColumn(QStringLiteral("QQMSN")).withWidth(110),
        GridColumn(QStringLiteral("网址")).withWidth(140),
        GridColumn(QStringLiteral("电子邮箱")).withWidth(150),
        GridColumn(QStringLiteral("邮编")).withWidth(70),
        GridColumn(QStringLiteral("业务员")).withWidth(80),
        GridColumn(QStringLiteral("备注")).withWidth(180),
    };
}

void Tfrm_Khgl::buildEntryPanel() {
    for (QWidget* control :
         std::initializer_list<QWidget*>{DBComboBoxEh1, DBComboBoxEh2, DBComboBoxEh3, DBComboBoxEh4,
                                         djdb, sldb, sumdb, DBDateTimeEditEh1, DBComboBoxEh6})
        hideControl(control);
    SpeedButton1->hide();
    LbButton5->hide();
    KlLbButton11->hide();
    // The line total does nothing here: its editors are hidden and unused.
    for (NumberEdit* edit : {djdb, sldb, sumdb}) {
        disconnect(edit, &NumberEdit::valueChanged, this, nullptr);
        disconnect(edit, &NumberEdit::focusEntered, this, nullptr);
    }

    QWidget* panel = m_entryPanel;
    Edit1 = makeEdit(panel, "Edit1");
    Edit10 = makeEdit(panel, "Edit10");
    Edit2 = makeEdit(panel, "Edit2");
    ComboBox1 = new QComboBox(panel);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems({QStringLiteral("男"), QStringLiteral("女")});
    ComboBox1->setCurrentIndex(0);
    Edit3 = makeEdit(panel, "Edit3");
    Edit11 = makeEdit(panel, "Edit11");
    Edit4 = makeEdit(panel, "Edit4");
    Edit8 = makeEdit(panel, "Edit8");
    Edit12 = makeEdit(panel, "Edit12");
    Edit5 = makeEdit(panel, "Edit5");
    Edit6 = makeEdit(panel, "Edit6");
    Edit9 = makeEdit(panel, "Edit9");
    Edit7 = makeEdit(panel, "Edit7");
    dDBComboBoxEh6 = makeEdit(panel, "dDBComboBoxEh6");

    DBComboBoxEh5->clear();
    DBComboBoxEh5->addItems(
        {QStringLiteral("经理"), QStringLiteral("职员"), QStringLiteral("其它")});
    DBComboBoxEh5->setCurrentIndex(-1);

    // The reused editors move to their places in the partner layout; the template's rows
    // above hold only hidden controls and take no room.
    for (QWidget* reused : {static_cast<QWidget*>(DBComboBoxEh5), static_cast<QWidget*>(Memo1)}) {
        m_entryLayout->removeWidget(reused);
        m_entryLayout->removeWidget(labelOf(reused));
    }
    auto place = [this](QWidget* control, const QString& label, int row, int column, int span = 1) {
        QLabel* caption = labelOf(control);
        if (!caption) {
            addEntry(control, label, row, column, span);
            return;
        }
        caption->setText(label);
        m_entryLayout->addWidget(caption, row, column, Qt::AlignRight | Qt::AlignVCenter);
        m_entryLayout->addWidget(control, row, column + 1, 1, 2 * span - 1);
    };
    place(Edit1, QStringLiteral("客户简称(必填)"), 3, 0);
    place(Edit10, QStringLiteral("公司名"), 3, 2);
    place(Edit2, QStringLiteral("主联系人"), 3, 4);
    place(ComboBox1, QStringLiteral("性别"), 3, 6);
    place(Edit11, QStringLiteral("通讯地址和联系电话"), 4, 0, 2);
    place(Edit4, QStringLiteral("手机"), 4, 4);
    place(Edit8, QStringLiteral("住宅电话"), 4, 6);
    place(DBComboBoxEh5, QStringLiteral("职务"), 5, 0);
    place(Edit12, QStringLiteral("传真"), 5, 2);
    place(Edit5, QStringLiteral("QQ或MSN"), 5, 4);
    place(Edit6, QStringLiteral("网址"), 5, 6);
    place(Edit9, QStringLiteral("电子邮箱"), 6, 0);
    place(Edit7, QStringLiteral("邮编"), 6, 2);
    place(dDBComboBoxEh6, QStringLiteral("业务员"), 6, 4);
    place(Edit3, QStringLiteral("联系电话"), 6, 6);
    hideControl(Edit3);
    place(Memo1, QStringLiteral("备注"), 7, 0, 4);

    const QList<QWidget*> order = {
        Edit1,         Edit10,    Edit2,     ComboBox1, Edit11,    Edit4,     Edit8,
        DBComboBoxEh5, Edit12,    Edit5,     Edit6,     Edit9,     Edit7,     dDBComboBoxEh6,
        Memo1,         LbButton1, LbButton3, LbButton2, LbButton4, LbButton6, LbButton7};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    // Customer columns: the phone and web columns hidden, title buttons up to QQMSN.
    std::vector<GridColumn> columns = PartnerColumns();
    bool afterQq = false;
    for (GridColumn& column : columns) {
        if (afterQq)
            column.withoutTitleButton();
        if (column.field == QStringLiteral("QQMSN"))
            afterQq = true;
        if (column.field == QStringLiteral("联系电话") || column.field == QStringLiteral("网址"))
            column.hidden();
        if (column.field == QStringLiteral("通讯地址"))
            column.title = QStringLiteral("通讯地址/联系电话");
    }
    DBGridEh1->setColumns(columns);
    // The footer row of the purchase screen stays, empty.
    DBGridEh1->setFooterVisible(true);
}

void Tfrm_Khgl::buildQueryPanel() {
    Panel3->setTitle(QStringLiteral("客户资料查询窗"));
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("Panel3_search"));
    auto* explanation = new QLabel(
        QStringLiteral("说明：你可以输入客户名称，联系电话，电子邮件，QQ或MSN，客户姓名，客户公司"
                       "名，地址，备注等内容进行查询"),
        content);
    explanation->setObjectName(QStringLiteral("Panel3_explanation"));
    explanation->setWordWrap(true);
    explanation->setMinimumWidth(420);
    Edit13 = new QLineEdit(content);
    Edit13->setObjectName(QStringLiteral("Edit13"));
    Edit13->setToolTip(QStringLiteral("可以输入简称或公司名等"));
    Edit13->setMinimumWidth(240);
    auto* prompt = new QLabel(QStringLiteral("请输入查询内容："), content);
    prompt->setBuddy(Edit13);
    auto* row = new QHBoxLayout;
    row->addWidget(prompt);
    row->addWidget(Edit13, 1);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 4, 0, 4);
    layout->addWidget(explanation);
    layout->addLayout(row);
    Panel3->setFilterContent(content);
}

// ---- lists ---------------------------------------------------------------------------------

void Tfrm_Khgl::listAll() {
    StartQueryTiming();
    const int rows =
        Dbgrid_Ado.open(QStringLiteral("select * from Tab_khgl where 类型=") +
                        db::quoted(ListKind()) + QStringLiteral(" order by 客户简称 "));
    ReportQueryTiming(rows);
    Panel3->hide();
}

bool Tfrm_Khgl::LbButton4Click() {
    try {
        listAll();
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
        return false;
    }
    return true;
}

bool Tfrm_Khgl::LbButton9Click() {
    // Partners of either kind with the text in any column of the grid, hidden ones included;
    // the join keeps those of this screen's kind.
    const QString pattern = db::containsPattern(Edit13->text());
    QString inner = QStringLiteral("select * from Tab_khgl where ");
    bool first = true;
    for (const GridColumn& column : DBGridEh1->columns()) {
        if (!first)
            inner += QStringLiteral(" or ");
        inner += column.field + QStringLiteral(" like ") + pattern;
        first = false;
    }
    StartQueryTiming();
    try {
        const int rows = Dbgrid_Ado.open(
            QStringLiteral("select Tab_khgl.* from Tab_khgl,(") + inner +
            QStringLiteral(")as a where Tab_khgl.类型=") + db::quoted(ListKind()) +
            QStringLiteral(" and  Tab_khgl.客户简称=a.客户简称 order by Tab_khgl.客户简称"));
        ReportQueryTiming(rows);
    } catch (const db::SqlError&) {
        return false;
    }
    return true;
}

// ---- add, modify, delete -------------------------------------------------------------------

bool Tfrm_Khgl::LbButton1Click() {
    const QString shortName = Edit1->text().trimmed();
    if (shortName.isEmpty())
        return false;
    try {
        Append_Ado.open(QStringLiteral("select 客户简称 From tab_khgl Where 客户简称=") +
                        db::quoted(shortName));
        const bool taken = !Append_Ado.eof();
        Append_Ado.close();
        if (taken) {
            ShowInformation(QStringLiteral("对不起此简称已经存在,请选择其它的简称!"), this);
            Edit1->setFocus();
            return false;
        }
        const QString kind = AddKind();
        const QStringList values = {
            db::quoted(shortName),
            TextSql(Edit10->text()),
            TextSql(Edit2->text()),
            TextSql(Edit3->text()),
            TextSql(Edit11->text()),
            TextSql(Edit4->text()),
            TextSql(DBComboBoxEh5->currentText()),
            TextSql(ComboBox1->currentText()),
            TextSql(Edit12->text()),
            TextSql(Edit8->text()),
            TextSql(Edit5->text()),
            TextSql(Edit6->text()),
            TextSql(Edit9->text()),
            TextSql(Edit7->text()),
            TextSql(dDBComboBoxEh6->text()),
            TextSql(Memo1->toPlainText()),
            db::quoted(kind),
        };
        try {
            Append_Ado.exec(QStringLiteral("Insert Into tab_khgl(客户简称,公司名,主联系人,联系电话,"
                                           "通讯地址,手机,职务,性别,传真,住宅电话,QQMSN,网址,"
                                           "电子邮箱,邮编,业务员,备注,类型)Values(") +
                            values.join(QLatin1Char(',')) + QLatin1Char(')'));
        } catch (const db::SqlError& e) {
            // Another computer took the short name between the check and the insert.
            if (!db::dialect().isUniqueViolation(e.message()))
                throw;
            ShowInformation(QStringLiteral("对不起此简称已经存在,请选择其它的简称!"), this);
            Edit1->setFocus();
            return false;
        }
        ShowInformation(QStringLiteral("增加记录成功!"), this);
        AddOperationLog(CurComputer, CurUserName, CurUserNo,
                        QStringLiteral("工号为：") + CurUserNo.trimmed() +
                            QStringLiteral("执行--新增") + kind +
                            QStringLiteral("成功!新增的简称为：") + shortName,
                        QStringLiteral("重要"), TDM_Public::instance()->ADOQuery1());
        Dbgrid_Ado.reopen();
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
        return false;
    }
    return true;
}

bool Tfrm_Khgl::LbButton3Click() {
    try {
        const QString shortName = db::quoted(Edit1->text().trimmed());
        Append_Ado.open(QStringLiteral("select 客户简称 From Tab_khgl Where 客户简称=") +
                        shortName);
        const bool known = !Append_Ado.eof();
        Append_Ado.close();
        // A new short name, or nothing chosen in the grid: the partner is added.
        if (!known || DBGridEh1->selectedCount() == 0)
            return LbButton1Click();
        Append_Ado.exec(
            QStringLiteral("Update Tab_khgl Set 公司名=") + TextSql(Edit10->text()) +
            QStringLiteral(",主联系人=") + TextSql(Edit2->text()) + QStringLiteral(",联系电话=") +
            TextSql(Edit3->text()) + QStringLiteral(",通讯地址=") + TextSql(Edit11->text()) +
            QStringLiteral(",手机=") + TextSql(Edit4->text()) + QStringLiteral(",职务=") +
            TextSql(DBComboBoxEh5->currentText()) + QStringLiteral(",性别=") +
            TextSql(ComboBox1->currentText()) + QStringLiteral(",传真=") + TextSql(Edit12->text()) +
            QStringLiteral(",住宅电话=") + TextSql(Edit8->text()) + QStringLiteral(",QQMSN=") +
            TextSql(Edit5->text()) + QStringLiteral(",网址=") + TextSql(Edit6->text()) +
            QStringLiteral(",电子邮箱=") + TextSql(Edit9->text()) + QStringLiteral(",邮编=") +
            TextSql(Edit7->text()) + QStringLiteral(",业务员=") + TextSql(dDBComboBoxEh6->text()) +
            QStringLiteral(",备注=") + TextSql(Memo1->toPlainText()) +
            QStringLiteral(" where 客户简称=") + shortName);
        Dbgrid_Ado.reopen();
        ShowInformation(QStringLiteral("修改成功!"), this);
    } catch (const db::SqlError& e) {
        ShowError(e.message(), this);
        return false;
    }
    return true;
}

bool Tfrm_Khgl::LbButton2Click() {
    const QList<int> rows = DBGridEh1->selectedRows();
    if (rows.isEmpty())
        return false;
    if (!AskDeleteLines(int(rows.size())))
        return false;
    try {
        QStringList names;
        for (int row : rows)
            names << DBGridEh1->value(row, QStringLiteral("客户简称")).toString();
        for (const QString& name : std::as_const(names))
            Append_Ado.exec(QStringLiteral("delete from Tab_khgl where 客户简称=") + TextSql(name));
        Dbgrid_Ado.reopen();
        ShowInformation(QStringLiteral("删除成功!"), this);
    } catch (const db::SqlError&) {
        return false;
    }
    return true;
}

// ---- row click and export ------------------------------------------------------------------

void Tfrm_Khgl::DBGridEh1CellClick() {
    if (DBGridEh1->currentRow() < 0)
        return;
    auto value = [this](const char* field) {
        return DBGridEh1->currentValue(QString::fromUtf8(field)).toString();
    };
    Edit1->setText(value("客户简称"));
    Edit10->setText(value("公司名"));
    Edit2->setText(value("主联系人"));
    Edit11->setText(value("通讯地址"));
    Edit4->setText(value("手机"));
    DBComboBoxEh5->setEditText(value("职务"));
    ComboBox1->setEditText(value("性别"));
    Edit12->setText(value("传真"));
    Edit8->setText(value("住宅电话"));
    Edit5->setText(value("QQMSN"));
    Edit6->setText(value("网址"));
    Edit9->setText(value("电子邮箱"));
    Edit7->setText(value("邮编"));
    dDBComboBoxEh6->setText(value("业务员"));
    Memo1->setPlainText(value("备注"));
}

bool Tfrm_Khgl::LbButton7Click() {
    // The screen's caption names both the proposed file and the module in the log row.
    ExportFileName = windowTitle();
    return ExportAndLog(windowTitle());
}
