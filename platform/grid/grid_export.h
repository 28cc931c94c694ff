#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <stdexcept>

class DataGrid;

// File formats of the grid export, numbered as the entries of exportFilters().
enum class ExportFormat { Excel = 1, Text = 2, Csv = 3, Html = 4, Rtf = 5 };

enum class ExportScope {
    AllRows,
    SelectedRows,
    SelectedOrAll, // the selected rows, or every row when none is selected
};

// A write failure; the message names the file.
class GridExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What an exporter writes: titles, then rows of cells. Numbers (integer or floating values)
// go to workbooks as numbers; every other cell, and every cell of the text formats, as text.
struct ExportTable {
    QStringList titles;
    QList<int> widths; // pixels per column, may be empty
    int rowCount = 0;
    std::function<QVariant(int row, int column)> value;
    std::function<QString(int row, int column)> text;
};

// The save dialog's filter: Excel, text, CSV, HTML and RTF, in ExportFormat order.
QString exportFilters();
std::optional<ExportFormat> exportFormatFromFilterIndex(int index);

// The grid's visible columns, in the order shown, under their titles as designed (a two-level
// title is written whole, "band|caption"), with the cells' shown texts.
ExportTable exportTableOf(const DataGrid& grid, ExportScope scope);

// Writes the table; throws GridExportError when the file cannot be written.
void writeExport(const ExportTable& table, const QString& fileName, ExportFormat format);

// exportTableOf() + writeExport().
void exportGrid(const DataGrid& grid, const QString& fileName, ExportFormat format,
                ExportScope scope = ExportScope::SelectedOrAll);
