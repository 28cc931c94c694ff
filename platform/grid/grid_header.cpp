#include "platform/grid/grid_header.h"

#include "platform/grid/grid_column.h"
#include "platform/grid/grid_model.h"

#include <QPainter>

GridHeader::GridHeader(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setDefaultAlignment(Qt::AlignCenter);
    setSectionResizeMode(QHeaderView::Interactive);
}

QString GridHeader::bandOf(int logicalIndex) const {
    return model() ? model()->headerData(logicalIndex, orientation(), GridRoles::Band).toString()
                   : QString();
}

bool GridHeader::hasBands() const {
    if (!model()) {
        return false;
    }
    for (int i = 0; i < count(); ++i) {
        if (!isSectionHidden(i) && !bandOf(i).isEmpty()) {
            return true;
        }
    }
    return false;
}

QList<GridHeader::BandSpan> GridHeader::bandSpans() const {
    QList<BandSpan> spans;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical)) {
            continue;
        }
        const QString band = bandOf(logical);
        if (band.isEmpty()) {
            continue;
        }
        if (!spans.isEmpty() && spans.last().band == band) {
            // Adjacent when only hidden columns lie between.
            bool adjacent = true;
            for (int v = spans.last().lastVisual + 1; v < visual; ++v) {
                if (!isSectionHidden(logicalIndex(v))) {
                    adjacent = false;
                    break;
                }
            }
            if (adjacent) {
                spans.last().lastVisual = visual;
                continue;
            }
        }
        spans.append(BandSpan{band, visual, visual});
    }
    return spans;
}

QSize GridHeader::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    if (hasBands()) {
        size.setHeight(size.height() * 2);
    }
    return size;
}

void GridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) {
        return;
    }
    QStyleOptionHeader opt;
    initStyleOption(&opt);
    opt.rect = rect;
    opt.section = logicalIndex;
    opt.textAlignment = Qt::AlignCenter;
    opt.iconAlignment = Qt::AlignVCenter;
    opt.text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const auto marker = static_cast<SortMarker>(
        model()->headerData(logicalIndex, orientation(), GridRoles::Marker).toInt());
    opt.sortIndicator = marker == SortMarker::Down ? QStyleOptionHeader::SortDown
                        : marker == SortMarker::Up ? QStyleOptionHeader::SortUp
                                                   : QStyleOptionHeader::None;
    if (!bandOf(logicalIndex).isEmpty()) {
        opt.rect.setTop(rect.top() + rect.height() / 2);
    }
    const int visual = visualIndex(logicalIndex);
    opt.position = count() == 1            ? QStyleOptionHeader::OnlyOneSection
                   : visual == 0           ? QStyleOptionHeader::Beginning
                   : visual == count() - 1 ? QStyleOptionHeader::End
                                           : QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_Header, &opt, painter, this);
}

void GridHeader::paintEvent(QPaintEvent* event) {
    QHeaderView::paintEvent(event);
    const QList<BandSpan> spans = bandSpans();
    if (spans.isEmpty()) {
        return;
    }
    QPainter painter(viewport());
    const int bandHeight = viewport()->height() / 2;
    for (const BandSpan& span : spans) {
        const int first = logicalIndex(span.firstVisual);
        const int last = logicalIndex(span.lastVisual);
        const int left = sectionViewportPosition(first);
        const int right = sectionViewportPosition(last) + sectionSize(last);
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = QRect(left, 0, right - left, bandHeight);
        opt.section = first;
        opt.text = span.band;
        opt.textAlignment = Qt::AlignCenter;
        opt.position = QStyleOptionHeader::Middle;
        style()->drawControl(QStyle::CE_Header, &opt, &painter, this);
    }
}
