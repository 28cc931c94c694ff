#pragma once

#include <QString>
#include <QStringList>

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

// The report designer on a layout file of the program folder, after the advice to keep a copy.
// The fields offered are those of the select (it is not required to return rows).
void DesignReport(QWidget* parent, const QString& layoutFile, const QString& linesSql,
                  db::Query& lookupQuery);
