#include "business/Cgjh_frm.h"

#include "business/period_query_panel.h"
#include "business/product_lookups.h"
#include "business/sql_values.h"
#include "db/Public_DM.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/lb_button.h"
#include "platform/widgets/number_edit.h"
#include "shell/message_boxes.h"
#include "shell/public_unit.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace {

const QString kReturnMarker = QStringLiteral("退货");

// The delete question: Yes and No, no icon.
// Runs a cascade step; its errors are shown as the program's top-level handler shows them.
template <typename Step> void runShowingErrors(QWidget* parent, Step step) {
    try {
        step();
    } catch (const db::SqlError& e) {
        ShowError(e.message(), parent);
    }
}

} // namespace

TFrm_Cgjh::TFrm_Cgjh(QWidget* parent)
    : TFrm_Cgjh(QString(), parent) {}

TFrm_Cgjh::TFrm_Cgjh(const QString& docKind, QWidget* parent)
    : TFrm_Cgjh(docKind, Creation::Purchase, parent) {}

TFrm_Cgjh::TFrm_Cgjh(const QString& docKind, Creation creation, QWidget* parent)
    : TMb_Public_Unit(parent) {
    setObjectName(QStringLiteral("TFrm_Cgjh"));
    DocKind = docKind;
    buildScreen();
    if (creation == Creation::Purchase)
        FormCreate();
    setWindowTitle(IsReturnMode() ? QStringLiteral("采购退货") : QStringLiteral("采购进货"));
}

TFrm_Cgjh::~TFrm_Cgjh() = default;

bool TFrm_Cgjh::IsReturnMode() const {
    return DocKind == kReturnMarker;
}

QString TFrm_Cgjh::LineKind() const {
    return IsReturnMode() ? QStringLiteral("采购退货") : QStringLiteral("采购入库");
}

QString TFrm_Cgjh::boxText(const QComboBox* box) {
    return box->currentText().trimmed();
}

void TFrm_Cgjh::buildScreen() {
    setLabelText(DBComboBoxEh3, QStringLiteral("规格(型号颜色口味)"));
    for (NumberEdit* edit : {djdb, sldb, sumdb})
        edit->setDecimalPlaces(4);
    djdb->setValue(0.0);
    sldb->setValue(1.0);
    DBComboBoxEh1->clear();

    SpeedButton1 = new QToolButton(m_entryPanel);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    SpeedButton1->setToolTip(QStringLiteral("快速查找以前录入的商品"));
    m_entryLayout->addWidget(SpeedButton1, 0, 8);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });

    LbButton4->setText(QStringLiteral("所有记录"));

    buildLookupPanel();
    buildListPart();
    applyReturnLabels();
    setTabOrder();

    connect(DBComboBoxEh1, &QComboBox::currentTextChanged, this,
            [this] { runShowingErrors(this, [this] { DBComboBoxEh1Change(); }); });
    connect(DBComboBoxEh2, &QComboBox::currentTextChanged, this,
            [this] { runShowingErrors(this, [this] { DBComboBoxEh2Change(); }); });
    connect(DBComboBoxEh3, &QComboBox::currentTextChanged, this,
            [this] { runShowingErrors(this, [this] { DBComboBoxEh3Change(); }); });
    connect(DBComboBoxEh4, &QComboBox::currentTextChanged, this,
            [this] { runShowingErrors(this, [this] { DBComboBoxEh4Change(); }); });
    connect(DBGridEh1, &DataGrid::clicked, this, [this] { DBGridEh1CellClick(); });
}

