#include "bench/business/shop_generator.h"

#include "db/Public_DM.h"
#include "db/schema.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <random>
#include <stdexcept>

namespace bench {

namespace {

const char* const kCategories[] = {"食品类", "副食类", "烟类",   "酒类",   "零食类",
                                   "家具类", "日用品", "饮料类", "调味品", "粮油类"};
const char* const kNameParts[] = {"饼干", "面包",   "黄酒", "啤酒", "香烟", "瓜子", "牛肉干",
                                  "酱油", "菜籽油", "挂面", "大米", "可乐", "茶叶", "毛巾",
                                  "椅子", "醋",     "糖果", "果汁", "花生", "蜂蜜"};
const char* const kSpecs[] = {"100g", "250g", "500g", "1kg",  "330ml", "500ml",
                              "5L",   "条装", "盒装", "袋装", "瓶装",  "罐装"};

struct Product {
    QString category, name, spec, code;
    double price;
};

void check(bool ok, const QSqlQuery& query) {
    if (!ok)
        throw std::runtime_error(query.lastError().text().toStdString());
}

// One table in one transaction through one prepared statement.
class BulkInsert {
public:
    BulkInsert(const QString& sql)
        : m_db(TDM_Public::database())
        , m_query(m_db) {
        m_db.transaction();
        check(m_query.prepare(sql), m_query);
    }
    ~BulkInsert() {
        if (!m_done)
            m_db.rollback();
    }
    void row(const QVariantList& values) {
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, values[i]);
        check(m_query.exec(), m_query);
    }
    void commit() {
        m_db.commit();
        m_done = true;
    }

private:
    QSqlDatabase m_db;
    QSqlQuery m_query;
    bool m_done = false;
};

} // namespace

