#pragma once

#include <QString>
#include <QStringList>

class DataGrid;
class QWidget;

namespace db {
class Query;
}

// Printing of the business lines through the report layouts in the program folder.

// The address of a partner by short name ("" when none), for the layouts' getkhaddress.
QString CustomerAddress(const QString& shortName, db::Query& query);

// Loads the layout file from the program folder and previews the rows of the select with the
// company row (data set "company") and the functions NtoC and getkhaddress. Shows nothing when
// the select returns no rows or the layout file does not exist. Returns whether it showed the
// preview. Statement errors throw db::SqlError.
bool PreviewReport(QWidget* parent, const QString& layoutFile, const QString& linesSql,
                   db::Query& lookupQuery);

// Printing the lines of a business table: the print flag 打印标志 is shared by all users, so
// it is cleared on every line of the table and set on the selected grid rows (named by 编号,
// 商品编码 and 规格); the report then shows the flagged lines (flaggedLinesSql), or, with no row
// selected, the lines of the list (listSql). Statement errors throw db::SqlError; flags already
// written stay.
void PrintSelectedLines(QWidget* parent, const QString& table, const DataGrid& grid,
                        const QString& listSql, const QString& flaggedLinesSql,
                        const QString& layoutFile, db::Query& query);

// The report designer on a layout file of the program folder, after the advice to keep a copy.
// The fields offered are those of the select (it is not required to return rows).
void DesignReport(QWidget* parent, const QString& layoutFile, const QString& linesSql,
                  db::Query& lookupQuery);
