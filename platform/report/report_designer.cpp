#include "platform/report/report_designer.h"

#include "platform/report/report_renderer.h"
#include "platform/widgets/file_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <functional>

namespace report {

namespace {

constexpr int kStripHeight = 18; // the band's title strip above its area
constexpr int kCanvasMargin = 10;
constexpr int kHandle = 7;    // the resize handle at an object's lower right corner
constexpr double kSnap = 0.5; // mm

double snap(double mm) {
    return std::round(mm / kSnap) * kSnap;
}

} // namespace

// Draws the page's bands one below the other, each under a strip with its name, and turns
// mouse drags into changes of the layout.
class DesignCanvas : public QWidget {
public:
    DesignCanvas(ReportLayout& layout, QWidget* parent)
        : QWidget(parent)
        , m_layout(layout) {
        setObjectName(QStringLiteral("designCanvas"));
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
    }

    std::function<void(int band, int object)> onSelect;
    std::function<void()> onChanged; // a drag changed the layout
    std::function<bool(QKeyEvent*)> onKey;
    int selectedBand = -1;
    int selectedObject = -1;

    double scale() const { return logicalDpiX() / 25.4; } // pixels per mm at 100 %

    // Band indexes in printing order.
    QList<int> order() const {
        QList<int> indexes;
        for (int i = 0; i < m_layout.bands.size(); ++i)
            indexes.append(i);
        std::stable_sort(indexes.begin(), indexes.end(), [&](int a, int b) {
            return m_layout.bands[a].type < m_layout.bands[b].type;
        });
        return indexes;
    }

    // Top of the band's area (below its strip).
    int bandTop(int band) const {
        int y = kCanvasMargin;
        for (int i : order()) {
            y += kStripHeight;
            if (i == band)
                return y;
            y += int(std::lround(m_layout.bands[i].height * scale()));
        }
        return y;
    }

    int bandBottom(int band) const {
        return bandTop(band) + int(std::lround(m_layout.bands[band].height * scale()));
    }

    int pageLeft() const { return kCanvasMargin; }

    QRect objectRect(int band, int object) const {
        const ReportObject& o = m_layout.bands[band].objects[object];
        const double s = scale();
        QRectF r(pageLeft() + (m_layout.page.left + o.x) * s, bandTop(band) + o.y * s, o.width * s,
                 o.height * s);
        return r.normalized().toAlignedRect().adjusted(0, 0, 1, 1);
    }

