#include "platform/grid/grid_footer.h"

#include "platform/grid/data_grid.h"
#include "platform/grid/grid_header.h"

#include <QPainter>

GridFooter::GridFooter(DataGrid* grid)
    : QWidget(grid)
    , m_grid(grid) {}

void GridFooter::setColors(const QColor& background, const QColor& text) {
    m_background = background;
    m_text = text;
    update();
}

QSize GridFooter::sizeHint() const {
    return QSize(100, fontMetrics().height() + 8);
}

void GridFooter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor background =
        m_background.isValid() ? m_background : palette().color(QPalette::Button);
    const QColor text = m_text.isValid() ? m_text : palette().color(QPalette::ButtonText);
    painter.fillRect(rect(), background);
    const GridHeader* header = m_grid->gridHeader();
    const GridModel* model = m_grid->gridModel();
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, 0, width(), 0);
    for (int column : m_grid->visibleColumns()) {
        const QRect cell(header->sectionViewportPosition(column), 0, header->sectionSize(column),
                         height());
        if (cell.right() < 0 || cell.left() > width()) {
            continue;
        }
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(cell.right(), 0, cell.right(), height());
        const QString value = model->footerText(column);
        if (value.isEmpty()) {
            continue;
        }
        const bool number = model->footerValue(column).typeId() != QMetaType::QString;
        painter.setPen(text);
        painter.drawText(cell.adjusted(3, 0, -3, 0),
                         Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft), value);
    }
}
