#include "platform/report/report_renderer.h"

#include <QDateTime>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <functional>
#include <map>

namespace report {

namespace {

constexpr double kEpsilon = 0.001;
constexpr double kTextPadding = 0.6; // mm left and right of a text inside its box

// The text of a stretching object, evaluated while the rows are placed on pages.
struct MeasuredText {
    bool valid = false;
    bool error = false;
    QString text;
    double height = 0; // the box's height for this printing
};

struct Placement {
    const ReportBand* band = nullptr;
    int page = 0;
    double y = 0;  // mm from the paper's top edge
    int row = -1;  // current row of the main data
    int first = 0; // rows an aggregate covers
    int count = 0;
    double height = 0;         // this printing's height: the band's, or more when it stretches
    QList<MeasuredText> texts; // a stretching band's objects, by index; empty otherwise
};

bool stretches(const ReportBand& band) {
    return band.stretch && band.type != BandType::PageFooter;
}

// The height a text needs in its box, in mm. Fonts are sized in whole pixels, so a text's
// width changes by a few per cent between the preview's zoom levels and print. The text is
// therefore measured at the PDF's resolution in a box 5 % narrower than the one it is painted
// in: a text that fits in the measured number of lines fits at every resolution.
class TextMeasurer {
public:
    TextMeasurer()
        : m_device(1, 1, QImage::Format_Mono) {
        m_device.setDotsPerMeterX(qRound(kDpi / 0.0254));
        m_device.setDotsPerMeterY(qRound(kDpi / 0.0254));
    }

    double neededHeight(const ReportObject& o, const QString& text) {
        if (text.isEmpty())
            return 0;
        auto it = m_objects.find(&o);
        if (it == m_objects.end()) {
            QFont font(o.fontFamily);
            font.setPointSizeF(o.fontSize);
            font.setBold(o.bold);
            it = m_objects.emplace(&o, Entry{QFontMetricsF(font, &m_device), {}}).first;
        }
        Entry& entry = it->second;
        if (auto known = entry.heights.constFind(text); known != entry.heights.cend())
            return *known;
        const double pxPerMm = kDpi / 25.4;
        const double width = std::max(0.0, (o.width - 2 * kTextPadding) * pxPerMm * kWidthShare);
        double px = entry.metrics.height();
        const bool oneLine = !text.contains(QLatin1Char('\n'));
        if (!oneLine || (o.wordWrap && entry.metrics.horizontalAdvance(text) > width)) {
            const int flags = Qt::AlignLeft | Qt::AlignTop | (o.wordWrap ? Qt::TextWordWrap : 0);
            px = entry.metrics.boundingRect(QRectF(0, 0, width, 1e6), flags, text).height();
        }
        const double needed = px / pxPerMm + 2 * kVerticalMargin;
        entry.heights.insert(text, needed);
        return needed;
    }

private:
    static constexpr double kDpi = 300;
    static constexpr double kWidthShare = 0.95;
    static constexpr double kVerticalMargin = 1.0; // mm above and below a grown text

    struct Entry {
        QFontMetricsF metrics;
        QHash<QString, double> heights; // by text
    };

    QImage m_device;
    std::map<const ReportObject*, Entry> m_objects;
};

struct IndexedDataSet {
    QString name;
    const ReportDataSet* data = nullptr;
    QHash<QString, int> columns;
};

QHash<QString, int> indexColumns(const ReportDataSet& data) {
    QHash<QString, int> index;
    for (int i = 0; i < data.columns.size(); ++i)
        index.insert(data.columns[i], i);
    return index;
}

QVariant cell(const ReportDataSet& data, int row, int column) {
    if (row < 0 || row >= data.rows.size())
        return {};
    const QVariantList& values = data.rows[row];
    return column < values.size() ? values[column] : QVariant();
}

class RenderScope : public EvalScope {
public:
    RenderScope(const ReportDataSet& main, const QList<NamedDataSet>& extras,
                const FunctionTable& functions)
        : m_functions(functions) {
        m_main.name = QStringLiteral("main");
        m_main.data = &main;
        m_main.columns = indexColumns(main);
        for (const NamedDataSet& set : extras)
            m_extras.append(IndexedDataSet{set.name, &set.data, indexColumns(set.data)});
        m_now = QDateTime::currentDateTime();
    }

