#include "business/xsch_frm.h"

#include "business/period_query_panel.h"
#include "business/product_lookups.h"
#include "business/sql_values.h"
#include "db/Public_DM.h"
#include "db/dialect.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/lb_button.h"
#include "platform/widgets/number_edit.h"
#include "platform/widgets/number_text.h"
#include "shell/main_frm.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString kReturnKind = QStringLiteral("销售退库");
const QString kSaleKind = QStringLiteral("销售出库");

QComboBox* makeBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(130);
    return box;
}

// Replaces the items of a box without raising its change handler; the text is left empty.
void setItemsQuietly(QComboBox* box, const QStringList& items) {
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

// Replaces the items and selects the first one, which raises the box's change handler.
void setItemsSelectFirst(QComboBox* box, const QStringList& items) {
    setItemsQuietly(box, items);
    if (!items.isEmpty())
        box->setCurrentIndex(0);
}

std::optional<double> numberOf(const QVariant& value) {
    if (value.isNull() || !value.isValid())
        return std::nullopt;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

} // namespace

Tfrm_xsch::Tfrm_xsch(QWidget* parent)
    : Tfrm_xsch(parent, QString()) {}

Tfrm_xsch::Tfrm_xsch(QWidget* parent, const QString& docKind)
    : TMb_Public_Unit(parent) {
    setObjectName(QStringLiteral("frm_xsch"));
    DocKind = docKind;
    buildEntryPanel();
    buildLookupPanel();

    PeriodQueryPanel::Names names;
    names.panel = QStringLiteral("Panel4");
    names.title = QStringLiteral("销售记录查询窗");
    names.category = QStringLiteral("DBComboBoxEh11");
    names.name = QStringLiteral("DBComboBoxEh12");
    names.spec = QStringLiteral("DBComboBoxEh13");
    names.code = QStringLiteral("DBComboBoxEh14");
    names.partner = QStringLiteral("DBComboBoxEh15");
    names.owner = QStringLiteral("DBComboBoxEh16");
    names.partnerLabel = QStringLiteral("客户名称");
    names.ownerLabel = QStringLiteral("出货人");
    Panel4 = new PeriodQueryPanel(names, this);
    Panel4->setLookupQuery(&Append_Ado);
    Panel4->LbButton9->setClickHandler([this] {
        LbButton9Click();
        return true;
    });
    Panel4->LbButton10->setClickHandler([this] { return LbButton4Click(); });
    Panel4->LbButton8->setClickHandler([this] {
        LbButton8Click();
        return true;
    });

    buildMenus();

    DBGridEh1->setColumns(SalesColumns(false));
    DBGridEh1->setSortMarker(QStringLiteral("备注"), SortMarker::Down);
    DBGridEh1->setFooterVisible(true);
    connect(DBGridEh1, &DataGrid::titleClicked, this,
            [this](const QString& field) { DBGridEh1TitleBtnClick(field); });
    connect(DBGridEh1, &QAbstractItemView::clicked, this, [this] { DBGridEh1CellClick(); });

    setWindowTitle(QStringLiteral("销售出货开单"));
    FormCreate();
}

Tfrm_xsch::~Tfrm_xsch() = default;

std::vector<GridColumn> Tfrm_xsch::SalesColumns(bool returnMode) {
    std::vector<GridColumn> columns{
        GridColumn(QStringLiteral("商品大类")).withFooterText(QStringLiteral("合计：")),
        GridColumn(QStringLiteral("商品名称")).withWidth(100),
        GridColumn(QStringLiteral("规格")).withWidth(120),
        GridColumn(QStringLiteral("商品编码")).withWidth(90),
        GridColumn(QStringLiteral("出货人"), returnMode ? QStringLiteral("退货人") : QString())
            .withWidth(110),
        GridColumn(QStringLiteral("出货日期"), returnMode ? QStringLiteral("退货日期") : QString()),
        GridColumn(QStringLiteral("出货单价"), returnMode ? QStringLiteral("退货单价") : QString()),
        GridColumn(QStringLiteral("出货数量"), returnMode ? QStringLiteral("退货数量") : QString())
            .withFooterSum(),
        GridColumn(QStringLiteral("合计")).withFooterSum(),
        GridColumn(QStringLiteral("客户")).withWidth(120),
        GridColumn(QStringLiteral("备注")).withWidth(140),
    };
    if (returnMode) {
        columns.push_back(GridColumn(QStringLiteral("欠款金额")).hidden());
    } else {
        columns.push_back(GridColumn(QStringLiteral("欠款金额")).withFooterSum());
        columns.push_back(GridColumn(QStringLiteral("打印标志")).hidden());
    }
    return columns;
}

void Tfrm_xsch::placeEntry(QWidget* control, int row, int column, int columnSpan) {
    QLabel* label = labelOf(control);
    m_entryLayout->removeWidget(control);
    if (label) {
        m_entryLayout->removeWidget(label);
        m_entryLayout->addWidget(label, row, column, Qt::AlignRight | Qt::AlignVCenter);
    }
    m_entryLayout->addWidget(control, row, column + 1, 1, 2 * columnSpan - 1);
}

void Tfrm_xsch::buildEntryPanel() {
    hideControl(DBComboBoxEh1);
    hideControl(DBComboBoxEh2);
    hideControl(DBComboBoxEh4);

    Edit1 = new QLineEdit(m_entryPanel);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    SpeedButton1 = new QToolButton(m_entryPanel);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    SpeedButton1->setToolTip(QStringLiteral("商品查询窗"));
    SpeedButton1->setAutoRaise(true);
    Edit2 = new QLineEdit(m_entryPanel);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setEnabled(false);
    Edit3 = new QLineEdit(m_entryPanel);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setEnabled(false);
    Qkje = new NumberEdit(m_entryPanel);
    Qkje->setObjectName(QStringLiteral("Qkje"));
    DBNumberEditEh2 = new NumberEdit(m_entryPanel);
    DBNumberEditEh2->setObjectName(QStringLiteral("DBNumberEditEh2"));
    DBNumberEditEh2->setReadOnly(true);
    DBNumberEditEh2->setEnabled(false);
    DBNumberEditEh2->setStyleSheet(
        QStringLiteral("QLineEdit, QLineEdit:disabled { background-color: #ffff00; "
                       "color: #ff0000; font-weight: bold; }"));
    MLabel14 = new QLabel(QStringLiteral("提示:若有欠款则输入欠款金额,若无欠款,则输入\"0\""),
                          m_entryPanel);
    MLabel14->setObjectName(QStringLiteral("MLabel14"));
    MLabel14->setStyleSheet(QStringLiteral("color: #0000ff;"));

    // The spec is chosen from the list the look-ups fill; it takes no keys.
    DBComboBoxEh3->lineEdit()->setReadOnly(true);
    DBComboBoxEh3->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    DBComboBoxEh3->setContextMenuPolicy(Qt::NoContextMenu);
    DBComboBoxEh3->installEventFilter(this);
    DBComboBoxEh3->lineEdit()->installEventFilter(this);

    addEntry(Edit1, QStringLiteral("商品编码(必填）"), 0, 0);
    m_entryLayout->removeWidget(Edit1);
    auto* codeBox = new QWidget(m_entryPanel);
    auto* codeLayout = new QHBoxLayout(codeBox);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    codeLayout->setSpacing(2);
    codeLayout->addWidget(Edit1, 1);
    codeLayout->addWidget(SpeedButton1);
    m_entryLayout->addWidget(codeBox, 0, 1);
    addEntry(Edit2, QStringLiteral("商品大类(必填)"), 0, 2);
    addEntry(Edit3, QStringLiteral("商品名称(必填)"), 0, 4);
    placeEntry(DBComboBoxEh3, 0, 6);
    setLabelText(DBComboBoxEh3, QStringLiteral("规格(型号颜色口味)"));

    placeEntry(djdb, 1, 0);
    setLabelText(djdb, QStringLiteral("出货单价(必填)"));
    placeEntry(sldb, 1, 2);
    setLabelText(sldb, QStringLiteral("出货数量(必填)"));
    placeEntry(sumdb, 1, 4);
    setLabelText(sumdb, QStringLiteral("合计(付款金额)"));
    addEntry(Qkje, QStringLiteral("欠款金额"), 1, 6);

    placeEntry(DBDateTimeEditEh1, 2, 0);
    setLabelText(DBDateTimeEditEh1, QStringLiteral("出货日期"));
    placeEntry(DBComboBoxEh5, 2, 2);
    setLabelText(DBComboBoxEh5, QStringLiteral("客户名称"));
    addEntry(DBNumberEditEh2, QStringLiteral("库存数量"), 2, 4);
    m_entryLayout->addWidget(MLabel14, 2, 6, 1, 2);
    placeEntry(DBComboBoxEh6, 3, 6);
    setLabelText(DBComboBoxEh6, QStringLiteral("出货人"));
    placeEntry(Memo1, 3, 0, 3);

    QWidget::setTabOrder(Edit1, SpeedButton1);
    QWidget::setTabOrder(SpeedButton1, Edit2);
    QWidget::setTabOrder(Edit2, Edit3);
    QWidget::setTabOrder(Edit3, DBComboBoxEh3);
    QWidget::setTabOrder(DBComboBoxEh3, djdb);
    QWidget::setTabOrder(djdb, sldb);
    QWidget::setTabOrder(sldb, sumdb);
    QWidget::setTabOrder(sumdb, DBDateTimeEditEh1);
    QWidget::setTabOrder(DBDateTimeEditEh1, DBComboBoxEh5);
    QWidget::setTabOrder(DBComboBoxEh5, Qkje);
    QWidget::setTabOrder(Qkje, Memo1);

    // Entering the price or the total does not recompute the total here; the quantity does.
    disconnect(djdb, &NumberEdit::focusEntered, this, nullptr);
    disconnect(sumdb, &NumberEdit::focusEntered, this, nullptr);

    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(DBComboBoxEh3, &QComboBox::currentTextChanged, this, [this] { DBComboBoxEh3Change(); });
    connect(DBComboBoxEh5, &QComboBox::currentTextChanged, this, [this] { DBComboBoxEh5Change(); });
    connect(sumdb, &NumberEdit::valueChanged, this, [this] { sumdbChange(); });
}

void Tfrm_xsch::buildLookupPanel() {
    Panel3 = new QFrame(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameShape(QFrame::StyledPanel);
    Panel3->setAutoFillBackground(true);
    auto* title = new QLabel(QStringLiteral("商品查询窗"), Panel3);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    DBComboBoxEh7 = makeBox(Panel3, "DBComboBoxEh7");
    DBComboBoxEh8 = makeBox(Panel3, "DBComboBoxEh8");
    DBComboBoxEh9 = makeBox(Panel3, "DBComboBoxEh9");
    DBComboBoxEh10 = makeBox(Panel3, "DBComboBoxEh10");
    auto* note = new QLabel(
        QStringLiteral("说明:若新增的商品大类不存在,请将本窗口关闭后再打开本窗口就可看到了。"),
        Panel3);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: #0000ff;"));
    BitBtn1 = new QPushButton(QStringLiteral("确定"), Panel3);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("商品大类(必填)"), Panel3), 0, 0);
    grid->addWidget(DBComboBoxEh7, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("商品名称(必填)"), Panel3), 1, 0);
    grid->addWidget(DBComboBoxEh8, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("规格(型号颜色口味)"), Panel3), 2, 0);
    grid->addWidget(DBComboBoxEh9, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("商品编码(必填）"), Panel3), 3, 0);
    grid->addWidget(DBComboBoxEh10, 3, 1);
    auto* layout = new QVBoxLayout(Panel3);
    layout->addWidget(title);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addWidget(BitBtn1, 0, Qt::AlignRight);
    Panel3->setFixedWidth(320);
    Panel3->hide();

    connect(DBComboBoxEh7, &QComboBox::currentTextChanged, this, [this] { DBComboBoxEh7Change(); });
    connect(DBComboBoxEh8, &QComboBox::currentTextChanged, this, [this] { DBComboBoxEh8Change(); });
    connect(DBComboBoxEh9, &QComboBox::currentTextChanged, this, [this] { DBComboBoxEh9Change(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (Panel3->isVisible() && now && now->window() == window() && now != Panel3 &&
            !Panel3->isAncestorOf(now) && now != SpeedButton1)
            Panel3Exit();
    });
}