ShopFacts generateShop(const ShopSize& size, const std::function<void(const QString&)>& progress) {
    auto say = [&progress](const QString& text) {
        if (progress)
            progress(text);
    };
    std::mt19937 random(size.seed);
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };

    QSqlDatabase db = TDM_Public::database();
    if (db.driverName() == QLatin1String("QSQLITE")) {
        QSqlQuery pragma(db);
        pragma.exec(QStringLiteral("pragma synchronous=off"));
        pragma.exec(QStringLiteral("pragma journal_mode=memory"));
    }

    ShopFacts facts;
    facts.lastDay = QDate::currentDate();
    facts.firstDay = facts.lastDay.addYears(-size.years).addDays(1);
    const qint64 days = facts.firstDay.daysTo(facts.lastDay) + 1;

    // Users with every right.
    {
        QStringList columns = {QStringLiteral("工号"), QStringLiteral("用户名称"),
                               QStringLiteral("用户密码"), QStringLiteral("级别")};
        QStringList marks = {QStringLiteral("?"), QStringLiteral("?"), QStringLiteral("?"),
                             QStringLiteral("?")};
        for (const QString& right : db::rightsColumns()) {
            columns << right;
            marks << QStringLiteral("1");
        }
        BulkInsert users(QStringLiteral("insert into tab_user(") + columns.join(',') +
                         QStringLiteral(")values(") + marks.join(',') + ')');
        for (int i = 1; i <= size.users; ++i) {
            const QString no = QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0'));
            const QString name = QStringLiteral("职员%1").arg(i);
            users.row({no, name, QString(), QStringLiteral("销售员")});
            facts.owners << no + '(' + name + ')';
        }
        users.commit();
    }
    say(QStringLiteral("users: %1").arg(size.users));

    QStringList suppliers, customers;
    {
        BulkInsert partners(QStringLiteral(
            "insert into Tab_khgl(客户简称,公司名,通讯地址,联系电话,类型)values(?,?,?,?,?)"));
        for (int i = 0; i < size.partners; ++i) {
            const bool supplier = i % 2 == 0;
            const QString name = (supplier ? QStringLiteral("供货商%1") : QStringLiteral("客户%1"))
                                     .arg(i, 5, 10, QLatin1Char('0'));
            (supplier ? suppliers : customers) << name;
            partners.row({name, name + QStringLiteral("有限公司"),
                          QStringLiteral("浙江省杭州市%1号").arg(i),
                          QStringLiteral("0571-%1").arg(80000000 + i),
                          supplier ? QStringLiteral("供商资料") : QStringLiteral("客户资料")});
        }
        partners.commit();
    }
    say(QStringLiteral("partners: %1").arg(size.partners));

    std::vector<Product> products;
    products.reserve(size_t(size.products));
    for (int i = 0; i < size.products; ++i) {
        Product p;
        p.category = QString::fromUtf8(kCategories[pick(std::size(kCategories))]);
        p.name =
            QString::fromUtf8(kNameParts[pick(std::size(kNameParts))]) + QString::number(i / 7);
        p.spec = QString::fromUtf8(kSpecs[pick(std::size(kSpecs))]);
        p.code = QStringLiteral("SP%1").arg(i, 6, 10, QLatin1Char('0'));
        p.price = (50 + pick(20000)) / 100.0;
        products.push_back(std::move(p));
    }

    // Lines of a table, evenly over the days; numbers run per day as NewDocumentNo draws them.
    auto writeLines = [&](const QString& sql, int count, bool purchase) {
        BulkInsert lines(sql);
        const double perDay = double(count) / double(days);
        int written = 0;
        for (qint64 day = 0; day < days && written < count; ++day) {
            const QDate date = facts.firstDay.addDays(day);
            const QString ymd = date.toString(QStringLiteral("yyyyMMdd"));
            const int target = day == days - 1 ? count : int(perDay * double(day + 1));
            for (int n = 1; written < target; ++n, ++written) {
                const Product& p = products[size_t(pick(int(products.size())))];
                const bool ret = pick(20) == 0;
                const double quantity = 1 + pick(100);
                const double price = purchase ? p.price : p.price * 1.3;
                const QString number = ymd + QStringLiteral("%1").arg(n, 7, 10, QLatin1Char('0'));
                const QString owner = facts.owners[pick(int(facts.owners.size()))];
                if (purchase) {
                    lines.row({number, p.category, p.name, p.spec, p.code, price, quantity,
                               price * quantity, date, suppliers[pick(int(suppliers.size()))],
                               owner, QString(),
                               ret ? QStringLiteral("采购退货") : QStringLiteral("采购入库"), 0});
                } else {
                    lines.row({number, p.category, p.name, p.spec, p.code, price, quantity,
                               price * quantity, date, customers[pick(int(customers.size()))],
                               owner, QString(),
                               ret ? QStringLiteral("销售退库") : QStringLiteral("销售出库"),
                               pick(10) == 0 ? price * quantity : 0.0, 0, QString()});
                }
                if (written % 200000 == 0 && written > 0)
                    say(QStringLiteral("  %1 lines").arg(written));
            }
        }
        lines.commit();
    };
    writeLines(QStringLiteral("insert into Tab_Cgjh(编号,商品大类,商品名称,规格,商品编码,进货单价,"
                              "进货数量,合计,进货日期,供货商,进货人,备注,类型,打印标志)"
                              "values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
               size.purchaseLines, true);
    say(QStringLiteral("purchase lines: %1").arg(size.purchaseLines));
    writeLines(QStringLiteral("insert into Tab_xsch(编号,商品大类,商品名称,规格,商品编码,出货单价,"
                              "出货数量,合计,出货日期,客户,出货人,备注,类型,欠款金额,打印标志,"
                              "客户地址电话)values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
               size.salesLines, false);
    say(QStringLiteral("sales lines: %1").arg(size.salesLines));

    if (db.driverName() == QLatin1String("QSQLITE")) {
        QSqlQuery analyze(db);
        analyze.exec(QStringLiteral("analyze"));
    }
    return facts;
}

} // namespace bench
