#include "db/schema.h"

#include "db/dialect.h"
#include "db/sql_error.h"
#include "db/sql_text.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace db {

const QStringList& rightsColumns() {
    static const QStringList columns = {
        QStringLiteral("可以查看所有业务单据"),
        QStringLiteral("设计报表"),
        QStringLiteral("采购进货"),
        QStringLiteral("采购退货"),
        QStringLiteral("销售出货"),
        QStringLiteral("销售退货"),
        QStringLiteral("库存查看"),
        QStringLiteral("商品利润"),
        QStringLiteral("经营利润"),
        QStringLiteral("用户管理"),
        QStringLiteral("客户资料"),
        QStringLiteral("供商资料"),
        QStringLiteral("销售统计"),
        QStringLiteral("数据备份"),
        QStringLiteral("数据还原"),
        QStringLiteral("在线升级"),
        QStringLiteral("操作日志"),
        QStringLiteral("删除修改"),
        QStringLiteral("导出数据"),
        QStringLiteral("打印报表"),
        QStringLiteral("新增单据"),
    };
    return columns;
}

namespace {

struct Column {
    const char* name;
    enum Kind { Text, LongText, Number, Integer, Date } kind;
};

QString typeOf(const SqlDialect& d, Column::Kind kind) {
    switch (kind) {
    case Column::Text:
        return d.textType();
    case Column::LongText:
        return d.longTextType();
    case Column::Number:
        return d.numberType();
    case Column::Integer:
        return d.integerType();
    case Column::Date:
        return d.dateType();
    }
    return d.textType();
}

QString createTable(const SqlDialect& d, const char* table, std::initializer_list<Column> columns) {
    QStringList parts;
    for (const Column& c : columns)
        parts << QString::fromUtf8(c.name) + QLatin1Char(' ') + typeOf(d, c.kind);
    return QStringLiteral("create table ") + QString::fromUtf8(table) + QLatin1Char('(') +
           parts.join(QLatin1Char(',')) + QLatin1Char(')');
}

QStringList schemaStatements(const SqlDialect& d) {
    using C = Column;
    QStringList s;
    s << createTable(d, "Tab_Cgjh",
                     {{"编号", C::Text},
                      {"商品大类", C::Text},
                      {"商品名称", C::Text},
                      {"规格", C::Text},
                      {"商品编码", C::Text},
                      {"进货单价", C::Number},
                      {"进货数量", C::Number},
                      {"合计", C::Number},
                      {"进货日期", C::Date},
                      {"供货商", C::Text},
                      {"进货人", C::Text},
                      {"备注", C::LongText},
                      {"类型", C::Text},
                      {"打印标志", C::Integer}});
    s << createTable(d, "Tab_xsch",
                     {{"编号", C::Text},
                      {"商品大类", C::Text},
                      {"商品名称", C::Text},
                      {"规格", C::Text},
                      {"商品编码", C::Text},
                      {"出货单价", C::Number},
                      {"出货数量", C::Number},
                      {"合计", C::Number},
                      {"出货日期", C::Date},
                      {"客户", C::Text},
                      {"出货人", C::Text},
                      {"备注", C::LongText},
                      {"类型", C::Text},
                      {"欠款金额", C::Number},
                      {"打印标志", C::Integer},
                      {"客户地址电话", C::Text}});
    s << createTable(d, "Tab_khgl",
                     {{"客户简称", C::Text},
                      {"公司名", C::Text},
                      {"主联系人", C::Text},
                      {"联系电话", C::Text},
                      {"通讯地址", C::Text},
                      {"手机", C::Text},
                      {"职务", C::Text},
                      {"性别", C::Text},
                      {"传真", C::Text},
                      {"住宅电话", C::Text},
                      {"QQMSN", C::Text},
                      {"网址", C::Text},
                      {"电子邮箱", C::Text},
                      {"邮编", C::Text},
                      {"业务员", C::Text},
                      {"备注", C::LongText},
                      {"类型", C::Text}});
    s << createTable(d, "Tab_jysy",
                     {{"编号", C::Text},
                      {"活动名称", C::Text},
                      {"金额", C::Number},
                      {"经手人", C::Text},
                      {"往来单位", C::Text},
                      {"日期", C::Date},
                      {"备注", C::LongText}});
    s << createTable(d, "Tab_Hdlb",
                     {{"活动类型", C::Text}, {"活动名称", C::Text}, {"备注", C::LongText}});

    QStringList user = {QStringLiteral("工号 ") + d.textType() + QStringLiteral(" not null"),
                        QStringLiteral("用户名称 ") + d.textType(),
                        QStringLiteral("用户密码 ") + d.textType(),
                        QStringLiteral("级别 ") + d.textType()};
    for (const QString& right : rightsColumns())
        user << right + QLatin1Char(' ') + d.integerType() + QStringLiteral(" default 0");
    s << QStringLiteral("create table tab_user(") + user.join(QLatin1Char(',')) + QLatin1Char(')');

    s << createTable(d, "tab_rz",
                     {{"日期", C::Text},
                      {"时间", C::Text},
                      {"操作电脑名", C::Text},
                      {"操作员", C::Text},
                      {"操作内容", C::LongText},
                      {"性质", C::Text},
                      {"工号", C::Text}});
    s << createTable(
        d, "tab_company_info",
        {{"公司名", C::Text}, {"销售电话", C::Text}, {"传真", C::Text}, {"地址", C::LongText}});

    // The log viewer lists the work numbers of this view, so it always shows the current users.
    s << QStringLiteral("create view 权限密码 as select 工号,用户名称 as 姓名,用户密码 as 密码 "
                        "from tab_user");

    // Line numbers are unique per table: two computers drawing the same number retry with the
    // next one instead of writing two lines under one number.
    s << QStringLiteral("create unique index ux_cgjh_bh on Tab_Cgjh(编号)");
    s << QStringLiteral("create unique index ux_xsch_bh on Tab_xsch(编号)");
    s << QStringLiteral("create unique index ux_jysy_bh on Tab_jysy(编号)");
    s << QStringLiteral("create unique index ux_user_gh on tab_user(工号)");
    // Stock and profit group the lines by product and kind; lists filter by kind and date.
    s << QStringLiteral(
        "create index ix_cgjh_product on Tab_Cgjh(商品大类,商品名称,规格,商品编码,类型)");
    s << QStringLiteral(
        "create index ix_xsch_product on Tab_xsch(商品大类,商品名称,规格,商品编码,类型)");
    s << QStringLiteral("create index ix_cgjh_kind_date on Tab_Cgjh(类型,进货日期)");
    s << QStringLiteral("create index ix_xsch_kind_date on Tab_xsch(类型,出货日期)");
    s << QStringLiteral("create index ix_cgjh_code on Tab_Cgjh(商品编码,类型)");
    s << QStringLiteral("create index ix_xsch_code on Tab_xsch(商品编码,规格,客户,类型)");
    s << QStringLiteral("create index ix_cgjh_spec on Tab_Cgjh(规格)");
    s << QStringLiteral("create index ix_cgjh_name on Tab_Cgjh(商品名称)");
    s << QStringLiteral("create index ix_xsch_owner on Tab_xsch(出货人,类型)");
    s << QStringLiteral("create index ix_cgjh_print on Tab_Cgjh(打印标志)");
    s << QStringLiteral("create index ix_xsch_print on Tab_xsch(打印标志)");
    s << QStringLiteral("create index ix_jysy_date on Tab_jysy(日期)");
    // A short name names one partner, customer or supplier, also when two computers add it.
    s << QStringLiteral("create unique index ux_khgl_name on Tab_khgl(客户简称)");
    s << QStringLiteral("create index ix_rz_date on tab_rz(日期,时间)");

    // The first administrator: every right, an empty password, to be changed at once.
    QStringList columns = {QStringLiteral("工号"), QStringLiteral("用户名称"),
                           QStringLiteral("用户密码"), QStringLiteral("级别")};
    QStringList values = {quoted(QStringLiteral("888")), quoted(QStringLiteral("系统管理员")),
                          quoted(QString()), quoted(QStringLiteral("系统管理员"))};
    for (const QString& right : rightsColumns()) {
        columns << right;
        values << QStringLiteral("1");
    }
    s << QStringLiteral("insert into tab_user(") + columns.join(QLatin1Char(',')) +
             QStringLiteral(")values(") + values.join(QLatin1Char(',')) + QLatin1Char(')');
    return s;
}

void run(QSqlDatabase& db, const QString& sql) {
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw SqlError(q.lastError().text(), sql);
}

} // namespace

bool ensureSchema(QSqlDatabase& db, const SqlDialect& dialect) {
    {
        QSqlQuery q(db);
        if (!q.exec(dialect.tableExistsQuery(quoted(QStringLiteral("tab_user")))))
            throw SqlError(q.lastError().text());
        if (q.next())
            return false;
    }
    const bool inTransaction = db.transaction();
    try {
        for (const QString& statement : schemaStatements(dialect))
            run(db, statement);
    } catch (...) {
        if (inTransaction)
            db.rollback();
        throw;
    }
    if (inTransaction && !db.commit())
        throw SqlError(db.lastError().text());
    return true;
}

} // namespace db