    bool lookup(const QString& name, QVariant* value) const override {
        if (name == QLatin1String("PAGE#")) {
            *value = m_page;
            return true;
        }
        if (name == QLatin1String("TOTALPAGES")) {
            *value = m_totalPages;
            return true;
        }
        if (name == QLatin1String("LINE#")) {
            *value = m_row + 1;
            return true;
        }
        if (name == QLatin1String("DATE")) {
            *value = m_now.date();
            return true;
        }
        if (name == QLatin1String("TIME")) {
            *value = m_now.time();
            return true;
        }
        if (auto it = m_main.columns.constFind(name); it != m_main.columns.cend()) {
            *value = cell(*m_main.data, m_row, *it);
            return true;
        }
        for (const IndexedDataSet& set : m_extras) {
            if (auto it = set.columns.constFind(name); it != set.columns.cend()) {
                *value = cell(*set.data, 0, *it);
                return true;
            }
        }
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot > 0) {
            const QString setName = name.left(dot);
            const QString field = name.mid(dot + 1);
            if (setName == QLatin1String("main")) {
                if (auto it = m_main.columns.constFind(field); it != m_main.columns.cend()) {
                    *value = cell(*m_main.data, m_row, *it);
                    return true;
                }
            }
            for (const IndexedDataSet& set : m_extras) {
                if (set.name != setName)
                    continue;
                if (auto it = set.columns.constFind(field); it != set.columns.cend()) {
                    *value = cell(*set.data, 0, *it);
                    return true;
                }
            }
        }
        return false;
    }

    int scopeFirstRow() const override { return m_first; }
    int scopeRowCount() const override { return m_count; }
    int currentRow() const override { return m_row; }
    void setCurrentRow(int row) override { m_row = row; }
    const ReportFunction* function(const QString& name) const override {
        auto it = m_functions.constFind(name.toLower());
        return it == m_functions.cend() ? nullptr : &*it;
    }

    void setPlacement(const Placement& p) {
        m_row = p.row;
        m_first = p.first;
        m_count = p.count;
        m_page = p.page + 1;
    }
    void setTotalPages(int pages) { m_totalPages = pages; }

private:
    const FunctionTable& m_functions;
    IndexedDataSet m_main;
    QList<IndexedDataSet> m_extras;
    QDateTime m_now;
    int m_row = -1;
    int m_first = 0;
    int m_count = 0;
    int m_page = 1;
    int m_totalPages = 1;
};

// Places the band instances on pages. measure sets a stretching band's height for one printing
// (and keeps the texts it evaluated for that); other bands keep their design height.
class Paginator {
public:
    using Measure = std::function<void(Placement&)>;

    Paginator(const ReportLayout& layout, int rowCount, Measure measure)
        : m_layout(layout)
        , m_rowCount(rowCount)
        , m_measure(std::move(measure)) {
        const QSizeF paper = layout.page.paperSizeMm();
        m_paperHeight = paper.height();
        m_footer = layout.band(BandType::PageFooter);
        m_bottom = m_paperHeight - layout.page.bottom - (m_footer ? m_footer->height : 0);
    }

    QList<Placement> run(const QList<std::pair<int, int>>& groups) {
        const ReportBand* master = m_layout.band(BandType::MasterData);
        const ReportBand* groupHeader = m_layout.band(BandType::GroupHeader);
        const ReportBand* groupFooter = m_layout.band(BandType::GroupFooter);
        const ReportBand* summary = m_layout.band(BandType::ReportSummary);
        const int firstRow = m_rowCount > 0 ? 0 : -1;
        startPage(firstRow, true);
        for (const auto& [first, count] : groups) {
            if (groupHeader)
                flow(groupHeader, first, first, count);
            if (master) {
                for (int row = first; row < first + count; ++row)
                    flow(master, row, 0, m_rowCount);
            }
            if (groupFooter)
                flow(groupFooter, first + count - 1, first, count);
        }
        if (summary)
            flow(summary, m_rowCount - 1, 0, m_rowCount);
        finishPage();
        return m_placements;
    }

