#include "db/dialect.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

#include <cmath>

namespace db {

QString SqlDialect::castDouble(const QString& expr) const {
    return QStringLiteral("cast(") + expr + QStringLiteral(" as double precision)");
}

namespace {

// vt_number(x): x as a number; text that is not a number is an error, as it is on servers that
// convert quoted texts implicitly.
void sqliteNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        sqlite3_result_null(ctx);
        return;
    case SQLITE_INTEGER:
        sqlite3_result_int64(ctx, sqlite3_value_int64(v));
        return;
    case SQLITE_FLOAT:
        sqlite3_result_double(ctx, sqlite3_value_double(v));
        return;
    default:
        break;
    }
    const auto* raw = reinterpret_cast<const char*>(sqlite3_value_text(v));
    const QString text = QString::fromUtf8(raw ? raw : "").trimmed();
    bool ok = false;
    const double number = text.toDouble(&ok);
    if (!ok || !std::isfinite(number)) {
        const QByteArray message =
            QStringLiteral("invalid input syntax for a number: \"%1\"").arg(text).toUtf8();
        sqlite3_result_error(ctx, message.constData(), int(message.size()));
        return;
    }
    if (number == std::floor(number) && std::fabs(number) < 9e15)
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(number));
    else
        sqlite3_result_double(ctx, number);
}

class SqliteDialect final : public SqlDialect {
public:
    Engine engine() const override { return Engine::SQLite; }

    QString serverDateYmd() const override {
        return QStringLiteral("strftime('%Y%m%d','now','localtime')");
    }

    QString datePartOf(DatePart part, const QString& dateColumn) const override {
        const char* format = part == DatePart::Year ? "%Y" : "%m";
        return QStringLiteral("cast(strftime('") + QLatin1String(format) + QStringLiteral("',") +
               dateColumn + QStringLiteral(") as integer)");
    }

    QString datePartEquals(DatePart part, const QString& dateColumn,
                           const QString& valueSql) const override {
        return datePartOf(part, dateColumn) + QStringLiteral("=vt_number(") + valueSql +
               QLatin1Char(')');
    }

    QString tableExistsQuery(const QString& tableName) const override {
        return QStringLiteral("select name from sqlite_master where type='table' "
                              "and lower(name)=lower(") +
               tableName + QLatin1Char(')');
    }

    QString viewExistsQuery(const QString& viewName) const override {
        return QStringLiteral("select name as viewname from sqlite_master where type='view' "
                              "and lower(name)=lower(") +
               viewName + QLatin1Char(')');
    }

    void prepareConnection(QSqlDatabase& db) const override {
        const QVariant handle = db.driver()->handle();
        if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
            sqlite3* h = *static_cast<sqlite3* const*>(handle.constData());
            if (h) {
                sqlite3_create_function_v2(h, "vt_number", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                           nullptr, &sqliteNumber, nullptr, nullptr, nullptr);
                sqlite3_busy_timeout(h, 5000);
            }
        }
    }

    bool isUniqueViolation(const QString& message) const override {
        return message.contains(QLatin1String("UNIQUE constraint failed"), Qt::CaseInsensitive);
    }
};

class PostgresDialect final : public SqlDialect {
public:
    Engine engine() const override { return Engine::PostgreSQL; }

    QString serverDateYmd() const override {
        return QStringLiteral("to_char(current_date,'YYYYMMDD')");
    }

    QString datePartOf(DatePart part, const QString& dateColumn) const override {
        const char* name = part == DatePart::Year ? "year" : "month";
        return QStringLiteral("cast(extract(") + QLatin1String(name) + QStringLiteral(" from ") +
               dateColumn + QStringLiteral(") as integer)");
    }

    QString datePartEquals(DatePart part, const QString& dateColumn,
                           const QString& valueSql) const override {
        // extract() is numeric: a quoted text is converted to a number, letters are an error.
        const char* name = part == DatePart::Year ? "year" : "month";
        return QStringLiteral("extract(") + QLatin1String(name) + QStringLiteral(" from ") +
               dateColumn + QStringLiteral(")=") + valueSql;
    }

    QString tableExistsQuery(const QString& tableName) const override {
        return QStringLiteral("select table_name from information_schema.tables "
                              "where table_schema=current_schema() and table_name=lower(") +
               tableName + QLatin1Char(')');
    }

    QString viewExistsQuery(const QString& viewName) const override {
        return QStringLiteral("select viewname from pg_views where viewname=lower(") + viewName +
               QLatin1Char(')');
    }

    void prepareConnection(QSqlDatabase&) const override {}

    bool isUniqueViolation(const QString& message) const override {
        return message.contains(QLatin1String("duplicate key"), Qt::CaseInsensitive) ||
               message.contains(QLatin1String("unique constraint"), Qt::CaseInsensitive);
    }
};

SqlDialect::Engine g_engine = SqlDialect::Engine::SQLite;

} // namespace

const SqlDialect& SqlDialect::forEngine(Engine engine) {
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    if (engine == Engine::PostgreSQL)
        return postgres;
    return sqlite;
}

const SqlDialect& SqlDialect::current() {
    return forEngine(g_engine);
}

void SqlDialect::setCurrent(Engine engine) {
    g_engine = engine;
}

} // namespace db