QString Tfrm_xsch::LineType() const {
    return DocKind == kReturnKind ? kReturnKind : kSaleKind;
}

QString Tfrm_xsch::ListSelect() {
    const db::SqlDialect& d = db::dialect();
    return QStringLiteral("select 编号,商品大类,商品名称,规格,商品编码,出货人,出货日期,出货单价,") +
           d.castDouble(QStringLiteral("出货数量")) + QStringLiteral(" as 出货数量,") +
           d.castDouble(QStringLiteral("合计")) + QStringLiteral(" as 合计,客户,备注,") +
           d.castDouble(QStringLiteral("欠款金额")) +
           QStringLiteral(" as 欠款金额,打印标志 from Tab_xsch where 类型=");
}

QString Tfrm_xsch::TodayListSql() const {
    return ListSelect() + db::quoted(LineType()) + QStringLiteral(" and 出货日期=") +
           DateSql(QDate::currentDate()) + SalesOwnerFilter +
           QStringLiteral(" order by 编号 desc ");
}

QStringList Tfrm_xsch::readColumn(const QString& sql) {
    Append_Ado.open(sql);
    QStringList values;
    for (; !Append_Ado.eof(); Append_Ado.next())
        values << Append_Ado.value(0).toString().trimmed();
    Append_Ado.close();
    return values;
}

