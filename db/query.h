#pragma once

#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

namespace db {

// A statement on the shared connection, in the manner of the screens: set its text, open it
// (a select, positioned on its first row) or execute it (a change). Every failure throws
// SqlError with the database's message.
class Query {
public:
    Query();

    void close();
    void setSql(const QString& sql) { m_sql = sql; }
    const QString& sql() const { return m_sql; }

    // Runs the select in sql() and positions on the first row.
    void open();
    void open(const QString& sql) {
        setSql(sql);
        open();
    }

    // Runs a statement that changes data; returns the number of rows it touched.
    int exec(const QString& sql);

    bool isOpen() const { return m_open; }
    // True when there is no current row (empty result, or moved past the last row).
    bool eof() const { return !m_open || !m_query.isValid(); }
    bool next();
    void first();
    // Rows of the open result (moves to the end and back).
    int rowCount();

    QVariant value(const QString& field) const;
    QVariant value(int column) const;
    // A field as text; null gives the empty text.
    QString text(const QString& field) const { return value(field).toString(); }
    QSqlRecord record() const { return m_query.record(); }

    QSqlQuery& sqlQuery() { return m_query; }

private:
    QString m_sql;
    QSqlQuery m_query;
    bool m_open = false;
};

} // namespace db
