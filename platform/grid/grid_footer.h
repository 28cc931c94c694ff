#pragma once

#include <QWidget>

class DataGrid;

// The footer row below the rows, its cells lined up with the visible columns.
class GridFooter : public QWidget {
    Q_OBJECT

public:
    explicit GridFooter(DataGrid* grid);

    void setColors(const QColor& background, const QColor& text);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    DataGrid* m_grid;
    QColor m_background;
    QColor m_text;
};
