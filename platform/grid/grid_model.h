#pragma once

#include "platform/grid/grid_column.h"
#include "platform/grid/row_store.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>

#include <functional>
#include <optional>
#include <vector>

class QSqlQuery;

// How one cell is drawn; a paint hook may change any part.
struct CellStyle {
    QColor background;
    QColor foreground; // invalid: the view's text colour
    std::optional<QFont> font;
    Qt::Alignment alignment;
    QString text; // the shown text
};

// Called for each cell drawn: row is the 0-based row in grid order.
using CellPaintHook = std::function<void(int row, const QString& field, CellStyle& style)>;

namespace GridRoles {
enum : int {
    RawValue = Qt::UserRole + 1, // cells: the loaded value
    Band,                        // titles: the band over the column, empty when none
    FullTitle,                   // titles: the title as designed
    Marker,                      // titles: SortMarker as int
    Field,                       // titles: the bound field
};
}

// Read-only rows in grid order over a RowStore, with the grid's columns.
class GridModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit GridModel(QObject* parent = nullptr);

    void setColumns(const std::vector<GridColumn>& columns);
    const std::vector<GridColumn>& columns() const { return m_columns; }
    int columnOf(const QString& field) const; // -1 when no column is bound to it
    void setColumn(int column, const GridColumn& definition);

    void load(QSqlQuery& query);
    void loadRows(const QStringList& fields, const QList<QVariantList>& rows);
    void clear();
    bool isOpen() const { return m_open; }

    const RowStore& store() const { return m_store; }
    // Value of a field (any loaded field, bound to a column or not) in grid row `row`.
    QVariant value(int row, const QString& field) const;
    QVariant value(int row, int column) const;
    // The cell's text as formatted by the column, without paint hooks.
    QString cellText(int row, int column) const;
    // Load position of a grid row.
    int storeRow(int row) const { return m_order[static_cast<size_t>(row)]; }

    // Stable in-memory sort by a loaded field; false when the field is unknown.
    bool sortBy(const QString& field, bool descending);

    SortMarker marker(int column) const;
    void setMarker(int column, SortMarker marker);

    void setCellPaintHook(CellPaintHook hook);
    CellStyle cellStyle(int row, int column) const;

    // Footer: text, sum or count per column over all loaded rows.
    QString footerText(int column) const;
    QVariant footerValue(int column) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

Q_SIGNALS:
    void footerChanged();

private:
    void rebind();
    void computeFooter();

    std::vector<GridColumn> m_columns;
    std::vector<int> m_columnField; // column -> store field, -1 when unbound
    std::vector<SortMarker> m_markers;
    std::vector<QVariant> m_footer;
    RowStore m_store;
    std::vector<int> m_order; // grid row -> load position
    CellPaintHook m_hook;
    bool m_open = false;
};
