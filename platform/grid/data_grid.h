#pragma once

#include "platform/grid/grid_column.h"
#include "platform/grid/grid_model.h"

#include <QTableView>

#include <vector>

class GridHeader;
class GridFooter;
class QSqlQuery;

// Read-only data grid. Rows are loaded in full from a query (or given as plain rows) and kept
// in memory; titles are buttons with sort markers; whole rows are selected, several at once;
// an optional footer row shows texts, sums or counts per column.
//
//   grid->setColumns({GridColumn("商品大类").withFooterText("合计："),
//                     GridColumn("进货数量").withFooterSum(),
//                     GridColumn("采购进货数", "进货统计|采购进货数"),
//                     GridColumn("编号").hidden()});
//   grid->load(query);                                   // an executed QSqlQuery
//   connect(grid, &DataGrid::titleClicked, this, [grid](const QString& field) {
//       grid->sortByClickRule(field);                    // markers move on by themselves
//   });
//   for (int row : grid->selectedRows()) use(grid->value(row, "编号"));
class DataGrid : public QTableView {
    Q_OBJECT

public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    // Columns. Defining them resets the markers; fields need not be loaded yet.
    void setColumns(const std::vector<GridColumn>& columns);
    const std::vector<GridColumn>& columns() const { return m_model->columns(); }
    // Column index of a field, -1 when no column shows it.
    int columnOf(const QString& field) const { return m_model->columnOf(field); }
    const GridColumn* column(const QString& field) const;
    void setColumnTitle(const QString& field, const QString& title);
    void setColumnVisible(const QString& field, bool visible);
    // Visible columns in the order they are shown.
    std::vector<int> visibleColumns() const;

    // Loading. The query must be executed; every remaining row is read. Without defined
    // columns, one column per query field is made. Markers stay where they are.
    void load(QSqlQuery& query);
    void loadRows(const QStringList& fields, const QList<QVariantList>& rows);
    // Closes the list: no rows, isOpen() false.
    void clear();
    bool isOpen() const { return m_model->isOpen(); }
    int rowCount() const { return m_model->rowCount(); }

    // Values by grid row (0-based, in the order shown) and field name (any loaded field).
    QVariant value(int row, const QString& field) const { return m_model->value(row, field); }
    QVariant currentValue(const QString& field) const;
    int currentRow() const;

    // Selection: grid rows in grid order.
    QList<int> selectedRows() const;
    int selectedCount() const;
    void setRowSelected(int row, bool selected);

    // Sorting. sortBy() sorts the loaded rows in memory; markers are not touched.
    bool sortBy(const QString& field, bool descending);
    // Sorts as a title click does: ascending when the column shows the down marker, otherwise
    // descending. Call it from a titleClicked handler, before the markers move on.
    bool sortByClickRule(const QString& field);
    SortMarker sortMarker(const QString& field) const;
    void setSortMarker(const QString& field, SortMarker marker);

    // Footer row.
    void setFooterVisible(bool visible);
    bool isFooterVisible() const { return m_footerVisible; }
    void setFooterColors(const QColor& background, const QColor& text);
    QString footerText(const QString& field) const;
    QVariant footerValue(const QString& field) const;

    void setCellPaintHook(CellPaintHook hook) { m_model->setCellPaintHook(std::move(hook)); }

    GridModel* gridModel() const { return m_model; }
    GridHeader* gridHeader() const { return m_header; }
    GridFooter* footer() const { return m_footer; }

Q_SIGNALS:
    // A title with a title button was clicked. Emitted before the markers move on, so a
    // handler sees the marker shown at the moment of the click.
    void titleClicked(const QString& field);

protected:
    void updateGeometries() override;

private:
    void onSectionClicked(int logical);
    void applyColumnLayout();
    void placeFooter();

    GridModel* m_model;
    GridHeader* m_header;
    GridFooter* m_footer;
    bool m_footerVisible = false;
    bool m_placing = false;
};