void TFrm_Cgjh::buildLookupPanel() {
    Panel4 = new QFrame(this);
    Panel4->setObjectName(QStringLiteral("Panel4"));
    Panel4->setFrameShape(QFrame::StyledPanel);
    Panel4->setAutoFillBackground(true);
    mmEdit1 = new QLineEdit(Panel4);
    mmEdit1->setObjectName(QStringLiteral("mmEdit1"));
    mmEdit2 = new QLineEdit(Panel4);
    mmEdit2->setObjectName(QStringLiteral("mmEdit2"));
    mmEdit2->setReadOnly(true);
    mmEdit3 = new QLineEdit(Panel4);
    mmEdit3->setObjectName(QStringLiteral("mmEdit3"));
    mmEdit3->setReadOnly(true);
    mmCb1 = new QComboBox(Panel4);
    mmCb1->setObjectName(QStringLiteral("mmCb1"));
    BitBtn1 = new QPushButton(QStringLiteral("确定"), Panel4);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("取消"), Panel4);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* layout = new QGridLayout(Panel4);
    layout->addWidget(new QLabel(QStringLiteral("商品编码"), Panel4), 0, 0);
    layout->addWidget(mmEdit1, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("商品大类"), Panel4), 1, 0);
    layout->addWidget(mmEdit2, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("商品名称"), Panel4), 2, 0);
    layout->addWidget(mmEdit3, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("规格(型号颜色口味)"), Panel4), 3, 0);
    layout->addWidget(mmCb1, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons, 4, 0, 1, 2);
    Panel4->setMinimumWidth(300);
    Panel4->hide();

    connect(mmEdit1, &QLineEdit::textChanged, this, [this] { mmEdit1Change(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    // Panel4Exit: the focus leaving the panel for another control of this window hides it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (Panel4->isVisible() && now && !Panel4->isAncestorOf(now) && now->window() == window())
            Panel4->hide();
    });
}

void TFrm_Cgjh::applyReturnLabels() {
    if (!IsReturnMode())
        return;
    setLabelText(djdb, QStringLiteral("退货单价(必填)"));
    setLabelText(sldb, QStringLiteral("退货数量(必填)"));
    setLabelText(DBDateTimeEditEh1, QStringLiteral("退货日期"));
    setLabelText(DBComboBoxEh6, QStringLiteral("退货人"));
    DBGridEh1->setColumnTitle(QStringLiteral("进货人"), QStringLiteral("退货人"));
    DBGridEh1->setColumnTitle(QStringLiteral("进货日期"), QStringLiteral("退货日期"));
    DBGridEh1->setColumnTitle(QStringLiteral("进货单价"), QStringLiteral("退货单价"));
    DBGridEh1->setColumnTitle(QStringLiteral("进货数量"), QStringLiteral("退货数量"));
}

