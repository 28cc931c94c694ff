#include "business/period_query_panel.h"

#include "business/product_lookups.h"
#include "business/sql_values.h"
#include "db/query.h"
#include "db/sql_text.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/lb_button.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QComboBox* makeBox(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(130);
    return box;
}

} // namespace

PeriodQueryPanel::PeriodQueryPanel(const Names& names, QWidget* parent)
    : QFrame(parent) {
    setObjectName(names.panel);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);

    m_title = new QLabel(names.title, this);
    m_title->setObjectName(names.panel + QStringLiteral("_title"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    m_title->setFont(titleFont);

    auto* period = m_periodGroup = new QGroupBox(QStringLiteral("按时间查询记录"), this);
    rb1 = new QRadioButton(QStringLiteral("按年查询"), period);
    rb2 = new QRadioButton(QStringLiteral("按月查询"), period);
    rb3 = new QRadioButton(QStringLiteral("按日查询"), period);
    rb4 = new QRadioButton(QStringLiteral("按任意时间段查询"), period);
    rb5 = new QRadioButton(QStringLiteral("所有时间"), period);
    rb1->setObjectName(QStringLiteral("rb1"));
    rb2->setObjectName(QStringLiteral("rb2"));
    rb3->setObjectName(QStringLiteral("rb3"));
    rb4->setObjectName(QStringLiteral("rb4"));
    rb5->setObjectName(QStringLiteral("rb5"));
    rb5->setChecked(true);
    m_chooseLabel = new QLabel(QStringLiteral("请选择(必填)"), period);
    cbyear = makeBox(period, QStringLiteral("cbyear"));
    cbyear->setMinimumWidth(70);
    m_yearLabel = new QLabel(QStringLiteral("年"), period);
    cbmos = makeBox(period, QStringLiteral("cbmos"));
    cbmos->setMinimumWidth(50);
    for (int m = 1; m <= 12; ++m)
        cbmos->addItem(QString::number(m));
    m_monthLabel = new QLabel(QStringLiteral("月"), period);
    m_fromLabel = new QLabel(QStringLiteral("从"), period);
    dt1 = new DateEdit(QDate::currentDate(), period);
    dt1->setObjectName(QStringLiteral("dt1"));
    m_toLabel = new QLabel(QStringLiteral("到"), period);
    dt2 = new DateEdit(QDate::currentDate(), period);
    dt2->setObjectName(QStringLiteral("dt2"));
    auto* periodLayout = new QGridLayout(period);
    periodLayout->addWidget(rb1, 0, 0);
    periodLayout->addWidget(rb2, 0, 1);
    periodLayout->addWidget(rb3, 0, 2);
    periodLayout->addWidget(rb4, 0, 3);
    periodLayout->addWidget(rb5, 0, 4);
    auto* inputs = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_chooseLabel, cbyear, m_yearLabel, cbmos, m_monthLabel,
                                         m_fromLabel, dt1, m_toLabel, dt2})
        inputs->addWidget(w);
    inputs->addStretch();
    periodLayout->addLayout(inputs, 1, 0, 1, 5);

    auto* product = m_productGroup = new QGroupBox(QStringLiteral("按商品内容查询记录"), this);
    categoryBox = makeBox(product, names.category);
    nameBox = makeBox(product, names.name);
    specBox = makeBox(product, names.spec);
    codeBox = makeBox(product, names.code);
    auto* productLayout = new QGridLayout(product);
    productLayout->addWidget(new QLabel(QStringLiteral("商品大类(必填)"), product), 0, 0);
    productLayout->addWidget(categoryBox, 0, 1);
    productLayout->addWidget(new QLabel(QStringLiteral("商品名称(必填)"), product), 0, 2);
    productLayout->addWidget(nameBox, 0, 3);
    productLayout->addWidget(new QLabel(names.specLabel, product), 1, 0);
    productLayout->addWidget(specBox, 1, 1);
    productLayout->addWidget(new QLabel(QStringLiteral("商品编码(必填）"), product), 1, 2);
    productLayout->addWidget(codeBox, 1, 3);

    auto* persons = m_personsGroup = new QGroupBox(QStringLiteral("按人员查询记录"), this);
    partnerBox = makeBox(persons, names.partner);
    ownerBox = makeBox(persons, names.owner);
    auto* personsLayout = new QGridLayout(persons);
    auto* partnerLabel = new QLabel(names.partnerLabel, persons);
    partnerLabel->setObjectName(names.partner + QStringLiteral("_label"));
    auto* ownerLabel = new QLabel(names.ownerLabel, persons);
    ownerLabel->setObjectName(names.owner + QStringLiteral("_label"));
    personsLayout->addWidget(partnerLabel, 0, 0);
    personsLayout->addWidget(partnerBox, 0, 1);
    personsLayout->addWidget(ownerLabel, 0, 2);
    personsLayout->addWidget(ownerBox, 0, 3);

    LbButton9 = new LbButton(QStringLiteral("查询"), this);
    LbButton9->setObjectName(QStringLiteral("LbButton9"));
    LbButton10 = new LbButton(QStringLiteral("所有记录"), this);
    LbButton10->setObjectName(QStringLiteral("LbButton10"));
    LbButton8 = new LbButton(QStringLiteral("关闭"), this);
    LbButton8->setObjectName(QStringLiteral("LbButton8"));
    LbButton8->setClickHandler([this] {
        hide();
        return true;
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(LbButton9);
    buttons->addWidget(LbButton10);
    buttons->addWidget(LbButton8);

    m_layout = new QVBoxLayout(this);
    m_layout->addWidget(m_title);
    m_layout->addWidget(period);
    m_layout->addWidget(product);
    m_layout->addWidget(persons);
    m_layout->addLayout(buttons);

    for (QRadioButton* rb : {rb1, rb2, rb3, rb4, rb5})
        connect(rb, &QRadioButton::clicked, this, [this] { applyMode(); });
    connect(categoryBox, &QComboBox::currentTextChanged, this, [this] { categoryChanged(); });
    connect(nameBox, &QComboBox::currentTextChanged, this, [this] { nameChanged(); });
    connect(specBox, &QComboBox::currentTextChanged, this, [this] { specChanged(); });

    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (m_hideOnFocusLeave && isVisible() && now && !isAncestorOf(now) &&
            now->window() == window())
            hide();
    });

    applyMode();
    hide();
}

