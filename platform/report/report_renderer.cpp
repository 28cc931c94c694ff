#include "platform/report/report_renderer.h"

#include <QDateTime>
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace report {

namespace {

constexpr double kEpsilon = 0.001;

struct Placement {
    const ReportBand* band = nullptr;
    int page = 0;
    double y = 0;  // mm from the paper's top edge
    int row = -1;  // current row of the main data
    int first = 0; // rows an aggregate covers
    int count = 0;
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

// Places the band instances on pages.
class Paginator {
public:
    Paginator(const ReportLayout& layout, int rowCount)
        : m_layout(layout)
        , m_rowCount(rowCount) {
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
    void place(const ReportBand* band, double y, int row, int first, int count) {
        m_placements.append(Placement{band, m_page, y, row, first, count});
    }

    void startPage(int row, bool first) {
        if (!first) {
            finishPage();
            ++m_page;
        }
        m_y = m_layout.page.top;
        m_pageLastRow = row;
        if (first) {
            if (const ReportBand* title = m_layout.band(BandType::ReportTitle)) {
                place(title, m_y, row, 0, m_rowCount);
                m_y += title->height;
            }
        }
        for (BandType type : {BandType::PageHeader, BandType::ColumnHeader}) {
            if (const ReportBand* band = m_layout.band(type)) {
                place(band, m_y, row, 0, m_rowCount);
                m_y += band->height;
            }
        }
        m_contentTop = m_y;
    }

    void finishPage() {
        if (m_footer)
            place(m_footer, m_paperHeight - m_layout.page.bottom - m_footer->height, m_pageLastRow,
                  0, m_rowCount);
    }

    void flow(const ReportBand* band, int row, int first, int count) {
        // A band that does not fit goes to the next page, unless the page holds nothing yet.
        if (m_y + band->height > m_bottom + kEpsilon && m_y > m_contentTop + kEpsilon)
            startPage(row, false);
        place(band, m_y, row, first, count);
        m_y += band->height;
        m_pageLastRow = row;
    }

    const ReportLayout& m_layout;
    int m_rowCount = 0;
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
    Paginator paginator(layout, int(main.rows.size()));
    const QList<Placement> placements = paginator.run(groupRows(main, groupColumn));
    const int pageCount = paginator.pageCount();
    report.pages.resize(pageCount);

    RenderScope scope(main, extras, functions);
    scope.setTotalPages(pageCount);
    QHash<const ReportObject*, TextTemplate> templates;
    const double left = layout.page.left;

    for (const Placement& p : placements) {
        scope.setPlacement(p);
        QList<RenderedItem>& items = report.pages[p.page].items;
        for (const ReportObject& o : p.band->objects) {
            RenderedItem item;
            item.rect = QRectF(left + o.x, p.y + o.y, o.width, o.height);
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
                auto it = templates.find(&o);
                if (it == templates.end())
                    it = templates.insert(&o, TextTemplate::parse(o.text));
                if (it->hasExpressions() || !it->error().isEmpty()) {
                    QStringList errors;
                    item.text = evaluateTemplate(*it, scope, &errors);
                    if (!errors.isEmpty()) {
                        item.error = true;
                        for (const QString& e : errors)
                            report.errors.append(
                                QStringLiteral("%1: %2").arg(bandTypeTitle(p.band->type), e));
                    }
                } else {
                    item.text = it->plainText();
                }
                item.fontFamily = o.fontFamily;
                item.fontSize = o.fontSize;
                item.bold = o.bold;
                item.align = o.align;
                item.valign = o.valign;
                item.frame = o.frame;
                item.wordWrap = o.wordWrap;
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
            const double pad = 0.6 * pxPerMm;
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
