#pragma once

#include <QString>

#include <optional>

namespace db {

// A data source defined in unixODBC's odbc.ini (the user's or the system's file).
struct OdbcDataSource {
    QString name;
    QString driver;        // the Driver entry: a name from odbcinst.ini or a library path
    QString driverLibrary; // the library the driver name resolves to, when known
    QString definedIn;     // the file that defines the data source
};

// Looks the data source up in the files unixODBC reads: $ODBCINI or ~/.odbc.ini, then
// $ODBCSYSINI/odbc.ini or /etc/odbc.ini. The driver is resolved through odbcinst.ini.
std::optional<OdbcDataSource> findOdbcDataSource(const QString& name);

// True when the data source's driver is PostgreSQL's (psqlODBC).
bool isPostgresDriver(const OdbcDataSource& source);

} // namespace db
