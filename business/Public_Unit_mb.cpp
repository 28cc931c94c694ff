#include "business/Public_Unit_mb.h"

#include "db/Public_DM.h"
#include "platform/grid/data_grid.h"
#include "platform/grid/grid_export.h"
#include "platform/sys/tick_counter.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/lb_button.h"
#include "platform/widgets/number_edit.h"
#include "shell/main_frm.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <cmath>

namespace {

QComboBox* makeCombo(QWidget* parent, const char* name, bool editable = true) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(editable);
    if (editable)
        box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(120);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return box;
}

NumberEdit* makeNumber(QWidget* parent, const char* name) {
    auto* edit = new NumberEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMinimumWidth(100);
    return edit;
}

LbButton* makeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new LbButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setMinimumWidth(84);
    return button;
}

} // namespace

TMb_Public_Unit::TMb_Public_Unit(QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("TMb_Public_Unit"));
    setWindowTitle(QStringLiteral("正在打开 请稍后......"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_entryPanel = new QWidget(this);
    m_entryPanel->setObjectName(QStringLiteral("Panel1"));
    m_entryLayout = new QGridLayout(m_entryPanel);
    m_entryLayout->setContentsMargins(8, 8, 8, 4);
    m_entryLayout->setHorizontalSpacing(8);
    m_entryLayout->setVerticalSpacing(6);

    DBComboBoxEh1 = makeCombo(m_entryPanel, "DBComboBoxEh1");
    DBComboBoxEh1->addItems({QStringLiteral("食品类"), QStringLiteral("副食类"),
                             QStringLiteral("烟类"), QStringLiteral("酒类"),
                             QStringLiteral("零食类"), QStringLiteral("家具类")});
    DBComboBoxEh1->setCurrentIndex(-1);
    DBComboBoxEh2 = makeCombo(m_entryPanel, "DBComboBoxEh2");
    DBComboBoxEh3 = makeCombo(m_entryPanel, "DBComboBoxEh3");
    DBComboBoxEh4 = makeCombo(m_entryPanel, "DBComboBoxEh4");
    djdb = makeNumber(m_entryPanel, "djdb");
    sldb = makeNumber(m_entryPanel, "sldb");
    sldb->setValue(1.0);
    sumdb = makeNumber(m_entryPanel, "sumdb");
    DBComboBoxEh5 = makeCombo(m_entryPanel, "DBComboBoxEh5");
    DBComboBoxEh6 = makeCombo(m_entryPanel, "DBComboBoxEh6", false);
    Memo1 = new QPlainTextEdit(m_entryPanel);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTabChangesFocus(true);
    Memo1->setFixedHeight(48);
    DBDateTimeEditEh1 = new DateEdit(QDate::currentDate(), m_entryPanel);
    DBDateTimeEditEh1->setObjectName(QStringLiteral("DBDateTimeEditEh1"));

    addEntry(DBComboBoxEh1, QStringLiteral("商品大类(必填)"), 0, 0);
    addEntry(DBComboBoxEh2, QStringLiteral("商品名称(必填)"), 0, 2);
    addEntry(DBComboBoxEh3, QStringLiteral("规格(型号颜色)"), 0, 4);
    addEntry(DBComboBoxEh4, QStringLiteral("商品编码(必填）"), 0, 6);
    addEntry(djdb, QStringLiteral("进货单价(必填)"), 1, 0);
    addEntry(sldb, QStringLiteral("进货数量(必填)"), 1, 2);
    addEntry(sumdb, QStringLiteral("合计"), 1, 4);
    addEntry(DBComboBoxEh5, QStringLiteral("供货商"), 1, 6);
    addEntry(DBDateTimeEditEh1, QStringLiteral("进货日期"), 2, 0);
    addEntry(DBComboBoxEh6, QStringLiteral("进货人"), 2, 2);
    addEntry(Memo1, QStringLiteral("备注"), 2, 4, 3);
    hideControl(DBComboBoxEh6);
    for (int column : {1, 3, 5, 7})
        m_entryLayout->setColumnStretch(column, 1);

    LbButton1 = makeButton(this, "LbButton1", QStringLiteral("增 加"));
    LbButton2 = makeButton(this, "LbButton2", QStringLiteral("删 除"));
    LbButton3 = makeButton(this, "LbButton3", QStringLiteral("修 改"));
    LbButton4 = makeButton(this, "LbButton4", QStringLiteral("全部记录"));
    LbButton6 = makeButton(this, "LbButton6", QStringLiteral("查 询"));
    LbButton7 = makeButton(this, "LbButton7", QStringLiteral("导出Excel"));
    LbButton5 = makeButton(this, "LbButton5", QStringLiteral("打 印"));
    KlLbButton11 = makeButton(this, "KlLbButton11", QStringLiteral("设计报表"));
    LbButton1->setClickHandler([this] { return LbButton1Click(); });
    LbButton2->setClickHandler([this] { return LbButton2Click(); });
    LbButton3->setClickHandler([this] { return LbButton3Click(); });
    LbButton4->setClickHandler([this] { return LbButton4Click(); });
    LbButton6->setClickHandler([this] { return LbButton6Click(); });
    LbButton7->setClickHandler([this] { return LbButton7Click(); });
    LbButton5->setClickHandler([this] { return LbButton5Click(); });
    KlLbButton11->setClickHandler([this] { return KlLbButton11Click(); });

    m_buttonRow = new QHBoxLayout;
    m_buttonRow->setContentsMargins(8, 0, 8, 4);
    for (LbButton* button : {LbButton1, LbButton3, LbButton2, LbButton4, LbButton6, LbButton7,
                             LbButton5, KlLbButton11})
        m_buttonRow->addWidget(button);
    m_buttonRow->addStretch();

    DBGridEh1 = new DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setColumns(
        {GridColumn(QStringLiteral("商品大类")), GridColumn(QStringLiteral("商品名称")),
         GridColumn(QStringLiteral("规格")), GridColumn(QStringLiteral("商品编码")),
         GridColumn(QStringLiteral("进货人")), GridColumn(QStringLiteral("进货日期")),
         GridColumn(QStringLiteral("进货单价")), GridColumn(QStringLiteral("进货数量")),
         GridColumn(QStringLiteral("合计")), GridColumn(QStringLiteral("供货商")),
         GridColumn(QStringLiteral("备注"))});
    Dbgrid_Ado.setGrid(DBGridEh1);

    m_mainLayout = new QVBoxLayout(this);
    m_mainLayout->setContentsMargins(0, 0, 0, 0);
    m_mainLayout->setSpacing(2);
    m_mainLayout->addWidget(m_entryPanel);
    m_mainLayout->addLayout(m_buttonRow);
    m_mainLayout->addWidget(DBGridEh1, 1);

    // The line total follows price and quantity, and is recomputed when the total is entered.
    connect(djdb, &NumberEdit::valueChanged, this, [this] { djdbChange(); });
    connect(sldb, &NumberEdit::valueChanged, this, [this] { djdbChange(); });
    connect(djdb, &NumberEdit::focusEntered, this, [this] { djdbChange(); });
    connect(sldb, &NumberEdit::focusEntered, this, [this] { djdbChange(); });
    connect(sumdb, &NumberEdit::focusEntered, this, [this] { djdbChange(); });

    // The owner box takes no typed keys.
    DBComboBoxEh6->installEventFilter(this);
}

TMb_Public_Unit::~TMb_Public_Unit() = default;

QLabel* TMb_Public_Unit::addEntry(QWidget* control, const QString& label, int row, int column,
                                  int columnSpan) {
    auto* caption = new QLabel(label, m_entryPanel);
    caption->setObjectName(QStringLiteral("Label_") + control->objectName());
    caption->setBuddy(control);
    m_entryLayout->addWidget(caption, row, column, Qt::AlignRight | Qt::AlignVCenter);
    m_entryLayout->addWidget(control, row, column + 1, 1, 2 * columnSpan - 1);
    m_labels.insert(control, caption);
    return caption;
}

void TMb_Public_Unit::setLabelText(QWidget* control, const QString& text) {
    if (QLabel* label = m_labels.value(control))
        label->setText(text);
}

void TMb_Public_Unit::hideControl(QWidget* control) {
    control->hide();
    if (QLabel* label = m_labels.value(control))
        label->hide();
}

void TMb_Public_Unit::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        // Enter moves the focus on like Tab in every editor of the screen.
        for (QWidget* child : findChildren<QWidget*>())
            if (child->focusPolicy() != Qt::NoFocus)
                child->installEventFilter(this);
        FormShow();
    }
}