void PeriodQueryPanel::setTitle(const QString& title) {
    m_title->setText(title);
}

void PeriodQueryPanel::setFilterContent(QWidget* content) {
    for (QGroupBox* group : {m_periodGroup, m_productGroup, m_personsGroup})
        group->hide();
    content->setParent(this);
    // Below the title, above the buttons.
    m_layout->insertWidget(1, content);
    content->show();
}

void PeriodQueryPanel::setHideOnFocusLeave(bool hide) {
    m_hideOnFocusLeave = hide;
}

PeriodQueryPanel::Mode PeriodQueryPanel::mode() const {
    if (rb1->isChecked())
        return Mode::Year;
    if (rb2->isChecked())
        return Mode::Month;
    if (rb3->isChecked())
        return Mode::Day;
    if (rb4->isChecked())
        return Mode::Range;
    return Mode::AllTime;
}

void PeriodQueryPanel::setMode(Mode mode) {
    QRadioButton* buttons[] = {rb1, rb2, rb3, rb4, rb5};
    buttons[int(mode)]->setChecked(true);
    applyMode();
}

void PeriodQueryPanel::applyMode() {
    const Mode m = mode();
    m_chooseLabel->setVisible(m != Mode::AllTime);
    cbyear->setVisible(m == Mode::Year || m == Mode::Month);
    m_yearLabel->setVisible(m == Mode::Month);
    cbmos->setVisible(m == Mode::Month);
    m_monthLabel->setVisible(m == Mode::Month);
    dt1->setVisible(m == Mode::Day || m == Mode::Range);
    m_fromLabel->setVisible(m == Mode::Range);
    dt2->setVisible(m == Mode::Range);
    m_toLabel->setVisible(m == Mode::Range);
    if (m == Mode::Day)
        dt1->setDate(QDate::currentDate());
    else if (m == Mode::Range)
        dt1->setDate(QDate::currentDate().addDays(-30));
}

QString PeriodQueryPanel::periodCondition(const QString& dateColumn) const {
    using Part = db::SqlDialect::DatePart;
    const db::SqlDialect& d = db::dialect();
    const QString year = db::quoted(cbyear->currentText().trimmed());
    switch (mode()) {
    case Mode::Year:
        return QStringLiteral(" and  ") + d.datePartEquals(Part::Year, dateColumn, year);
    case Mode::Month:
        return QStringLiteral(" and  ") +
               d.datePartEquals(Part::Month, dateColumn,
                                db::quoted(cbmos->currentText().trimmed())) +
               QStringLiteral(" and  ") + d.datePartEquals(Part::Year, dateColumn, year);
    case Mode::Day:
        return QStringLiteral(" and ") + dateColumn + QLatin1Char('=') + DateSql(dt1->date());
    case Mode::Range:
        return QStringLiteral(" and ") + dateColumn + QStringLiteral(">=") + DateSql(dt1->date()) +
               QStringLiteral(" and ") + dateColumn + QStringLiteral("<=") + DateSql(dt2->date());
    case Mode::AllTime:
        break;
    }
    return {};
}

QString PeriodQueryPanel::likeFilter(const QString& column, const QComboBox* box) {
    return QStringLiteral(" and ") + column + QStringLiteral(" like ") +
           db::containsPattern(box->currentText());
}

void PeriodQueryPanel::toggle() {
    const QDate today = QDate::currentDate();
    cbyear->setEditText(today.toString(QStringLiteral("yyyy")));
    cbmos->setEditText(today.toString(QStringLiteral("MM")));
    dt1->setDate(dt1->isVisibleTo(this) && dt2->isVisibleTo(this) ? today.addDays(-30) : today);
    dt2->setDate(today);
    if (isVisible()) {
        hide();
    } else {
        show();
        raise();
    }
}

void PeriodQueryPanel::fillBox(QComboBox* box, const QString& sql) {
    Q_ASSERT(m_lookup);
    m_lookup->open(sql);
    QStringList items;
    for (; !m_lookup->eof(); m_lookup->next())
        items << m_lookup->value(0).toString().trimmed();
    m_lookup->close();
    {
        const QSignalBlocker blocker(box);
        box->clear();
        box->addItems(items);
        box->setCurrentIndex(-1);
        box->setEditText(QString());
    }
    if (box == specBox)
        Q_EMIT specsFilled(items);
    if (!items.isEmpty())
        box->setCurrentIndex(0);
}

void PeriodQueryPanel::categoryChanged() {
    const QString category = categoryBox->currentText().trimmed();
    if (category.isEmpty() || !m_lookup)
        return;
    fillBox(nameBox, ProductNamesSql(category));
}

void PeriodQueryPanel::nameChanged() {
    const QString name = nameBox->currentText().trimmed();
    if (name.isEmpty() || !m_lookup)
        return;
    fillBox(specBox, ProductSpecsSql(name));
}

void PeriodQueryPanel::specChanged() {
    const QString spec = specBox->currentText().trimmed();
    if (spec.isEmpty() || !m_lookup)
        return;
    fillBox(codeBox, NewestCodeOfSpecSql(spec));
}