    void updateSize() {
        const double s = scale();
        int height = kCanvasMargin;
        for (const ReportBand& b : m_layout.bands)
            height += kStripHeight + int(std::lround(b.height * s));
        setMinimumSize(int(m_layout.page.paperSizeMm().width() * s) + 2 * kCanvasMargin,
                       height + kCanvasMargin + 40);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(150, 150, 150));
        const double s = scale();
        const int pageWidth = int(m_layout.page.paperSizeMm().width() * s);
        const int left = pageLeft();
        const int marginLeft = left + int(m_layout.page.left * s);
        const int marginRight = left + pageWidth - int(m_layout.page.right * s);
        for (int i : order()) {
            const ReportBand& band = m_layout.bands[i];
            const int top = bandTop(i);
            const int h = int(std::lround(band.height * s));
            const QRect strip(left, top - kStripHeight, pageWidth, kStripHeight);
            p.fillRect(strip, i == selectedBand ? QColor(120, 160, 220) : QColor(205, 215, 230));
            p.setPen(Qt::black);
            p.setFont(QFont(QString::fromLatin1(kDefaultFontFamily), 8));
            QString title = bandTypeTitle(band.type);
            if (!band.groupField.isEmpty())
                title += QStringLiteral(" (分组: %1)").arg(band.groupField);
            if (band.stretch)
                title += QStringLiteral(" (随内容增高)");
            p.drawText(strip.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
            p.fillRect(QRect(left, top, pageWidth, h), Qt::white);
            p.setPen(QPen(QColor(200, 200, 200), 1, Qt::DashLine));
            p.drawLine(marginLeft, top, marginLeft, top + h);
            p.drawLine(marginRight, top, marginRight, top + h);
            p.drawLine(left, top + h, left + pageWidth, top + h);

            RenderedPage page;
            for (const ReportObject& o : band.objects) {
                RenderedItem item;
                item.rect = QRectF(m_layout.page.left + o.x, o.y, o.width, o.height);
                item.lineWidth = o.lineWidth;
                item.kind = o.type == ObjectType::Text   ? RenderedItem::Kind::Text
                            : o.type == ObjectType::Line ? RenderedItem::Kind::Line
                                                         : RenderedItem::Kind::Rect;
                item.line = QLineF(item.rect.topLeft(), item.rect.bottomRight());
                item.rect = item.rect.normalized();
                item.text = o.text;
                item.setTextStyle(o);
                page.items.append(item);
            }
            p.save();
            p.translate(left, top);
            paintPage(p, page);
            p.restore();
            // Text objects without a frame get a faint outline so that they can be found.
            p.setPen(QPen(QColor(180, 180, 255), 1, Qt::DotLine));
            for (int j = 0; j < band.objects.size(); ++j)
                if (band.objects[j].type == ObjectType::Text && band.objects[j].frame == 0)
                    p.drawRect(objectRect(i, j).adjusted(0, 0, -1, -1));
        }
        if (selectedBand >= 0 && selectedBand < m_layout.bands.size() && selectedObject >= 0 &&
            selectedObject < m_layout.bands[selectedBand].objects.size()) {
            const QRect r = objectRect(selectedBand, selectedObject);
            p.setPen(QPen(QColor(0, 90, 220), 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(-1, -1, 0, 0));
            p.fillRect(handleRect(r), QColor(0, 90, 220));
        }
    }

    void mousePressEvent(QMouseEvent* e) override {
        setFocus();
        m_drag = Drag::None;
        const QPoint pos = e->position().toPoint();
        m_pressPos = pos;
        // The selected object's resize handle first, then objects from the top.
        if (selectedBand >= 0 && selectedObject >= 0 && selectedBand < m_layout.bands.size() &&
            selectedObject < m_layout.bands[selectedBand].objects.size() &&
            handleRect(objectRect(selectedBand, selectedObject))
                .adjusted(-2, -2, 2, 2)
                .contains(pos)) {
            startDrag(Drag::Resize, selectedBand, selectedObject);
            return;
        }
        for (int i : order()) {
            const auto& objects = m_layout.bands[i].objects;
            for (int j = int(objects.size()) - 1; j >= 0; --j) {
                if (objectRect(i, j).adjusted(-2, -2, 2, 2).contains(pos)) {
                    select(i, j);
                    startDrag(Drag::Move, i, j);
                    return;
                }
            }
        }
        for (int i : order()) {
            if (std::abs(pos.y() - bandBottom(i)) <= 3) {
                select(i, -1);
                m_drag = Drag::BandHeight;
                m_dragBand = i;
                m_startHeight = m_layout.bands[i].height;
                return;
            }
            if (pos.y() >= bandTop(i) - kStripHeight && pos.y() < bandBottom(i)) {
                select(i, -1);
                return;
            }
        }
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        const QPoint pos = e->position().toPoint();
        if (m_drag == Drag::None) {
            bool onEdge = false;
            for (int i : order())
                onEdge = onEdge || std::abs(pos.y() - bandBottom(i)) <= 3;
            setCursor(onEdge ? Qt::SizeVerCursor : Qt::ArrowCursor);
            return;
        }
        const double dx = (pos.x() - m_pressPos.x()) / scale();
        const double dy = (pos.y() - m_pressPos.y()) / scale();
        if (m_drag == Drag::BandHeight) {
            m_layout.bands[m_dragBand].height = std::max(0.0, snap(m_startHeight + dy));
        } else {
            ReportObject& o = m_layout.bands[m_dragBand].objects[m_dragObject];
            if (m_drag == Drag::Move) {
                o.x = snap(m_start.x + dx);
                o.y = snap(m_start.y + dy);
            } else {
                o.width = snap(m_start.width + dx);
                o.height = snap(m_start.height + dy);
                if (o.type != ObjectType::Line) {
                    o.width = std::max(o.width, kSnap);
                    o.height = std::max(o.height, kSnap);
                }
            }
        }
        updateSize();
        if (onChanged)
            onChanged();
    }

    void mouseReleaseEvent(QMouseEvent*) override { m_drag = Drag::None; }

    void keyPressEvent(QKeyEvent* e) override {
        if (!onKey || !onKey(e))
            QWidget::keyPressEvent(e);
    }

private:
    enum class Drag { None, Move, Resize, BandHeight };

    static QRect handleRect(const QRect& r) {
        return QRect(r.right() - kHandle + 1, r.bottom() - kHandle + 1, kHandle, kHandle);
    }

    void select(int band, int object) {
        selectedBand = band;
        selectedObject = object;
        if (onSelect)
            onSelect(band, object);
        update();
    }

    void startDrag(Drag drag, int band, int object) {
        m_drag = drag;
        m_dragBand = band;
        m_dragObject = object;
        m_start = m_layout.bands[band].objects[object];
    }

    ReportLayout& m_layout;
    Drag m_drag = Drag::None;
    QPoint m_pressPos;
    int m_dragBand = -1;
    int m_dragObject = -1;
    ReportObject m_start;
    double m_startHeight = 0;
};

namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

QDoubleSpinBox* mmBox(const char* name, QWidget* parent, double min = -1000) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(min, 1000);
    box->setDecimals(1);
    box->setSingleStep(0.5);
    box->setSuffix(QStringLiteral(" 毫米"));
    return box;
}

} // namespace