void TMb_Public_Unit::FormShow() {
    DBComboBoxEh6->clear();
    DBComboBoxEh6->addItem(CurUserNo + QLatin1Char('(') + CurUserName + QLatin1Char(')'));
    DBComboBoxEh6->setCurrentIndex(0);
}

void TMb_Public_Unit::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TMb_Public_Unit::FormClose() {}

bool TMb_Public_Unit::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == DBComboBoxEh6 && !key->text().isEmpty())
            return true;
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && key->modifiers() == Qt::NoModifier && watched != DBGridEh1 &&
            !qobject_cast<LbButton*>(watched)) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && isAncestorOf(widget)) {
                focusNextChild();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TMb_Public_Unit::djdbChange() {
    const std::optional<double> price = djdb->value();
    const std::optional<double> quantity = sldb->value();
    if (!price || !quantity) {
        if (djdb->isEmpty() || sldb->isEmpty()) {
            sumdb->clearValue();
            return;
        }
        sumdb->setValue(0.0);
        return;
    }
    const double product = *price * *quantity;
    sumdb->setValue(std::isfinite(product) ? product : 0.0);
}

bool TMb_Public_Unit::warnUnlessRight(const QString& right, const QString& message) {
    if (HasRight(CurUserNo, right))
        return true;
    ShowWarning(QStringLiteral("操作提示"), message, this);
    return false;
}

bool TMb_Public_Unit::LbButton1Click() {
    if (!warnUnlessRight(QStringLiteral("新增单据"),
                         QStringLiteral("对不起,你没有增加单据的权限,请您联系-系统管理员")))
        return false;
    NewDocNo = NewDocumentNo(TableName, TDM_Public::instance()->ADOQuery1());
    return true;
}

bool TMb_Public_Unit::LbButton2Click() {
    return warnUnlessRight(QStringLiteral("删除修改"),
                           QStringLiteral("对不起,你没有删除和修改单据的权限,请您联系-系统管理员"));
}

bool TMb_Public_Unit::LbButton3Click() {
    return warnUnlessRight(QStringLiteral("删除修改"),
                           QStringLiteral("对不起,你没有删除和修改单据的权限,请您联系-系统管理员"));
}

bool TMb_Public_Unit::LbButton7Click() {
    if (!warnUnlessRight(QStringLiteral("导出数据"),
                         QStringLiteral("对不起,你没有导出数据的权限,请您联系-系统管理员")))
        return false;
    return ExportGrid(DBGridEh1, ExportFileName);
}

bool TMb_Public_Unit::KlLbButton11Click() {
    return warnUnlessRight(QStringLiteral("设计报表"),
                           QStringLiteral("对不起,你没有设计报表的权限,请您联系-系统管理员"));
}

bool TMb_Public_Unit::ExportGrid(DataGrid* grid, const QString& defaultFileName) {
    if (!grid || !grid->isOpen())
        return false;
    int filterIndex = 1;
    const QString file = FileDialog::getSaveFileName(
        this, QStringLiteral("导出"), defaultFileName,
        QStringLiteral("Microsoft Excel 文件(*.xls)|*.XLS|文本文件(*.txt)|*.TXT|"
                       "Csv文件(*.csv)|*.Csv|HTML文件(*.htm)|*.htm|"
                       "RTF文件(*.rtf)|*.RTF"),
        QStringLiteral("xls"), &filterIndex);
    if (file.isEmpty())
        return false;
    const ExportFormat format =
        exportFormatFromFilterIndex(filterIndex).value_or(ExportFormat::Excel);
    try {
        exportGrid(*grid, file, format, ExportScope::SelectedOrAll);
    } catch (const GridExportError& e) {
        ShowError(QString::fromUtf8(e.what()), this);
        return false;
    }
    ShowInformation(QStringLiteral("导出成功!"), this);
    return true;
}

bool TMb_Public_Unit::AskDeleteLines(int count) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("单据删除"),
                    QStringLiteral("真的要删除这") + QString::number(count) +
                        QStringLiteral("行单据吗？"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void TMb_Public_Unit::StartQueryTiming() {
    QueryStartTick = sys::tickCountMs();
}

QString TMb_Public_Unit::QueryTimingText(double startTick, double endTick, int rows) {
    const double seconds = double(qRound64(std::fabs(endTick - startTick))) / 1000.0;
    return QStringLiteral("查询时间：") + QString::number(seconds, 'g', 15) +
           QStringLiteral("秒   共查询到 ") + QString::number(rows) + QStringLiteral(" 条记录");
}

void TMb_Public_Unit::ReportQueryTiming(int rows) {
    QueryEndTick = sys::tickCountMs();
    if (TFrm_Main* main = TFrm_Main::instance())
        main->setStatusPanelText(0, QueryTimingText(QueryStartTick, QueryEndTick, rows));
}
