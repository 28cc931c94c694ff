#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

#include <stdexcept>

// A private in-memory SQLite database for one test.
class MemoryDatabase {
public:
    MemoryDatabase()
        : m_name(QUuid::createUuid().toString()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(QStringLiteral(":memory:"));
        if (!db.open()) {
            throw std::runtime_error("cannot open SQLite");
        }
    }
    ~MemoryDatabase() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    MemoryDatabase(const MemoryDatabase&) = delete;
    MemoryDatabase& operator=(const MemoryDatabase&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name); }

    void exec(const QString& sql) const {
        QSqlQuery q(db());
        if (!q.exec(sql)) {
            throw std::runtime_error(q.lastError().text().toStdString() + " in " +
                                     sql.toStdString());
        }
    }

    // An executed forward-only query, ready for DataGrid::load().
    QSqlQuery select(const QString& sql) const {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        if (!q.exec(sql)) {
            throw std::runtime_error(q.lastError().text().toStdString());
        }
        return q;
    }

private:
    QString m_name;
};