void Tfrm_xsch::FormCreate() {
    FillUserCombo(Panel4->ownerBox, Append_Ado);
    StartQueryTiming();
    DBDateTimeEditEh1->setDate(QDate::currentDate());
    const QStringList customers = readColumn(QStringLiteral(
        "Select 客户简称 From Tab_khgl where 类型='客户资料' Order by 客户简称 Desc"));
    setItemsQuietly(DBComboBoxEh5, customers);
    setItemsQuietly(Panel4->partnerBox, customers);
    const int rows = Dbgrid_Ado.open(TodayListSql());
    ReportQueryTiming(rows);
    LoadCategoryLists();
}

void Tfrm_xsch::FormClose() {
    TMb_Public_Unit::FormClose();
    if (TFrm_Main* main = TFrm_Main::instance())
        main->setStatusPanelText(0, QString());
}

void Tfrm_xsch::LoadCategoryLists() {
    const QStringList categories = readColumn(ProductCategoriesSql());
    setItemsQuietly(Panel4->categoryBox, categories);
    setItemsQuietly(DBComboBoxEh7, categories);
}

bool Tfrm_xsch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBComboBoxEh3 || watched == DBComboBoxEh3->lineEdit()) {
        // DBComboBoxEh3KeyPress: every key is discarded (focus keys still move on).
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab &&
                key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
                return true;
        }
        // DBComboBoxEh3MouseDown: the right button only answers that it cannot be used.
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                ShowInformation(QStringLiteral("不能使用右键"), this);
                return true;
            }
        }
    }
    return TMb_Public_Unit::eventFilter(watched, event);
}