void TFrm_Cgjh::setTabOrder() {
    const QList<QWidget*> order = {
        DBComboBoxEh1, DBComboBoxEh2,     DBComboBoxEh3, DBComboBoxEh4, djdb,      sldb,
        sumdb,         DBDateTimeEditEh1, DBComboBoxEh5, LbButton1,     LbButton3, LbButton2,
        LbButton4,     LbButton6,         LbButton7,     Memo1,         LbButton5, KlLbButton11};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void TFrm_Cgjh::FormCreate() {
    StartQueryTiming();
    DBDateTimeEditEh1->setDate(QDate::currentDate());

    Append_Ado.open(QStringLiteral("Select 客户简称 From Tab_khgl where 类型=") +
                    db::quoted(QStringLiteral("供商资料")) +
                    QStringLiteral(" Order by 客户简称 Desc"));
    QStringList suppliers;
    for (; !Append_Ado.eof(); Append_Ado.next())
        suppliers << Append_Ado.text(QStringLiteral("客户简称")).trimmed();
    Append_Ado.close();
    for (QComboBox* box : {DBComboBoxEh5, Panel3->partnerBox}) {
        box->clear();
        box->addItems(suppliers);
        box->setCurrentIndex(-1);
    }

    ReportQueryTiming(Dbgrid_Ado.open(TodayListSql()));

    Append_Ado.open(ProductCategoriesSql());
    QStringList categories;
    for (; !Append_Ado.eof(); Append_Ado.next())
        categories << Append_Ado.value(0).toString().trimmed();
    Append_Ado.close();
    for (QComboBox* box : {DBComboBoxEh1, Panel3->categoryBox}) {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(categories);
        box->setCurrentIndex(-1);
    }
}

void TFrm_Cgjh::FormShow() {
    TMb_Public_Unit::FormShow();
    FillUserCombo(Panel3->ownerBox, Append_Ado);
}

void TFrm_Cgjh::writeLog(const QString& content) {
    AddOperationLog(CurComputer, CurUserName, CurUserNo, content, QStringLiteral("重要"),
                    Append_Ado);
}

// ---- cascade -------------------------------------------------------------------------------

bool TFrm_Cgjh::fillCascadeBox(QComboBox* box, const QString& sql) {
    Append_Ado.open(sql);
    QStringList items;
    for (; !Append_Ado.eof(); Append_Ado.next())
        items << Append_Ado.value(0).toString().trimmed();
    Append_Ado.close();
    {
        const QSignalBlocker blocker(box);
        const QString typed = box->currentText();
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(-1);
        box->setEditText(typed);
    }
    if (items.isEmpty())
        return false;
    const bool same = box->currentText() == items.first();
    box->setCurrentIndex(0);
    // Selecting the first item raises the box's change step even when it already showed it.
    if (same) {
        if (box == DBComboBoxEh2)
            DBComboBoxEh2Change();
        else if (box == DBComboBoxEh3)
            DBComboBoxEh3Change();
        else if (box == DBComboBoxEh4)
            DBComboBoxEh4Change();
    }
    return true;
}

void TFrm_Cgjh::DBComboBoxEh1Change() {
    const QString category = boxText(DBComboBoxEh1);
    if (category.isEmpty())
        return;
    fillCascadeBox(DBComboBoxEh2, ProductNamesSql(category));
}

void TFrm_Cgjh::DBComboBoxEh2Change() {
    const QString name = boxText(DBComboBoxEh2);
    if (name.isEmpty())
        return;
    fillCascadeBox(DBComboBoxEh3, ProductSpecsSql(name));
}

void TFrm_Cgjh::DBComboBoxEh3Change() {
    const QString spec = boxText(DBComboBoxEh3);
    if (spec.isEmpty())
        return;
    fillCascadeBox(DBComboBoxEh4, NewestCodeOfSpecSql(spec));
}

void TFrm_Cgjh::DBComboBoxEh4Change() {
    const QString code = boxText(DBComboBoxEh4);
    if (code.isEmpty())
        return;
    djdb->setValue(0.0);
    // A return starts from the last purchase price too.
    Append_Ado.open(
        QStringLiteral("Select 商品编码,编号,进货单价 From Tab_Cgjh Where 商品编码=") +
        db::quoted(code) + QStringLiteral(" and 类型=") + db::quoted(QStringLiteral("采购入库")) +
        QStringLiteral(" Group By 商品编码,编号,进货单价 Order by 编号 desc limit 1000"));
    if (!Append_Ado.eof()) {
        const QVariant price = Append_Ado.value(QStringLiteral("进货单价"));
        if (price.isNull())
            djdb->clearValue();
        else
            djdb->setValue(price.toDouble());
    }
    Append_Ado.close();
}

// ---- add, modify, delete -------------------------------------------------------------------

bool TFrm_Cgjh::LbButton1Click() {
    try {
        const QString kind = LineKind();
        const QDate date = DBDateTimeEditEh1->date();
        if (!date.isValid())
            return false;
        if (date != QDate::currentDate() &&
            !AskYesNo(QStringLiteral("信息"),
                      QStringLiteral("当前入单日期:") + ShortDate(date) +
                          QStringLiteral("不等于今天的日期,确定要增加记录吗？"),
                      this))
            return false;

        const QString category = boxText(DBComboBoxEh1);
        const QString name = boxText(DBComboBoxEh2);
        const QString code = boxText(DBComboBoxEh4);
        if (category.isEmpty() || name.isEmpty() || code.isEmpty() || djdb->isEmpty() ||
            sldb->isEmpty())
            return false;

        // A new product (no line of this kind under its category and name) may not take a code
        // already used by lines of this kind.
        Append_Ado.open(QStringLiteral("select 商品编码 From Tab_Cgjh Where  商品大类=") +
                        db::quoted(category) + QStringLiteral(" And 商品名称=") + db::quoted(name) +
                        QStringLiteral(" and 类型=") + db::quoted(kind));
        const bool knownProduct = !Append_Ado.eof();
        Append_Ado.close();
        if (!knownProduct) {
            Append_Ado.open(QStringLiteral("select 商品编码 From Tab_Cgjh Where  商品编码=") +
                            db::quoted(code) + QStringLiteral(" and 类型=") + db::quoted(kind));
            const bool codeUsed = !Append_Ado.eof();
            Append_Ado.close();
            if (codeUsed) {
                ShowInformation(QStringLiteral("编码重复,不能新增!"), this);
                DBComboBoxEh4->setFocus();
                return false;
            }
        }

        TableName = QStringLiteral("Tab_Cgjh");
        if (!TMb_Public_Unit::LbButton1Click())
            return false;

        const QString values = QLatin1Char(',') + db::quoted(category) + QLatin1Char(',') +
                               db::quoted(name) + QLatin1Char(',') +
                               TextSql(DBComboBoxEh3->currentText()) + QLatin1Char(',') +
                               db::quoted(code) + QLatin1Char(',') + NumberSql(djdb->value()) +
                               QLatin1Char(',') + NumberSql(sldb->value()) + QLatin1Char(',') +
                               NumberSql(sumdb->value()) + QLatin1Char(',') + DateSql(date) +
                               QLatin1Char(',') + TextSql(DBComboBoxEh5->currentText()) +
                               QLatin1Char(',') + db::quoted(DBComboBoxEh6->currentText()) +
                               QLatin1Char(',') + TextSql(Memo1->toPlainText()) + QLatin1Char(',') +
                               db::quoted(kind) + QStringLiteral(",0)");
        InsertWithDocumentNo(
            TableName, NewDocNo.trimmed(),
            [&values](const QString& number) -> QString {
                return QStringLiteral("Insert Into Tab_Cgjh(编号,商品大类,商品名称,规格,商品编码,"
                                      "进货单价,进货数量,合计,进货日期,供货商,进货人,备注,类型,"
                                      "打印标志)Values(") +
                       db::quoted(number) + values;
            },
            Append_Ado);

        ShowInformation(QStringLiteral("增加记录成功!"), this);
        Panel3->hide();
        openTodayList();
        writeLog(QStringLiteral("工号为：") + CurUserNo.trimmed() + QStringLiteral(" 增加--") +
                 kind + QStringLiteral(" 单据成功!新增的商品名称为") + name);
        return true;
    } catch (const db::SqlError&) {
        return false;
    }
}

bool TFrm_Cgjh::LbButton3Click() {
    if (!TMb_Public_Unit::LbButton3Click())
        return false;
    try {
        const QString kind = LineKind();
        const QString code = boxText(DBComboBoxEh4);
        Append_Ado.open(QStringLiteral("select 商品编码 From Tab_cgjh Where 商品编码=") +
                        db::quoted(code));
        const bool codeKnown = !Append_Ado.eof();
        Append_Ado.close();
        if (!codeKnown || DBGridEh1->selectedCount() == 0) {
            Append_Ado.close();
            return LbButton1Click();
        }
        const QString number = DBGridEh1->currentValue(QStringLiteral("编号")).toString();
        Append_Ado.exec(QStringLiteral("Update Tab_Cgjh Set 商品大类=") +
                        TextSql(DBComboBoxEh1->currentText()) + QStringLiteral(",商品名称=") +
                        TextSql(DBComboBoxEh2->currentText()) + QStringLiteral(",规格=") +
                        TextSql(DBComboBoxEh3->currentText()) + QStringLiteral(",进货单价=") +
                        NumberSql(djdb->value()) + QStringLiteral(",进货数量=") +
                        NumberSql(sldb->value()) + QStringLiteral(",合计=") +
                        NumberSql(sumdb->value()) + QStringLiteral(",进货日期=") +
                        DateSql(DBDateTimeEditEh1->date()) + QStringLiteral(",供货商=") +
                        TextSql(DBComboBoxEh5->currentText()) + QStringLiteral(",进货人=") +
                        db::quoted(DBComboBoxEh6->currentText()) + QStringLiteral(",备注=") +
                        TextSql(Memo1->toPlainText()) + QStringLiteral(" where 商品编码=") +
                        db::quoted(code) + QStringLiteral(" and 编号=") + db::quoted(number) +
                        QStringLiteral(" and 类型=") + db::quoted(kind));
        Dbgrid_Ado.reopen();
        ShowInformation(QStringLiteral("修改成功!"), this);
        writeLog(QStringLiteral("工号为：") + CurUserNo.trimmed() + QStringLiteral(" 修改--!") +
                 kind + QStringLiteral("单据成功!商品编码为：") + db::quoted(code));
        return true;
    } catch (const db::SqlError&) {
        return false;
    }
}

bool TFrm_Cgjh::LbButton2Click() {
    if (!TMb_Public_Unit::LbButton2Click())
        return false;
    const QList<int> rows = DBGridEh1->selectedRows();
    if (rows.isEmpty())
        return false;
    if (!AskDeleteLines(int(rows.size())))
        return false;
    try {
        for (int row : rows) {
            auto field = [&](const char* name) {
                return DBGridEh1->value(row, QString::fromUtf8(name)).toString();
            };
            Append_Ado.exec(QStringLiteral("delete from Tab_Cgjh where 商品大类=") +
                            TextSql(field("商品大类")) + QStringLiteral(" and 商品名称=") +
                            TextSql(field("商品名称")) + QStringLiteral(" and 商品编码=") +
                            TextSql(field("商品编码")) + QStringLiteral(" and 编号=") +
                            db::quoted(field("编号")));
        }
        Dbgrid_Ado.reopen();
        ShowInformation(QStringLiteral("删除成功!"), this);
        writeLog(QStringLiteral("工号为：") + CurUserNo.trimmed() +
                 QStringLiteral(" 删除--采购进货/退货单据成功!"));
        return true;
    } catch (const db::SqlError&) {
        return false;
    }
}

// ---- row click and lookup panel ------------------------------------------------------------

void TFrm_Cgjh::DBGridEh1CellClick() {
    if (DBGridEh1->currentRow() < 0)
        return;
    try {
        auto value = [this](const char* field) {
            return DBGridEh1->currentValue(QString::fromUtf8(field));
        };
        DBComboBoxEh1->setEditText(value("商品大类").toString());
        DBComboBoxEh2->setEditText(value("商品名称").toString());
        DBComboBoxEh3->setEditText(value("规格").toString());
        DBComboBoxEh4->setEditText(value("商品编码").toString());
        DBComboBoxEh5->setEditText(value("供货商").toString());
        DBComboBoxEh6->setEditText(value("进货人").toString());
        auto setNumber = [](NumberEdit* edit, const QVariant& v) {
            if (v.isNull())
                edit->clearValue();
            else
                edit->setValue(v.toDouble());
        };
        setNumber(djdb, value("进货单价"));
        setNumber(sldb, value("进货数量"));
        setNumber(sumdb, value("合计"));
        DBDateTimeEditEh1->setDate(value("进货日期").toDate());
        Memo1->setPlainText(value("备注").toString());
    } catch (const db::SqlError&) {
    }
}

void TFrm_Cgjh::SpeedButton1Click() {
    Panel4->adjustSize();
    const QPoint below = SpeedButton1->mapTo(this, QPoint(0, SpeedButton1->height()));
    Panel4->move(qMax(0, qMin(below.x() - Panel4->width() + SpeedButton1->width(),
                              width() - Panel4->width())),
                 below.y());
    Panel4->show();
    Panel4->raise();
    mmEdit1->setFocus();
}

void TFrm_Cgjh::mmEdit1Change() {
    try {
        Append_Ado.open(
            QStringLiteral(
                "Select  商品编码,商品大类,商品名称,规格 From Tab_Cgjh Where 商品编码=") +
            TextSql(mmEdit1->text()));
        mmCb1->clear();
        if (Append_Ado.eof()) {
            mmEdit2->clear();
            mmEdit3->clear();
        } else {
            mmEdit2->setText(Append_Ado.text(QStringLiteral("商品大类")));
            mmEdit3->setText(Append_Ado.text(QStringLiteral("商品名称")));
            for (; !Append_Ado.eof(); Append_Ado.next())
                mmCb1->addItem(Append_Ado.text(QStringLiteral("规格")));
        }
        Append_Ado.close();
        mmCb1->setCurrentIndex(mmCb1->count() > 0 ? 0 : -1);
    } catch (const db::SqlError&) {
    }
}

void TFrm_Cgjh::BitBtn1Click() {
    if (!mmEdit1->text().trimmed().isEmpty()) {
        runShowingErrors(this, [this] {
            DBComboBoxEh1->setEditText(mmEdit2->text());
            DBComboBoxEh2->setEditText(mmEdit3->text());
            DBComboBoxEh3->setEditText(mmCb1->currentText());
            DBComboBoxEh4->setEditText(mmEdit1->text());
        });
    }
    Panel4->hide();
}

void TFrm_Cgjh::BitBtn2Click() {
    Panel4->hide();
}