    int pageCount() const { return m_page + 1; }

private:
    Placement measured(const ReportBand* band, double y, int row, int first, int count) {
        Placement p;
        p.band = band;
        p.page = m_page;
        p.y = y;
        p.row = row;
        p.first = first;
        p.count = count;
        p.height = band->height;
        if (stretches(*band))
            m_measure(p);
        return p;
    }

    // Places a band at the current position and moves below it.
    void put(Placement p) {
        p.page = m_page;
        p.y = m_y;
        m_y += p.height;
        m_placements.append(std::move(p));
    }

    void startPage(int row, bool first) {
        if (!first) {
            finishPage();
            ++m_page;
        }
        m_y = m_layout.page.top;
        m_pageLastRow = row;
        if (first) {
            if (const ReportBand* title = m_layout.band(BandType::ReportTitle))
                put(measured(title, m_y, row, 0, m_rowCount));
        }
        for (BandType type : {BandType::PageHeader, BandType::ColumnHeader}) {
            if (const ReportBand* band = m_layout.band(type))
                put(measured(band, m_y, row, 0, m_rowCount));
        }
        m_contentTop = m_y;
    }

    void finishPage() {
        if (!m_footer)
            return;
        Placement p;
        p.band = m_footer;
        p.page = m_page;
        p.y = m_paperHeight - m_layout.page.bottom - m_footer->height;
        p.row = m_pageLastRow;
        p.count = m_rowCount;
        p.height = m_footer->height;
        m_placements.append(std::move(p));
    }

    void flow(const ReportBand* band, int row, int first, int count) {
        // A band that does not fit goes whole to the next page, unless the page holds nothing
        // yet.
        Placement p = measured(band, m_y, row, first, count);
        if (m_y + p.height > m_bottom + kEpsilon && m_y > m_contentTop + kEpsilon)
            startPage(row, false);
        put(std::move(p));
        m_pageLastRow = row;
    }

    const ReportLayout& m_layout;
    int m_rowCount = 0;
    Measure m_measure;
    double m_paperHeight = 0;
    const ReportBand* m_footer = nullptr;
    double m_bottom = 0;
    QList<Placement> m_placements;
    int m_page = 0;
    double m_y = 0;
    double m_contentTop = 0;
    int m_pageLastRow = -1;
};

QList<std::pair<int, int>> groupRows(const ReportDataSet& main, int groupColumn) {
    QList<std::pair<int, int>> groups;
    const int n = int(main.rows.size());
    if (groupColumn < 0) {
        groups.append({0, n});
        return groups;
    }
    int start = 0;
    for (int row = 1; row <= n; ++row) {
        if (row == n || displayText(cell(main, row, groupColumn)) !=
                            displayText(cell(main, start, groupColumn))) {
            groups.append({start, row - start});
            start = row;
        }
    }
    if (groups.isEmpty())
        groups.append({0, 0});
    return groups;
}

} // namespace

void RenderedItem::setTextStyle(const ReportObject& object) {
    fontFamily = object.fontFamily;
    fontSize = object.fontSize;
    bold = object.bold;
    align = object.align;
    valign = object.valign;
    frame = object.frame;
    wordWrap = object.wordWrap;
}

QString RenderedPage::text() const {
    QStringList lines;
    for (const RenderedItem& item : items)
        if (item.kind == RenderedItem::Kind::Text && !item.text.isEmpty())
            lines.append(item.text);
    return lines.join(QLatin1Char('\n'));
}

bool RenderedReport::find(const QString& text, int* page, int* item, Qt::CaseSensitivity cs) const {
    if (text.isEmpty())
        return false;
    for (int p = qMax(0, *page); p < pages.size(); ++p) {
        const auto& items = pages[p].items;
        for (int i = (p == *page ? qMax(0, *item) : 0); i < items.size(); ++i) {
            if (items[i].kind == RenderedItem::Kind::Text && items[i].text.contains(text, cs)) {
                *page = p;
                *item = i;
                return true;
            }
        }
    }
    return false;
}

