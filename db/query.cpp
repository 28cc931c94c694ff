#include "db/query.h"

#include "db/Public_DM.h"
#include "db/sql_error.h"

#include <QSqlError>

namespace db {

Query::Query()
    : m_query(TDM_Public::database()) {}

void Query::close() {
    m_query.finish();
    m_open = false;
}

void Query::open() {
    close();
    m_query = QSqlQuery(TDM_Public::database());
    if (!m_query.exec(m_sql))
        throw SqlError(m_query.lastError().text(), m_sql);
    m_open = true;
    m_query.first();
}

int Query::exec(const QString& sql) {
    close();
    m_sql = sql;
    m_query = QSqlQuery(TDM_Public::database());
    if (!m_query.exec(sql))
        throw SqlError(m_query.lastError().text(), sql);
    const int affected = m_query.numRowsAffected();
    m_query.finish();
    return affected;
}

bool Query::next() {
    if (!m_open)
        return false;
    return m_query.next();
}

void Query::first() {
    if (m_open)
        m_query.first();
}

int Query::rowCount() {
    if (!m_open)
        return 0;
    const int here = m_query.at();
    int count = 0;
    if (m_query.last())
        count = m_query.at() + 1;
    if (here >= 0)
        m_query.seek(here);
    else
        m_query.first();
    return count;
}

QVariant Query::value(const QString& field) const {
    if (eof())
        return {};
    const int index = m_query.record().indexOf(field);
    if (index < 0)
        throw SqlError(QStringLiteral("Field '%1' not found").arg(field), m_sql);
    return m_query.value(index);
}

QVariant Query::value(int column) const {
    if (eof())
        return {};
    return m_query.value(column);
}

} // namespace db
