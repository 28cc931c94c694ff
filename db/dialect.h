#pragma once

#include <QString>

class QSqlDatabase;

namespace db {

// What differs between the database engines. Screens build their statements in one common
// dialect and ask this class for the few fragments that the engines write differently; they
// never ask which engine runs.
class SqlDialect {
public:
    enum class Engine { SQLite, PostgreSQL };
    enum class DatePart { Year, Month };

    virtual ~SqlDialect() = default;

    virtual Engine engine() const = 0;

    // The database server's current date as yyyymmdd text.
    virtual QString serverDateYmd() const = 0;

    // A condition comparing the year or month of a date column with a value. The value is SQL
    // text as the caller has it (a quoted literal such as '2007' or '08', or a bare number); a
    // value that is not a number makes the statement fail.
    virtual QString datePartEquals(DatePart part, const QString& dateColumn,
                                   const QString& valueSql) const = 0;

    // The year or month of a date column as an integer expression (for grouping and display).
    virtual QString datePartOf(DatePart part, const QString& dateColumn) const = 0;

    // A statement that returns a row when a table of this name exists.
    virtual QString tableExistsQuery(const QString& tableName) const = 0;

    // A statement that returns a row when a view of this name exists.
    virtual QString viewExistsQuery(const QString& viewName) const = 0;

    // Cast to a double-precision number.
    virtual QString castDouble(const QString& expr) const;

    // Type names used by the schema.
    virtual QString textType() const { return QStringLiteral("varchar(255)"); }
    virtual QString longTextType() const { return QStringLiteral("text"); }
    virtual QString numberType() const { return QStringLiteral("double precision"); }
    virtual QString integerType() const { return QStringLiteral("integer"); }
    virtual QString dateType() const { return QStringLiteral("date"); }

    // Engine-specific set-up of a freshly opened connection (functions, pragmas).
    virtual void prepareConnection(QSqlDatabase& db) const = 0;

    // True when an error message reports a violated unique key.
    virtual bool isUniqueViolation(const QString& message) const = 0;

    // The dialect of the open connection.
    static const SqlDialect& current();
    static void setCurrent(Engine engine);

    static const SqlDialect& forEngine(Engine engine);
};

// The dialect of the open connection.
inline const SqlDialect& dialect() {
    return SqlDialect::current();
}

} // namespace db