// ---- Look-ups -----------------------------------------------------------------------------

QStringList Tfrm_xsch::specsOf(const QString& name, const QString& code) {
    return readColumn(QStringLiteral("Select 规格 From Tab_Cgjh Where 商品名称=") + TextSql(name) +
                      QStringLiteral(" and 商品编码=") + TextSql(code) +
                      QStringLiteral(" Group By 规格 Order by 规格 limit 1000"));
}

void Tfrm_xsch::fillSpecList(const QStringList& specs, const QString& text) {
    const QSignalBlocker blocker(DBComboBoxEh3);
    DBComboBoxEh3->clear();
    DBComboBoxEh3->addItems(specs);
    const int index = int(specs.indexOf(text));
    DBComboBoxEh3->setCurrentIndex(index);
    DBComboBoxEh3->setEditText(text);
}

void Tfrm_xsch::Edit1Change() {
    const QString code = Edit1->text().trimmed();
    Append_Ado.open(
        QStringLiteral("Select 商品大类,商品名称,规格,商品编码 From Tab_cgjh Where 商品编码=") +
        db::quoted(code) +
        QStringLiteral(" Group By 商品编码,商品大类,商品名称,规格 Order by 商品名称 limit 1000"));
    if (Append_Ado.eof()) {
        Append_Ado.close();
        Edit2->clear();
        Edit3->clear();
        DBComboBoxEh3->setEditText(QString());
        return;
    }
    const QString storedCode = Append_Ado.text(QStringLiteral("商品编码")).trimmed();
    const QString category = Append_Ado.text(QStringLiteral("商品大类")).trimmed();
    const QString name = Append_Ado.text(QStringLiteral("商品名称")).trimmed();
    Append_Ado.close();
    if (Edit1->text() != storedCode) {
        // The code as stored; the look-up has been done for it already.
        const QSignalBlocker blocker(Edit1);
        Edit1->setText(storedCode);
    }
    Edit2->setText(category);
    Edit3->setText(name);

    // The last spec of the product, with the customer's last price for it; the price look-up
    // ends with the stock of the product.
    const QStringList specs = specsOf(name, storedCode);
    fillSpecList(specs, specs.isEmpty() ? QString() : specs.last());
    DBComboBoxEh3Change();
}

