#include "business/grid_query.h"

#include "db/Public_DM.h"
#include "db/sql_error.h"
#include "platform/grid/data_grid.h"

#include <QSqlError>
#include <QSqlQuery>

int GridQuery::open(const QString& sql) {
    m_sql = sql;
    return reopen();
}

int GridQuery::reopen() {
    Q_ASSERT(m_grid);
    m_grid->clear();
    QSqlQuery query(TDM_Public::database());
    query.setForwardOnly(true);
    if (!query.exec(m_sql))
        throw db::SqlError(query.lastError().text(), m_sql);
    m_grid->load(query);
    return m_grid->rowCount();
}

void GridQuery::close() {
    if (m_grid)
        m_grid->clear();
}

bool GridQuery::isOpen() const {
    return m_grid && m_grid->isOpen();
}

int GridQuery::rowCount() const {
    return m_grid ? m_grid->rowCount() : 0;
}
