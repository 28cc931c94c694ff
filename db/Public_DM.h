#pragma once

#include "db/query.h"

#include <QObject>
#include <QSqlDatabase>

#include <memory>

// The data module: owns the program's one database connection and the shared query
// ADOQuery1. The connection opens when the module is created; when it cannot be opened the
// constructor throws db::SqlError with the database's message.
//
// The engine follows from the configuration of this computer: when an ODBC data source named
// "korvane" is defined, the module connects to it (PostgreSQL through psqlODBC); otherwise it
// opens the embedded database data/SMDT.db below the program folder. A database without the
// tables of the system gets them, with the first administrator, at its first connection.
class TDM_Public : public QObject {
    Q_OBJECT

public:
    explicit TDM_Public(QObject* parent = nullptr);
    ~TDM_Public() override;

    // The open data module, or null before one was created or after it was destroyed.
    static TDM_Public* instance();
    // The shared connection (invalid when no data module exists).
    static QSqlDatabase database();

    QSqlDatabase ADOConnection1() const;
    db::Query& ADOQuery1() { return *m_query; }

    // The file of the embedded database below the program folder.
    static QString embeddedDatabaseFile();

    static constexpr const char* DataSourceName = "korvane";
    static constexpr const char* DataSourceUser = "kvmdui";
    static constexpr const char* DataSourcePassword = "kvmdui";

private:
    void openConnection();

    QString m_connectionName;
    std::unique_ptr<db::Query> m_query;
};