void Tfrm_xsch::showPopup(QWidget* panel, QWidget* below) {
    panel->adjustSize();
    QPoint at = below->mapTo(this, QPoint(0, below->height() + 2));
    at.setX(qMax(0, qMin(at.x(), width() - panel->width())));
    panel->move(at);
    panel->show();
    panel->raise();
}

void Tfrm_xsch::SpeedButton1Click() {
    LoadCategoryLists();
    if (Panel3->isVisible()) {
        Panel3->hide();
        return;
    }
    showPopup(Panel3, SpeedButton1->parentWidget());
    DBComboBoxEh7->setFocus();
}

void Tfrm_xsch::DBComboBoxEh7Change() {
    const QString category = DBComboBoxEh7->currentText().trimmed();
    if (category.isEmpty())
        return;
    setItemsSelectFirst(DBComboBoxEh8, readColumn(ProductNamesSql(category)));
}

void Tfrm_xsch::DBComboBoxEh8Change() {
    const QString name = DBComboBoxEh8->currentText().trimmed();
    if (name.isEmpty())
        return;
    const QStringList specs = readColumn(ProductSpecsSql(name));
    fillSpecList(specs, DBComboBoxEh3->currentText());
    setItemsSelectFirst(DBComboBoxEh9, specs);
}

void Tfrm_xsch::DBComboBoxEh9Change() {
    const QString spec = DBComboBoxEh9->currentText().trimmed();
    if (spec.isEmpty())
        return;
    setItemsSelectFirst(DBComboBoxEh10, readColumn(NewestCodeOfSpecSql(spec)));
}

void Tfrm_xsch::BitBtn1Click() {
    Panel3->hide();
    Edit1->setText(DBComboBoxEh10->currentText());
    Edit2->setText(DBComboBoxEh7->currentText());
    Edit3->setText(DBComboBoxEh8->currentText());
    {
        const QSignalBlocker blocker(DBComboBoxEh3);
        DBComboBoxEh3->setEditText(DBComboBoxEh9->currentText());
    }
    DBComboBoxEh3Change();
}

void Tfrm_xsch::Panel3Exit() {
    Panel3->hide();
}

void Tfrm_xsch::DBComboBoxEh3Change() {
    const QString code = Edit1->text().trimmed();
    if (code.isEmpty())
        return;
    // The newest sale of this code and spec to this customer; returns are priced at it too.
    Append_Ado.open(QStringLiteral("Select 商品编码,编号,出货单价 From Tab_xsch Where 商品编码=") +
                    db::quoted(code) + QStringLiteral(" and 类型='销售出库' and 规格=") +
                    TextSql(DBComboBoxEh3->currentText()) + QStringLiteral(" and 客户=") +
                    TextSql(DBComboBoxEh5->currentText()) +
                    QStringLiteral(" Group By 商品编码,编号,出货单价 Order by 编号 desc limit 1"));
    const std::optional<double> lastPrice =
        Append_Ado.eof() ? std::nullopt : numberOf(Append_Ado.value(QStringLiteral("出货单价")));
    Append_Ado.close();
    djdb->setValue(0.0);
    if (lastPrice)
        djdb->setValue(*lastPrice);
    ShowProductStock();
}

void Tfrm_xsch::DBComboBoxEh5Change() {
    DBComboBoxEh3Change();
}

void Tfrm_xsch::sumdbChange() {
    const std::optional<double> price = djdb->value();
    const std::optional<double> quantity = sldb->value();
    const std::optional<double> total = sumdb->value();
    if (djdb->isEmpty() || sldb->isEmpty() || sumdb->isEmpty()) {
        Qkje->clearValue();
        return;
    }
    if (!price || !quantity || !total)
        return;
    // The editors hold their values as text of 15 significant digits, so the product is taken
    // in that form too: 0.1 × 3 is the total 0.3 and leaves no debt.
    auto asShown = [](double value) { return shortestNumberText(value).toDouble(); };
    const double product = *price * *quantity;
    if (!std::isfinite(product))
        return;
    const double debt = asShown(asShown(product) - *total);
    if (std::isfinite(debt))
        Qkje->setValue(debt);
}

