#include "db/Public_DM.h"

#include "db/dialect.h"
#include "db/odbc_sources.h"
#include "db/schema.h"
#include "db/sql_error.h"
#include "platform/sys/program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>

namespace {

TDM_Public* g_instance = nullptr;
const QString kConnectionName = QStringLiteral("merchdesk");

} // namespace

TDM_Public::TDM_Public(QObject* parent)
    : QObject(parent) {
    Q_ASSERT_X(!g_instance, "TDM_Public", "only one data module at a time");
    openConnection();
    g_instance = this;
    m_query = std::make_unique<db::Query>();
}

TDM_Public::~TDM_Public() {
    m_query.reset();
    if (g_instance == this)
        g_instance = nullptr;
    {
        QSqlDatabase db = QSqlDatabase::database(kConnectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(kConnectionName);
}

TDM_Public* TDM_Public::instance() {
    return g_instance;
}

QSqlDatabase TDM_Public::database() {
    return QSqlDatabase::database(kConnectionName, false);
}

QSqlDatabase TDM_Public::ADOConnection1() const {
    return database();
}

QString TDM_Public::embeddedDatabaseFile() {
    return sys::programFolder() + QStringLiteral("/data/SMDT.db");
}

void TDM_Public::openConnection() {
    using db::SqlDialect;
    const auto source = db::findOdbcDataSource(QLatin1String(DataSourceName));
    SqlDialect::Engine engine = SqlDialect::Engine::SQLite;
    QSqlDatabase db;
    if (source) {
        if (!db::isPostgresDriver(*source)) {
            throw db::SqlError(
                QStringLiteral("数据源 %1 使用的数据库驱动“%2”不受支持：共享数据库只支持 "
                               "PostgreSQL（psqlODBC）。")
                    .arg(source->name, source->driver));
        }
        engine = SqlDialect::Engine::PostgreSQL;
        db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), kConnectionName);
        // Results are fetched through a cursor in blocks instead of being held twice in memory,
        // once by the driver and once by the list that reads them.
        db.setDatabaseName(source->name + QStringLiteral(";UseDeclareFetch=1;Fetch=10000"));
        db.setUserName(QLatin1String(DataSourceUser));
        db.setPassword(QLatin1String(DataSourcePassword));
    } else {
        const QString file = embeddedDatabaseFile();
        QDir().mkpath(QFileInfo(file).absolutePath());
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnectionName);
        db.setDatabaseName(file);
    }
    if (!db.open()) {
        const QString message = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(kConnectionName);
        throw db::SqlError(message);
    }
    SqlDialect::setCurrent(engine);
    const SqlDialect& dialect = SqlDialect::current();
    dialect.prepareConnection(db);
    try {
        db::ensureSchema(db, dialect);
    } catch (...) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(kConnectionName);
        throw;
    }
}
