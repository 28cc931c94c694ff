#pragma once

#include <QHeaderView>

// Column titles in one or two levels. A title "band|caption" puts "caption" in the lower half
// and "band" once across the adjacent visible columns sharing it; one-level titles then fill
// both halves. Sort markers come from the model's GridRoles::Marker.
class GridHeader : public QHeaderView {
    Q_OBJECT

public:
    explicit GridHeader(QWidget* parent = nullptr);

    bool hasBands() const;

    struct BandSpan {
        QString band;
        int firstVisual;
        int lastVisual;
    };
    // Runs of adjacent visible columns sharing a non-empty band, in visual order.
    QList<BandSpan> bandSpans() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    QString bandOf(int logicalIndex) const;
};