double Tfrm_xsch::stockOf(const QString& condition) {
    // The stock of one product: purchases less purchase returns, less sales plus sales
    // returns, over all dates and owners.
    auto sum = [&condition](const char* table, const char* column, const char* kind,
                            const char* alias) -> QString {
        return QStringLiteral("(select coalesce(sum(") + QString::fromUtf8(column) +
               QStringLiteral("),0) from ") + QString::fromUtf8(table) + QStringLiteral(" where ") +
               condition + QStringLiteral(" and 类型='") + QString::fromUtf8(kind) +
               QStringLiteral("') as ") + QString::fromUtf8(alias);
    };
    const QString sql =
        QStringLiteral("select (进货数量-采购退货数量-销售数量+销售退货数量) as 库存数量 from "
                       "(select ") +
        sum("tab_cgjh", "进货数量", "采购入库", "进货数量") + QLatin1Char(',') +
        sum("tab_cgjh", "进货数量", "采购退货", "采购退货数量") + QLatin1Char(',') +
        sum("tab_xsch", "出货数量", "销售出库", "销售数量") + QLatin1Char(',') +
        sum("tab_xsch", "出货数量", "销售退库", "销售退货数量") + QStringLiteral(") as s");
    Append_Ado.open(sql);
    const double stock = numberOf(Append_Ado.value(QStringLiteral("库存数量"))).value_or(0.0);
    Append_Ado.close();
    return stock;
}

void Tfrm_xsch::ShowProductStock() {
    const QString category = Edit2->text().trimmed();
    const QString name = Edit3->text().trimmed();
    const QString spec = DBComboBoxEh3->currentText().trimmed();
    const QString code = Edit1->text().trimmed();

    // A product whose four fields are those entered is the one meant; its stock is found over
    // the product index.
    const QString exact = QStringLiteral("商品大类=") + db::quoted(category) +
                          QStringLiteral(" and 商品名称=") + db::quoted(name) +
                          QStringLiteral(" and 规格=") + db::quoted(spec) +
                          QStringLiteral(" and 商品编码=") + db::quoted(code);
    Append_Ado.open(QStringLiteral("select 商品编码 from tab_cgjh where ") + exact +
                    QStringLiteral(" limit 1"));
    const bool exists = !Append_Ado.eof();
    Append_Ado.close();
    if (exists) {
        DBNumberEditEh2->setValue(stockOf(exact));
        return;
    }

    // Otherwise the first product whose fields contain the entered texts.
    const QString filter = QStringLiteral(" 商品大类 like ") + db::containsPattern(category) +
                           QStringLiteral(" and 商品名称 like ") + db::containsPattern(name) +
                           QStringLiteral(" and 规格 like ") + db::containsPattern(spec) +
                           QStringLiteral(" and 商品编码 like ") + db::containsPattern(code);
    const QString same = QStringLiteral(
        "商品大类=a.商品大类 and 商品名称=a.商品名称 and 规格=a.规格 and 商品编码=a.商品编码");
    auto sum = [&same](const char* table, const char* column, const char* kind,
                       const char* alias) -> QString {
        return QStringLiteral("(select coalesce(sum(") + QString::fromUtf8(column) +
               QStringLiteral("),0) from ") + QString::fromUtf8(table) + QStringLiteral(" where ") +
               same + QStringLiteral(" and 类型='") + QString::fromUtf8(kind) +
               QStringLiteral("') as ") + QString::fromUtf8(alias);
    };
    const QString sql =
        QStringLiteral("select 商品大类,商品名称,规格,商品编码,"
                       "(进货数量-采购退货数量-销售数量+销售退货数量) as 库存数量 from "
                       "(select a.商品大类,a.商品名称,a.规格,a.商品编码,") +
        sum("tab_cgjh", "进货数量", "采购入库", "进货数量") + QLatin1Char(',') +
        sum("tab_cgjh", "进货数量", "采购退货", "采购退货数量") + QLatin1Char(',') +
        sum("tab_xsch", "出货数量", "销售出库", "销售数量") + QLatin1Char(',') +
        sum("tab_xsch", "出货数量", "销售退库", "销售退货数量") +
        QStringLiteral(" from (select 商品大类,商品名称,规格,商品编码 from tab_cgjh where ") +
        filter + QStringLiteral(" group by 商品大类,商品名称,规格,商品编码 limit 1) as a) as b");
    Append_Ado.open(sql);
    const double stock = Append_Ado.eof()
                             ? 0.0
                             : numberOf(Append_Ado.value(QStringLiteral("库存数量"))).value_or(0.0);
    Append_Ado.close();
    DBNumberEditEh2->setValue(stock);
}