ReportDesigner::ReportDesigner(const ReportLayout& layout, const QString& fileName, QWidget* parent)
    : QDialog(parent)
    , m_layout(layout)
    , m_saved(layout)
    , m_fileName(fileName) {
    setObjectName(QStringLiteral("reportDesigner"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(1200, 800);
    buildUi();
    if (!m_layout.bands.isEmpty())
        select(m_canvas->order().constFirst(), -1);
    else
        showSelection();
    updateTitle();
}

ReportDesigner::~ReportDesigner() = default;

void ReportDesigner::buildUi() {
    auto* root = new QVBoxLayout(this);

    auto* bar = new QHBoxLayout;
    root->addLayout(bar);
    auto* addText = button(QStringLiteral("添加文本"), "addTextButton", this);
    auto* addLine = button(QStringLiteral("添加直线"), "addLineButton", this);
    auto* addRect = button(QStringLiteral("添加矩形"), "addRectButton", this);
    auto* remove = button(QStringLiteral("删除对象"), "deleteButton", this);
    m_bandTypeBox = new QComboBox(this);
    m_bandTypeBox->setObjectName(QStringLiteral("bandTypeBox"));
    for (BandType type : allBandTypes())
        m_bandTypeBox->addItem(bandTypeTitle(type), int(type));
    auto* addBandButton = button(QStringLiteral("添加区域"), "addBandButton", this);
    auto* removeBand = button(QStringLiteral("删除区域"), "removeBandButton", this);
    auto* saveButton = button(QStringLiteral("保存"), "saveButton", this);
    auto* saveAsButton = button(QStringLiteral("另存为"), "saveAsButton", this);
    auto* closeButton = button(QStringLiteral("关闭"), "closeButton", this);
    for (QWidget* w : std::initializer_list<QWidget*>{addText, addLine, addRect, remove})
        bar->addWidget(w);
    bar->addSpacing(16);
    bar->addWidget(m_bandTypeBox);
    bar->addWidget(addBandButton);
    bar->addWidget(removeBand);
    bar->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{saveButton, saveAsButton, closeButton})
        bar->addWidget(w);

    auto* splitter = new QSplitter(this);
    root->addWidget(splitter, 1);

    // Field list
    auto* fieldsBox = new QGroupBox(QStringLiteral("数据字段"), splitter);
    auto* fieldsLayout = new QVBoxLayout(fieldsBox);
    m_fieldList = new QListWidget(fieldsBox);
    m_fieldList->setObjectName(QStringLiteral("fieldList"));
    auto* insertFieldButton = button(QStringLiteral("插入字段"), "insertFieldButton", fieldsBox);
    fieldsLayout->addWidget(m_fieldList);
    fieldsLayout->addWidget(insertFieldButton);

    // Canvas
    auto* scroll = new QScrollArea(splitter);
    m_canvas = new DesignCanvas(m_layout, scroll);
    scroll->setWidget(m_canvas);
    scroll->setWidgetResizable(false);
    m_canvas->updateSize();
    m_canvas->resize(m_canvas->minimumSize());

    // Properties
    auto* props = new QWidget(splitter);
    auto* propsLayout = new QVBoxLayout(props);
    m_selectionLabel = new QLabel(props);
    m_selectionLabel->setObjectName(QStringLiteral("selectionLabel"));
    propsLayout->addWidget(m_selectionLabel);

    auto* bandGroup = new QGroupBox(QStringLiteral("区域"), props);
    auto* bandForm = new QFormLayout(bandGroup);
    m_bandHeightBox = mmBox("bandHeightBox", bandGroup, 0);
    m_groupFieldEdit = new QLineEdit(bandGroup);
    m_groupFieldEdit->setObjectName(QStringLiteral("groupFieldEdit"));
    bandForm->addRow(QStringLiteral("高度:"), m_bandHeightBox);
    m_bandStretchBox = new QCheckBox(QStringLiteral("随内容增高"), bandGroup);
    m_bandStretchBox->setObjectName(QStringLiteral("bandStretchBox"));
    m_bandStretchBox->setToolTip(
        QStringLiteral("每次打印时区域增高到能放下其中“随文本增高”的文本，不会跨页分开"));
    bandForm->addRow(QStringLiteral("分组字段:"), m_groupFieldEdit);
    bandForm->addRow(QString(), m_bandStretchBox);
    propsLayout->addWidget(bandGroup);

    auto* objGroup = new QGroupBox(QStringLiteral("对象"), props);
    auto* objForm = new QFormLayout(objGroup);
    m_textEdit = new QPlainTextEdit(objGroup);
    m_textEdit->setObjectName(QStringLiteral("textEdit"));
    m_textEdit->setMaximumHeight(90);
    m_fontBox = new QFontComboBox(objGroup);
    m_fontBox->setObjectName(QStringLiteral("fontBox"));
    m_fontSizeBox = new QDoubleSpinBox(objGroup);
    m_fontSizeBox->setObjectName(QStringLiteral("fontSizeBox"));
    m_fontSizeBox->setRange(1, 200);
    m_fontSizeBox->setDecimals(1);
    m_boldBox = new QCheckBox(QStringLiteral("粗体"), objGroup);
    m_boldBox->setObjectName(QStringLiteral("boldBox"));
    m_alignBox = new QComboBox(objGroup);
    m_alignBox->setObjectName(QStringLiteral("alignBox"));
    m_alignBox->addItems(
        {QStringLiteral("左对齐"), QStringLiteral("居中"), QStringLiteral("右对齐")});
    m_valignBox = new QComboBox(objGroup);
    m_valignBox->setObjectName(QStringLiteral("valignBox"));
    m_valignBox->addItems({QStringLiteral("顶端"), QStringLiteral("居中"), QStringLiteral("底端")});
    m_frameBox = new QCheckBox(QStringLiteral("边框"), objGroup);
    m_frameBox->setObjectName(QStringLiteral("frameBox"));
    m_frameBox->setTristate(true);
    m_wrapBox = new QCheckBox(QStringLiteral("自动换行"), objGroup);
    m_wrapBox->setObjectName(QStringLiteral("wrapBox"));
    m_stretchBox = new QCheckBox(QStringLiteral("随文本增高"), objGroup);
    m_stretchBox->setObjectName(QStringLiteral("stretchBox"));
    m_stretchBox->setToolTip(QStringLiteral("在随内容增高的区域中，向下增高到显示全部文本"));
    m_stretchWithBandBox = new QCheckBox(QStringLiteral("随区域底边"), objGroup);
    m_stretchWithBandBox->setObjectName(QStringLiteral("stretchWithBandBox"));
    m_stretchWithBandBox->setToolTip(
        QStringLiteral("区域增高时，下边跟随区域的下边（表格单元格和竖线）"));
    m_xBox = mmBox("xBox", objGroup);
    m_yBox = mmBox("yBox", objGroup);
    m_widthBox = mmBox("widthBox", objGroup);
    m_heightBox = mmBox("heightBox", objGroup);
    m_lineWidthBox = mmBox("lineWidthBox", objGroup, 0);
    m_lineWidthBox->setSingleStep(0.1);
    objForm->addRow(QStringLiteral("文本:"), m_textEdit);
    objForm->addRow(QStringLiteral("字体:"), m_fontBox);
    objForm->addRow(QStringLiteral("字号:"), m_fontSizeBox);
    objForm->addRow(QString(), m_boldBox);
    objForm->addRow(QStringLiteral("水平对齐:"), m_alignBox);
    objForm->addRow(QStringLiteral("垂直对齐:"), m_valignBox);
    objForm->addRow(QString(), m_frameBox);
    objForm->addRow(QString(), m_wrapBox);
    objForm->addRow(QString(), m_stretchBox);
    objForm->addRow(QString(), m_stretchWithBandBox);
    objForm->addRow(QStringLiteral("左:"), m_xBox);
    objForm->addRow(QStringLiteral("上:"), m_yBox);
    objForm->addRow(QStringLiteral("宽:"), m_widthBox);
    objForm->addRow(QStringLiteral("高:"), m_heightBox);
    objForm->addRow(QStringLiteral("线宽:"), m_lineWidthBox);
    propsLayout->addWidget(objGroup);
    propsLayout->addStretch();

    splitter->setStretchFactor(1, 1);
    splitter->setSizes({180, 720, 300});

    m_canvas->onSelect = [this](int band, int object) { select(band, object); };
    m_canvas->onChanged = [this] {
        layoutChanged();
        showSelection();
    };
    m_canvas->onKey = [this](QKeyEvent* e) { return canvasKey(e); };

    connect(addText, &QPushButton::clicked, this, [this] { addObject(ObjectType::Text); });
    connect(addLine, &QPushButton::clicked, this, [this] { addObject(ObjectType::Line); });
    connect(addRect, &QPushButton::clicked, this, [this] { addObject(ObjectType::Rect); });
    connect(remove, &QPushButton::clicked, this, &ReportDesigner::deleteSelected);
    connect(addBandButton, &QPushButton::clicked, this,
            [this] { addBand(BandType(m_bandTypeBox->currentData().toInt())); });
    connect(removeBand, &QPushButton::clicked, this, &ReportDesigner::removeSelectedBand);
    connect(saveButton, &QPushButton::clicked, this, [this] { save(); });
    connect(saveAsButton, &QPushButton::clicked, this, [this] { saveAs(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    auto insertCurrentField = [this] {
        if (QListWidgetItem* item = m_fieldList->currentItem())
            insertField(item->text());
    };
    connect(insertFieldButton, &QPushButton::clicked, this, insertCurrentField);
    connect(m_fieldList, &QListWidget::itemDoubleClicked, this, insertCurrentField);

    connect(m_bandHeightBox, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        if (m_updating)
            return;
        if (ReportBand* band = selectedBandPtr()) {
            band->height = v;
            layoutChanged();
        }
    });
    connect(m_groupFieldEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_updating)
            return;
        if (ReportBand* band = selectedBandPtr()) {
            band->groupField = text.trimmed();
            layoutChanged();
        }
    });
    connect(m_bandStretchBox, &QCheckBox::toggled, this, [this](bool on) {
        if (m_updating)
            return;
        if (ReportBand* band = selectedBandPtr()) {
            band->stretch = on;
            layoutChanged();
        }
    });
    connect(m_textEdit, &QPlainTextEdit::textChanged, this, &ReportDesigner::applyProperties);
    connect(m_fontBox, &QFontComboBox::currentFontChanged, this, &ReportDesigner::applyProperties);
    for (QDoubleSpinBox* box :
         {m_fontSizeBox, m_xBox, m_yBox, m_widthBox, m_heightBox, m_lineWidthBox})
        connect(box, &QDoubleSpinBox::valueChanged, this, &ReportDesigner::applyProperties);
    for (QCheckBox* box : {m_boldBox, m_frameBox, m_wrapBox, m_stretchBox, m_stretchWithBandBox})
        connect(box, &QCheckBox::stateChanged, this, &ReportDesigner::applyProperties);
    for (QComboBox* box : {m_alignBox, m_valignBox})
        connect(box, &QComboBox::currentIndexChanged, this, &ReportDesigner::applyProperties);
}

void ReportDesigner::setFieldNames(const QStringList& names) {
    m_fieldList->clear();
    m_fieldList->addItems(names);
}

void ReportDesigner::updateTitle() {
    setWindowTitle(QStringLiteral("报表设计 - %1%2")
                       .arg(m_fileName.isEmpty() ? QStringLiteral("(未命名)") : m_fileName,
                            m_modified ? QStringLiteral(" *") : QString()));
}

ReportBand* ReportDesigner::selectedBandPtr() {
    return m_band >= 0 && m_band < m_layout.bands.size() ? &m_layout.bands[m_band] : nullptr;
}

ReportObject* ReportDesigner::selectedObjectPtr() {
    ReportBand* band = selectedBandPtr();
    if (!band || m_object < 0 || m_object >= band->objects.size())
        return nullptr;
    return &band->objects[m_object];
}

void ReportDesigner::select(int band, int object) {
    m_band = band;
    m_object = object;
    m_canvas->selectedBand = band;
    m_canvas->selectedObject = object;
    m_canvas->update();
    showSelection();
}

QRect ReportDesigner::objectRect(int band, int object) const {
    return m_canvas->objectRect(band, object);
}

int ReportDesigner::bandBottom(int band) const {
    return m_canvas->bandBottom(band);
}

void ReportDesigner::layoutChanged() {
    m_modified = true;
    m_canvas->updateSize();
    m_canvas->resize(m_canvas->minimumSize());
    updateTitle();
}

void ReportDesigner::showSelection() {
    m_updating = true;
    const ReportBand* band = selectedBandPtr();
    const ReportObject* o = selectedObjectPtr();
    m_bandHeightBox->setEnabled(band);
    m_groupFieldEdit->setEnabled(
        band && (band->type == BandType::GroupHeader || band->type == BandType::GroupFooter));
    m_bandHeightBox->setValue(band ? band->height : 0);
    m_groupFieldEdit->setText(band ? band->groupField : QString());
    m_bandStretchBox->setEnabled(band && band->type != BandType::PageFooter);
    m_bandStretchBox->setChecked(band && band->stretch);
    const bool isText = o && o->type == ObjectType::Text;
    for (QWidget* w : std::initializer_list<QWidget*>{m_textEdit, m_fontBox, m_fontSizeBox,
                                                      m_boldBox, m_alignBox, m_valignBox,
                                                      m_frameBox, m_wrapBox, m_stretchBox})
        w->setEnabled(isText);
    for (QWidget* w : std::initializer_list<QWidget*>{m_xBox, m_yBox, m_widthBox, m_heightBox,
                                                      m_stretchWithBandBox})
        w->setEnabled(o);
    m_lineWidthBox->setEnabled(o && !isText);
    if (o) {
        if (m_textEdit->toPlainText() != o->text)
            m_textEdit->setPlainText(o->text);
        m_fontBox->setCurrentFont(QFont(o->fontFamily));
        m_fontSizeBox->setValue(o->fontSize);
        m_boldBox->setChecked(o->bold);
        m_alignBox->setCurrentIndex(int(o->align));
        m_valignBox->setCurrentIndex(int(o->valign));
        m_frameBox->setCheckState(o->frame == FrameAll    ? Qt::Checked
                                  : o->frame == FrameNone ? Qt::Unchecked
                                                          : Qt::PartiallyChecked);
        m_wrapBox->setChecked(o->wordWrap);
        m_stretchBox->setChecked(o->stretch);
        m_stretchWithBandBox->setChecked(o->stretchWithBand);
        m_xBox->setValue(o->x);
        m_yBox->setValue(o->y);
        m_widthBox->setValue(o->width);
        m_heightBox->setValue(o->height);
        m_lineWidthBox->setValue(o->lineWidth);
    } else {
        m_textEdit->clear();
    }
    QString label;
    if (band) {
        label = bandTypeTitle(band->type);
        if (o)
            label += QStringLiteral(" / 对象 %1").arg(m_object + 1);
    } else {
        label = QStringLiteral("未选择");
    }
    m_selectionLabel->setText(label);
    m_updating = false;
}

void ReportDesigner::applyProperties() {
    if (m_updating)
        return;
    ReportObject* o = selectedObjectPtr();
    if (!o)
        return;
    ReportObject before = *o;
    if (o->type == ObjectType::Text) {
        o->text = m_textEdit->toPlainText();
        // The font box lists installed fonts only; keep the layout's family unless the user
        // picked another one.
        if (m_fontBox->currentFont().family() != QFont(o->fontFamily).family())
            o->fontFamily = m_fontBox->currentFont().family();
        o->fontSize = m_fontSizeBox->value();
        o->bold = m_boldBox->isChecked();
        o->align = HAlign(m_alignBox->currentIndex());
        o->valign = VAlign(m_valignBox->currentIndex());
        if (m_frameBox->checkState() == Qt::Checked)
            o->frame = FrameAll;
        else if (m_frameBox->checkState() == Qt::Unchecked)
            o->frame = FrameNone;
        o->wordWrap = m_wrapBox->isChecked();
        o->stretch = m_stretchBox->isChecked();
    } else {
        o->lineWidth = m_lineWidthBox->value();
    }
    o->stretchWithBand = m_stretchWithBandBox->isChecked();
    o->x = m_xBox->value();
    o->y = m_yBox->value();
    o->width = m_widthBox->value();
    o->height = m_heightBox->value();
    if (!(before == *o))
        layoutChanged();
}

void ReportDesigner::addObject(ObjectType type) {
    if (!selectedBandPtr()) {
        if (m_layout.bands.isEmpty())
            m_layout.addBand(BandType::MasterData);
        m_band = m_canvas->order().constFirst();
    }
    ReportBand* band = selectedBandPtr();
    ReportObject o;
    o.type = type;
    o.x = 0;
    o.y = 0;
    if (type == ObjectType::Text) {
        o.width = 40;
        o.height = std::min(6.0, std::max(band->height, 2.0));
        o.text = QStringLiteral("文本");
    } else if (type == ObjectType::Line) {
        o.width = 40;
        o.height = 0;
    } else {
        o.width = 40;
        o.height = std::min(10.0, std::max(band->height, 2.0));
    }
    band->objects.append(o);
    layoutChanged();
    select(m_band, int(band->objects.size()) - 1);
}

void ReportDesigner::deleteSelected() {
    ReportBand* band = selectedBandPtr();
    if (!band || !selectedObjectPtr())
        return;
    band->objects.removeAt(m_object);
    layoutChanged();
    select(m_band, -1);
}

void ReportDesigner::addBand(BandType type) {
    if (ReportBand* existing = m_layout.band(type)) {
        select(int(existing - m_layout.bands.data()), -1);
        return;
    }
    ReportBand* band = m_layout.addBand(type, 10);
    const int index = int(band - m_layout.bands.data());
    layoutChanged();
    select(index, -1);
}

void ReportDesigner::removeSelectedBand() {
    if (!selectedBandPtr())
        return;
    m_layout.bands.removeAt(m_band);
    layoutChanged();
    select(m_layout.bands.isEmpty() ? -1 : m_canvas->order().constFirst(), -1);
}

void ReportDesigner::insertField(const QString& field) {
    const QString text = QLatin1Char('[') + field + QLatin1Char(']');
    if (ReportObject* o = selectedObjectPtr(); o && o->type == ObjectType::Text) {
        m_textEdit->insertPlainText(text); // applies through textChanged
        return;
    }
    if (!selectedBandPtr())
        return;
    addObject(ObjectType::Text);
    m_textEdit->setPlainText(text);
}

bool ReportDesigner::save() {
    if (m_fileName.isEmpty())
        return saveAs();
    QString error;
    if (!m_layout.save(m_fileName, &error)) {
        QMessageBox::warning(this, QStringLiteral("Vantrel"), error);
        return false;
    }
    m_saved = m_layout;
    m_savedOnce = true;
    m_modified = false;
    updateTitle();
    return true;
}

bool ReportDesigner::saveAs() {
    const QString file =
        FileDialog::getSaveFileName(this, QStringLiteral("报表另存为"), m_fileName,
                                    QStringLiteral("报表文件(*.frf)|*.frf"), QStringLiteral("frf"));
    if (file.isEmpty())
        return false;
    const QString previous = m_fileName;
    m_fileName = file;
    if (!save()) {
        m_fileName = previous;
        updateTitle();
        return false;
    }
    return true;
}

void ReportDesigner::done(int result) {
    if (m_modified) {
        const auto answer = QMessageBox::question(
            this, QStringLiteral("Vantrel"), QStringLiteral("报表已修改，是否保存？"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel)
            return;
        if (answer == QMessageBox::Yes && !save())
            return;
    }
    QDialog::done(result);
}

bool ReportDesigner::canvasKey(QKeyEvent* event) {
    ReportObject* o = selectedObjectPtr();
    if (!o)
        return false;
    if (event->key() == Qt::Key_Delete) {
        deleteSelected();
        return true;
    }
    double dx = 0;
    double dy = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        dx = -kSnap;
        break;
    case Qt::Key_Right:
        dx = kSnap;
        break;
    case Qt::Key_Up:
        dy = -kSnap;
        break;
    case Qt::Key_Down:
        dy = kSnap;
        break;
    default:
        return false;
    }
    o->x += dx;
    o->y += dy;
    layoutChanged();
    showSelection();
    return true;
}

} // namespace report
