#pragma once

#include <QStringList>

class QSqlDatabase;

namespace db {

class SqlDialect;

// The 21 rights columns of tab_user, in the order of the new-user statement.
const QStringList& rightsColumns();

// Creates the tables, indexes and the 权限密码 view with the first administrator when the
// database has no tab_user table yet; leaves an existing database untouched.
// Returns true when it created the schema.
bool ensureSchema(QSqlDatabase& db, const SqlDialect& dialect);

} // namespace db