// ---- Row click and sorting ------------------------------------------------------------------

void Tfrm_xsch::DBGridEh1CellClick() {
    const int row = DBGridEh1->currentRow();
    if (row < 0)
        return;
    auto field = [this, row](const char* name) {
        return DBGridEh1->value(row, QString::fromUtf8(name));
    };
    const QString code = field("商品编码").toString();
    const QString name = field("商品名称").toString();
    const QString spec = field("规格").toString();
    {
        // The row's own values: the look-ups that these fields set off would replace the
        // price, the total and the debt, so they are held back while the row is loaded.
        const QSignalBlocker b1(Edit1), b2(DBComboBoxEh3), b3(djdb), b4(sldb), b5(sumdb), b6(Qkje),
            b7(DBComboBoxEh5);
        Edit1->setText(code);
        Edit2->setText(field("商品大类").toString());
        Edit3->setText(name);
        DBComboBoxEh3->setEditText(spec);
        djdb->setValue(numberOf(field("出货单价")));
        sldb->setValue(numberOf(field("出货数量")));
        sumdb->setValue(numberOf(field("合计")));
        DBDateTimeEditEh1->setDate(field("出货日期").toDate());
        DBComboBoxEh5->setEditText(field("客户").toString());
        Qkje->setValue(numberOf(field("欠款金额")));
        Memo1->setPlainText(field("备注").toString());
    }
    // The owner box keeps the logged-in user. The spec list follows the product.
    fillSpecList(specsOf(name, code), spec);
    ShowProductStock();
}

void Tfrm_xsch::DBGridEh1TitleBtnClick(const QString& field) {
    DBGridEh1->sortByClickRule(field);
}

// ---- Add, modify, delete --------------------------------------------------------------------

bool Tfrm_xsch::LbButton1Click() {
    const QString type = LineType();
    if (DBComboBoxEh3->currentText().trimmed().isEmpty())
        return false;
    try {
        const QDate date = DBDateTimeEditEh1->date();
        if (date != QDate::currentDate() &&
            !AskYesNo(QStringLiteral("信息"),
                      QStringLiteral("当前开单日期:") + ShortDate(date) +
                          QStringLiteral("不等于今天的日期,确定要增加记录吗？"),
                      this))
            return false;
        if (Edit1->text().trimmed().isEmpty() || Edit2->text().trimmed().isEmpty() ||
            Edit3->text().trimmed().isEmpty() || djdb->text().isEmpty() || sldb->text().isEmpty())
            return false;
        TableName = QStringLiteral("Tab_xsch");
        if (!TMb_Public_Unit::LbButton1Click())
            return false;
        const QString tail =
            QLatin1Char(',') + TextSql(Edit2->text()) + QLatin1Char(',') + TextSql(Edit3->text()) +
            QLatin1Char(',') + TextSql(DBComboBoxEh3->currentText()) + QLatin1Char(',') +
            TextSql(Edit1->text()) + QLatin1Char(',') + NumberSql(djdb->value()) +
            QLatin1Char(',') + NumberSql(sldb->value()) + QLatin1Char(',') +
            NumberSql(sumdb->value()) + QLatin1Char(',') + DateSql(date) + QLatin1Char(',') +
            TextSql(DBComboBoxEh5->currentText()) + QLatin1Char(',') +
            TextSql(DBComboBoxEh6->currentText()) + QLatin1Char(',') +
            TextSql(Memo1->toPlainText()) + QLatin1Char(',') + db::quoted(type) + QLatin1Char(',') +
            NumberSql(Qkje->value()) + QStringLiteral(",0,'')");
        NewDocNo = InsertWithDocumentNo(
            TableName, NewDocNo.trimmed(),
            [&tail](const QString& number) -> QString {
                return QStringLiteral("Insert Into Tab_xsch(编号,商品大类,商品名称,规格,商品编码,"
                                      "出货单价,出货数量,合计,出货日期,客户,出货人,备注,类型,"
                                      "欠款金额,打印标志,客户地址电话)Values(") +
                       db::quoted(number) + tail;
            },
            Append_Ado);
        ShowInformation(QStringLiteral("增加记录成功!"), this);
        StartQueryTiming();
        Panel4->hide();
        const int rows = Dbgrid_Ado.open(TodayListSql());
        ReportQueryTiming(rows);
        AddOperationLog(
            CurComputer, CurUserName, CurUserNo,
            QStringLiteral("工号为：") + CurUserNo.trimmed() + QStringLiteral(" 增加--") + type +
                QStringLiteral(" 单据成功!新增的商品名称为：") + Edit3->text().trimmed(),
            QStringLiteral("重要"), Append_Ado);
    } catch (const db::SqlError&) {
        // A refused statement ends the add without a message.
        return false;
    }
    return true;
}

