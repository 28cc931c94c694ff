#pragma once

#include "platform/grid/grid_export.h"

// Writes an Excel 97-2003 workbook (BIFF8 in a compound file). Up to 65,535 rows go on one
// sheet below the titles; longer tables continue on further sheets, each with the titles.
void writeXlsWorkbook(const ExportTable& table, const QString& fileName);

// Rows of data per sheet (the first sheet row holds the titles).
constexpr int kXlsDataRowsPerSheet = 65535;