RenderedReport renderReport(const ReportLayout& layout, const ReportDataSet& main,
                            const QList<NamedDataSet>& extras, const FunctionTable& functions) {
    RenderedReport report;
    report.pageSizeMm = layout.page.paperSizeMm();

    int groupColumn = -1;
    const QString groupField = layout.groupField();
    if (!groupField.isEmpty()) {
        groupColumn = main.columnIndex(groupField);
        if (groupColumn < 0)
            report.errors.append(QStringLiteral("分组字段 \"%1\" 不存在").arg(groupField));
    }
    RenderScope scope(main, extras, functions);
    QHash<const ReportObject*, TextTemplate> templates;
    // The text of an object for the placement the scope is set to.
    auto evaluateText = [&](const ReportObject& o, const Placement& p, bool* error) {
        auto it = templates.find(&o);
        if (it == templates.end())
            it = templates.insert(&o, TextTemplate::parse(o.text));
        *error = false;
        if (!it->hasExpressions() && it->error().isEmpty())
            return it->plainText();
        QStringList errors;
        const QString text = evaluateTemplate(*it, scope, &errors);
        if (!errors.isEmpty()) {
            *error = true;
            for (const QString& e : errors)
                report.errors.append(QStringLiteral("%1: %2").arg(bandTypeTitle(p.band->type), e));
        }
        return text;
    };

    TextMeasurer measurer;
    auto measure = [&](Placement& p) {
        scope.setPlacement(p);
        const QList<ReportObject>& objects = p.band->objects;
        p.texts.resize(objects.size());
        for (qsizetype i = 0; i < objects.size(); ++i) {
            const ReportObject& o = objects[i];
            if (o.type != ObjectType::Text || !o.stretch)
                continue;
            MeasuredText& m = p.texts[i];
            m.valid = true;
            m.text = evaluateText(o, p, &m.error);
            const double needed = measurer.neededHeight(o, m.text);
            m.height = std::max(o.height, needed);
            p.height = std::max(p.height, o.y + needed);
        }
    };

    Paginator paginator(layout, int(main.rows.size()), measure);
    const QList<Placement> placements = paginator.run(groupRows(main, groupColumn));
    const int pageCount = paginator.pageCount();
    report.pages.resize(pageCount);
    scope.setTotalPages(pageCount);
    const double left = layout.page.left;

    for (const Placement& p : placements) {
        scope.setPlacement(p);
        QList<RenderedItem>& items = report.pages[p.page].items;
        const bool stretching = stretches(*p.band);
        const double grow = p.height - p.band->height;
        for (qsizetype i = 0; i < p.band->objects.size(); ++i) {
            const ReportObject& o = p.band->objects[i];
            const MeasuredText* measured =
                i < p.texts.size() && p.texts[i].valid ? &p.texts[i] : nullptr;
            double y = p.y + o.y;
            double height = measured ? measured->height : o.height;
            if (stretching && o.stretchWithBand) {
                if (o.type == ObjectType::Line && o.height == 0)
                    y += grow; // a rule under the row stays under it
                else
                    height = std::max(height, o.height + grow);
            }
            RenderedItem item;
            item.rect = QRectF(left + o.x, y, o.width, height);
            item.lineWidth = o.lineWidth;
            switch (o.type) {
            case ObjectType::Line:
                item.kind = RenderedItem::Kind::Line;
                item.line = QLineF(item.rect.topLeft(), item.rect.bottomRight());
                item.rect = item.rect.normalized();
                break;
            case ObjectType::Rect:
                item.kind = RenderedItem::Kind::Rect;
                break;
            case ObjectType::Text: {
                item.kind = RenderedItem::Kind::Text;
                // A measured text is reused unless it shows page numbers, which were not known
                // yet when it was measured.
                if (measured && !o.text.contains(QLatin1String("PAGE#")) &&
                    !o.text.contains(QLatin1String("TOTALPAGES"))) {
                    item.text = measured->text;
                    item.error = measured->error;
                } else {
                    item.text = evaluateText(o, p, &item.error);
                }
                item.setTextStyle(o);
                break;
            }
            }
            items.append(item);
        }
    }
    report.errors.removeDuplicates();
    return report;
}

