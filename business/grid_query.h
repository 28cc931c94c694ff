#pragma once

#include <QString>

class DataGrid;

// The list query of a screen: runs a select and loads its rows into the grid, and remembers
// the statement so the list can be reopened. Statement errors throw db::SqlError; the grid is
// then left closed (no rows).
class GridQuery {
public:
    explicit GridQuery(DataGrid* grid = nullptr)
        : m_grid(grid) {}

    void setGrid(DataGrid* grid) { m_grid = grid; }

    // Closes the list, then opens sql. Returns the number of rows.
    int open(const QString& sql);
    // Opens the remembered statement again.
    int reopen();
    void close();

    bool isOpen() const;
    const QString& sql() const { return m_sql; }
    void setSql(const QString& sql) { m_sql = sql; }
    int rowCount() const;

private:
    DataGrid* m_grid;
    QString m_sql;
};