bool Tfrm_xsch::LbButton3Click() {
    if (!TMb_Public_Unit::LbButton3Click())
        return false;
    const QString type = LineType();
    try {
        const QString code = Edit1->text().trimmed();
        Append_Ado.open(QStringLiteral("select 商品编码 From Tab_xsch Where 商品编码=") +
                        db::quoted(code));
        const bool sold = !Append_Ado.eof();
        Append_Ado.close();
        int row = DBGridEh1->currentRow();
        const QList<int> selected = DBGridEh1->selectedRows();
        if (!sold || selected.isEmpty())
            return LbButton1Click();
        if (row < 0)
            row = selected.first();
        const QString number = DBGridEh1->value(row, QStringLiteral("编号")).toString();
        Append_Ado.exec(
            QStringLiteral("Update Tab_xsch Set 商品大类=") + TextSql(Edit2->text()) +
            QStringLiteral(",商品名称=") + TextSql(Edit3->text()) + QStringLiteral(",规格=") +
            TextSql(DBComboBoxEh3->currentText()) + QStringLiteral(",出货单价=") +
            NumberSql(djdb->value()) + QStringLiteral(",出货数量=") + NumberSql(sldb->value()) +
            QStringLiteral(",合计=") + NumberSql(sumdb->value()) + QStringLiteral(",出货日期=") +
            DateSql(DBDateTimeEditEh1->date()) + QStringLiteral(",客户=") +
            TextSql(DBComboBoxEh5->currentText()) + QStringLiteral(",出货人=") +
            TextSql(DBComboBoxEh6->currentText()) + QStringLiteral(",备注=") +
            TextSql(Memo1->toPlainText()) + QStringLiteral(",欠款金额=") +
            NumberSql(Qkje->value()) + QStringLiteral(",客户地址电话='' where 商品编码=") +
            db::quoted(code) + QStringLiteral(" and 编号=") + db::quoted(number) +
            QStringLiteral(" and 类型=") + db::quoted(type));
        Dbgrid_Ado.reopen();
        ShowInformation(QStringLiteral("修改成功!"), this);
        AddOperationLog(CurComputer, CurUserName, CurUserNo,
                        QStringLiteral("工号为：") + CurUserNo.trimmed() +
                            QStringLiteral(" 修改--!") + type +
                            QStringLiteral("单据成功!商品编码为：") + db::quoted(code),
                        QStringLiteral("重要"), Append_Ado);
    } catch (const db::SqlError&) {
        return false;
    }
    return true;
}

bool Tfrm_xsch::LbButton2Click() {
    if (!TMb_Public_Unit::LbButton2Click())
        return false;
    const QList<int> selected = DBGridEh1->selectedRows();
    const int n = int(selected.size());
    if (n == 0)
        return false;
    try {
        if (!AskDeleteLines(n))
            return false;
        QStringList statements;
        for (int row : selected) {
            auto value = [this, row](const char* field) {
                return DBGridEh1->value(row, QString::fromUtf8(field)).toString();
            };
            statements << QStringLiteral("delete from Tab_xsch where 商品大类=") +
                              TextSql(value("商品大类")) + QStringLiteral(" and 商品名称=") +
                              db::quoted(value("商品名称")) + QStringLiteral(" and 商品编码=") +
                              TextSql(value("商品编码")) + QStringLiteral(" and 编号=") +
                              db::quoted(value("编号"));
        }
        for (const QString& statement : statements)
            Append_Ado.exec(statement);
        Dbgrid_Ado.reopen();
        ShowInformation(QStringLiteral("删除成功!"), this);
        AddOperationLog(CurComputer, CurUserName, CurUserNo,
                        QStringLiteral("工号为：") + CurUserNo.trimmed() +
                            QStringLiteral(" 删除--销售进货/退货单据成功!"),
                        QStringLiteral("重要"), Append_Ado);
    } catch (const db::SqlError&) {
        return false;
    }
    return true;
}