void paintPage(QPainter& painter, const RenderedPage& page) {
    const double pxPerMm = painter.device()->logicalDpiX() / 25.4;
    const double pyPerMm = painter.device()->logicalDpiY() / 25.4;
    auto toPx = [&](const QRectF& r) {
        return QRectF(r.x() * pxPerMm, r.y() * pyPerMm, r.width() * pxPerMm, r.height() * pyPerMm);
    };
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const RenderedItem& item : page.items) {
        QPen pen(Qt::black);
        pen.setWidthF(qMax(item.lineWidth * pxPerMm, 1.0));
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QRectF r = toPx(item.rect);
        switch (item.kind) {
        case RenderedItem::Kind::Line:
            painter.drawLine(QPointF(item.line.x1() * pxPerMm, item.line.y1() * pyPerMm),
                             QPointF(item.line.x2() * pxPerMm, item.line.y2() * pyPerMm));
            break;
        case RenderedItem::Kind::Rect:
            painter.drawRect(r);
            break;
        case RenderedItem::Kind::Text: {
            if (item.frame & FrameLeft)
                painter.drawLine(r.topLeft(), r.bottomLeft());
            if (item.frame & FrameTop)
                painter.drawLine(r.topLeft(), r.topRight());
            if (item.frame & FrameRight)
                painter.drawLine(r.topRight(), r.bottomRight());
            if (item.frame & FrameBottom)
                painter.drawLine(r.bottomLeft(), r.bottomRight());
            if (item.text.isEmpty())
                break;
            QFont font(item.fontFamily);
            font.setPointSizeF(item.fontSize);
            font.setBold(item.bold);
            painter.setFont(font);
            painter.setPen(item.error ? Qt::red : Qt::black);
            int flags = item.align == HAlign::Left     ? Qt::AlignLeft
                        : item.align == HAlign::Center ? Qt::AlignHCenter
                                                       : Qt::AlignRight;
            flags |= item.valign == VAlign::Top      ? Qt::AlignTop
                     : item.valign == VAlign::Center ? Qt::AlignVCenter
                                                     : Qt::AlignBottom;
            if (item.wordWrap)
                flags |= Qt::TextWordWrap;
            const double pad = kTextPadding * pxPerMm;
            const QRectF inner = r.adjusted(pad, 0, -pad, 0);
            painter.save();
            painter.setClipRect(r.adjusted(0, -0.5 * pyPerMm, 0, 0.5 * pyPerMm));
            painter.drawText(inner, flags, item.text);
            painter.restore();
            break;
        }
        }
    }
    painter.restore();
}

QPageLayout pageLayoutFor(const QSizeF& paperSizeMm) {
    const bool landscape = paperSizeMm.width() > paperSizeMm.height();
    const QSizeF portrait = landscape ? paperSizeMm.transposed() : paperSizeMm;
    const QPageSize size(portrait, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF());
}

bool writePdf(const RenderedReport& report, const QString& fileName, QString* error) {
    QFile probe(fileName);
    if (!probe.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1: 无法写入: %2").arg(fileName, probe.errorString());
        return false;
    }
    probe.close();
    QPdfWriter writer(fileName);
    writer.setResolution(300);
    writer.setCreator(QStringLiteral("Vantrel"));
    writer.setPageLayout(pageLayoutFor(report.pageSizeMm));
    QPainter painter;
    if (!painter.begin(&writer)) {
        if (error)
            *error = QStringLiteral("%1: 无法生成 PDF").arg(fileName);
        return false;
    }
    for (int i = 0; i < report.pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        paintPage(painter, report.pages[i]);
    }
    painter.end();
    return true;
}

} // namespace report
