#include "db/Public_DM.h"
#include "db/dialect.h"
#include "db/query.h"
#include "db/schema.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "tests/support/app_fixture.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <utility>
#include <vector>

using testing::AppFixture;

namespace {

// Sets environment variables for one test and puts the old values back when it ends.
class ScopedEnvironment {
public:
    ~ScopedEnvironment() {
        for (auto it = m_old.crbegin(); it != m_old.crend(); ++it) {
            if (it->second.isNull())
                qunsetenv(it->first.constData());
            else
                qputenv(it->first.constData(), it->second);
        }
    }

    void set(const char* name, const QString& value) {
        m_old.emplace_back(QByteArray(name), qgetenv(name));
        qputenv(name, value.toLocal8Bit());
    }

private:
    std::vector<std::pair<QByteArray, QByteArray>> m_old;
};

} // namespace

class DbTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void schemaHasEveryColumn_data();
    void schemaHasEveryColumn();
    void firstAdministrator();
    void valueConventions();
    void quotesAreStoredAsTyped();
    void datePartConditions_data();
    void datePartConditions();
    void datePartOfLettersIsAnError();
    void serverDateAndViews();
    void lineNumbersAreUnique();
    void existingDatabaseIsKept();
    void unopenableDatabaseReportsTheMessage();
    void corruptDatabaseFileReportsTheMessage();
    void unsupportedDataSourceIsNamed();
    void unreachableServerReportsTheMessage();
};

void DbTest::schemaHasEveryColumn_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    QTest::newRow("Tab_Cgjh") << "Tab_Cgjh"
                              << QStringList{"编号",     "商品大类", "商品名称", "规格",
                                             "商品编码", "进货单价", "进货数量", "合计",
                                             "进货日期", "供货商",   "进货人",   "备注",
                                             "类型",     "打印标志"};
    QTest::newRow("Tab_xsch") << "tab_XSCH"
                              << QStringList{"编号",     "商品大类", "商品名称", "规格",
                                             "商品编码", "出货单价", "出货数量", "合计",
                                             "出货日期", "客户",     "出货人",   "备注",
                                             "类型",     "欠款金额", "打印标志", "客户地址电话"};
    QTest::newRow("Tab_khgl") << "Tab_khgl"
                              << QStringList{"客户简称", "公司名",   "主联系人", "联系电话",
                                             "通讯地址", "手机",     "职务",     "性别",
                                             "传真",     "住宅电话", "QQMSN",    "网址",
                                             "电子邮箱", "邮编",     "业务员",   "备注",
                                             "类型"};
    QTest::newRow("Tab_jysy") << "Tab_jysy" << QStringList{"编号",     "活动名称", "金额", "经手人",
                                                           "往来单位", "日期",     "备注"};
    QTest::newRow("Tab_Hdlb") << "Tab_Hdlb" << QStringList{"活动类型", "活动名称", "备注"};
    QTest::newRow("tab_user") << "tab_user"
                              << (QStringList{"工号", "用户名称", "用户密码", "级别"} +
                                  db::rightsColumns());
    QTest::newRow("tab_rz") << "tab_rz" << QStringList{"日期",     "时间", "操作电脑名", "操作员",
                                                       "操作内容", "性质", "工号"};
    QTest::newRow("tab_company_info")
        << "tab_company_info" << QStringList{"公司名", "销售电话", "传真", "地址"};
    QTest::newRow("权限密码") << "权限密码" << QStringList{"工号", "姓名", "密码"};
}

void DbTest::schemaHasEveryColumn() {
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    AppFixture app;
    db::Query q;
    q.open(QStringLiteral("select ") + columns.join(QLatin1Char(',')) + QStringLiteral(" from ") +
           table + QStringLiteral(" where 1=1"));
    QCOMPARE(q.record().count(), columns.size());
    QCOMPARE(db::rightsColumns().size(), 21);
}

void DbTest::firstAdministrator() {
    AppFixture app;
    const auto users = app.rows(QStringLiteral("select * from tab_user"));
    QCOMPARE(users.size(), 1);
    const QVariantMap& admin = users.first();
    QCOMPARE(admin.value(QStringLiteral("工号")).toString(), QStringLiteral("888"));
    QCOMPARE(admin.value(QStringLiteral("用户名称")).toString(), QStringLiteral("系统管理员"));
    QCOMPARE(admin.value(QStringLiteral("级别")).toString(), QStringLiteral("系统管理员"));
    QCOMPARE(admin.value(QStringLiteral("用户密码")).toString(), QString());
    for (const QString& right : db::rightsColumns())
        QCOMPARE(admin.value(right).toInt(), 1);
    // The log viewer's view follows the users.
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QStringLiteral("pw"), {});
    const auto view = app.rows(QStringLiteral("select 工号,姓名,密码 from 权限密码 order by 工号"));
    QCOMPARE(view.size(), 2);
    QCOMPARE(view[0].value(QStringLiteral("姓名")).toString(), QStringLiteral("张三"));
}

void DbTest::valueConventions() {
    AppFixture app;
    // Numbers and dates arrive as quoted texts; the print flag as a bare 0 and a quoted '1'.
    app.exec(QStringLiteral(
        "insert into Tab_Cgjh(编号,商品编码,规格,进货单价,进货数量,合计,进货日期,类型,打印标志)"
        "values('200708150000001','A1','大','12.5','4','50','2007-08-15','采购入库',0)"));
    app.exec(QStringLiteral(
        "insert into Tab_Cgjh(编号,商品编码,规格,进货单价,进货数量,合计,进货日期,类型,打印标志)"
        "values('200708150000002','A1','大','0.1','3','0.3','2007-08-16','采购入库',0)"));
    app.exec(QStringLiteral("update  Tab_cgjh set 打印标志='1' where 编号='200708150000002'"));
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh"), QStringLiteral("打印标志=1")), 1);
    QCOMPARE(app.scalar(QStringLiteral(
                            "select sum(cast(进货数量 as double precision)) as n from Tab_Cgjh"))
                 .toDouble(),
             7.0);
    QCOMPARE(
        app.scalar(QStringLiteral("select coalesce(sum(合计),0) as n from tab_cgjh")).toDouble(),
        50.3);
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh"),
                       QStringLiteral("进货日期>='2007-08-15' and 进货日期<='2007-08-15'")),
             1);
    QCOMPARE(
        app.scalar(QStringLiteral("select 进货日期 from Tab_Cgjh where 编号='200708150000001'"))
            .toDate(),
        QDate(2007, 8, 15));
    // Rights compare with the quoted '1' and take the texts '0' and '1'.
    app.exec(QStringLiteral("update tab_user set 采购进货='0' where 工号='888'"));
    QCOMPARE(app.count(QStringLiteral("tab_user"), QStringLiteral("采购进货='1'")), 0);
    QCOMPARE(app.count(QStringLiteral("tab_user"), QStringLiteral("销售出货='1'")), 1);
    // '%%' matches every value that is not null, the empty text included.
    app.exec(QStringLiteral("insert into Tab_Cgjh(编号,供货商)values('200708150000003','')"));
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh"), QStringLiteral("供货商 like '%%'")), 1);
}

void DbTest::quotesAreStoredAsTyped() {
    AppFixture app;
    const QString text = QStringLiteral("O'Brien's \"best\" 酒'");
    QCOMPARE(db::quoted(QStringLiteral("a'b")), QStringLiteral("'a''b'"));
    app.exec(QStringLiteral("insert into Tab_khgl(客户简称,备注)values(") + db::quoted(text) +
             QLatin1Char(',') + db::quoted(QStringLiteral("'")) + QLatin1Char(')'));
    QCOMPARE(app.scalar(QStringLiteral("select 客户简称 from Tab_khgl where 客户简称=") +
                        db::quoted(text))
                 .toString(),
             text);
}

void DbTest::datePartConditions_data() {
    QTest::addColumn<int>("part");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("matches");
    QTest::newRow("year quoted") << int(db::SqlDialect::DatePart::Year) << "'2007'" << 2;
    QTest::newRow("year bare") << int(db::SqlDialect::DatePart::Year) << "2007" << 2;
    QTest::newRow("year blanks") << int(db::SqlDialect::DatePart::Year) << "' 2007'" << 2;
    QTest::newRow("other year") << int(db::SqlDialect::DatePart::Year) << "'2008'" << 1;
    QTest::newRow("month two digits") << int(db::SqlDialect::DatePart::Month) << "'08'" << 2;
    QTest::newRow("month one digit") << int(db::SqlDialect::DatePart::Month) << "'8'" << 2;
    QTest::newRow("month bare") << int(db::SqlDialect::DatePart::Month) << "12" << 1;
}

void DbTest::datePartConditions() {
    QFETCH(int, part);
    QFETCH(QString, value);
    QFETCH(int, matches);
    AppFixture app;
    for (const char* date : {"2007-08-01", "2007-08-31", "2008-12-01"})
        app.exec(
            QStringLiteral("insert into Tab_xsch(出货日期)values('%1')").arg(QLatin1String(date)));
    const QString condition = db::dialect().datePartEquals(db::SqlDialect::DatePart(part),
                                                           QStringLiteral("出货日期"), value);
    QCOMPARE(app.count(QStringLiteral("Tab_xsch"), condition), matches);
}

void DbTest::datePartOfLettersIsAnError() {
    AppFixture app;
    app.exec(QStringLiteral("insert into Tab_Cgjh(进货日期)values('2007-08-01')"));
    db::Query q;
    for (const QString& value :
         {QStringLiteral("'abc'"), QStringLiteral("''"), QStringLiteral("'20O7'")}) {
        const QString sql = QStringLiteral("select * from Tab_Cgjh where 1=1 and ") +
                            db::dialect().datePartEquals(db::SqlDialect::DatePart::Year,
                                                         QStringLiteral("进货日期"), value);
        QVERIFY_THROWS_EXCEPTION(db::SqlError, q.open(sql));
    }
}

void DbTest::serverDateAndViews() {
    AppFixture app;
    QCOMPARE(app.scalar(QStringLiteral("select ") + db::dialect().serverDateYmd() +
                        QStringLiteral(" as d"))
                 .toString(),
             QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    const QString exists = db::dialect().viewExistsQuery(db::quoted(QStringLiteral("view888")));
    QCOMPARE(app.rows(exists).size(), 0);
    app.exec(QStringLiteral("create view view888 as select sum(0) as a0 from tab_cgjh"));
    QCOMPARE(app.rows(exists).size(), 1);
    app.exec(QStringLiteral("drop view view888"));
    QCOMPARE(app.rows(exists).size(), 0);
}

void DbTest::lineNumbersAreUnique() {
    AppFixture app;
    const struct {
        const char* table;
        const char* column;
    } keys[] = {
        {"Tab_Cgjh", "编号"}, {"Tab_xsch", "编号"}, {"Tab_jysy", "编号"}, {"Tab_khgl", "客户简称"}};
    for (const auto& key : keys) {
        const QString insert =
            QStringLiteral("insert into %1(%2)values('200708150000001')")
                .arg(QString::fromUtf8(key.table), QString::fromUtf8(key.column));
        app.exec(insert);
        try {
            app.exec(insert);
            QFAIL(qPrintable(QStringLiteral("a second row with the same key was accepted in ") +
                             QString::fromUtf8(key.table)));
        } catch (const db::SqlError& e) {
            QVERIFY2(db::dialect().isUniqueViolation(e.message()), qPrintable(e.message()));
        }
    }
}

void DbTest::existingDatabaseIsKept() {
    if (testing::usingSharedServer())
        QSKIP("the embedded database file only");
    AppFixture app;
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QString(), {});
    app.exec(QStringLiteral("delete from tab_user where 工号='888'"));
    app.reopenDatabase();
    const auto users = app.rows(QStringLiteral("select 工号 from tab_user"));
    QCOMPARE(users.size(), 1);
    QCOMPARE(users[0].value(QStringLiteral("工号")).toString(), QStringLiteral("0001"));
}

void DbTest::unopenableDatabaseReportsTheMessage() {
    if (testing::usingSharedServer())
        QSKIP("the embedded database file only");
    QTemporaryDir home;
    // The data folder is a file, so the database cannot be created there.
    QFile blocker(home.path() + QStringLiteral("/data"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ScopedEnvironment env;
    env.set("MERCHDESK_HOME", home.path());
    try {
        TDM_Public module;
        QFAIL("the data module opened a database it cannot create");
    } catch (const db::SqlError& e) {
        QVERIFY(!e.message().isEmpty());
    }
    QVERIFY(!TDM_Public::instance());
}

void DbTest::corruptDatabaseFileReportsTheMessage() {
    if (testing::usingSharedServer())
        QSKIP("the embedded database file only");
    QTemporaryDir home;
    QVERIFY(QDir().mkpath(home.path() + QStringLiteral("/data")));
    QFile file(home.path() + QStringLiteral("/data/SMDT.db"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    ScopedEnvironment env;
    env.set("MERCHDESK_HOME", home.path());
    QString message;
    try {
        TDM_Public module;
    } catch (const db::SqlError& e) {
        message = e.message();
    }
    QVERIFY2(message.contains(QStringLiteral("not a database")), qPrintable(message));
    QVERIFY(!TDM_Public::instance());
    // The file is left as it was, for the shop to restore or inspect.
    QCOMPARE(QFileInfo(file.fileName()).size(), 8192);
}

void DbTest::unsupportedDataSourceIsNamed() {
    QTemporaryDir config;
    QFile ini(config.path() + QStringLiteral("/odbc.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[korvane]\nDriver = SQLite3\nDatabase = /tmp/x.db\n");
    ini.close();
    QString message;
    {
        ScopedEnvironment env;
        env.set("ODBCINI", ini.fileName());
        env.set("ODBCSYSINI", config.path());
        try {
            TDM_Public module;
        } catch (const db::SqlError& e) {
            message = e.message();
        }
    }
    QVERIFY2(message.contains(QStringLiteral("SQLite3")), qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("PostgreSQL")));
    QVERIFY(!TDM_Public::instance());
}

// A data source whose server does not answer: the data module fails with the driver's message
// instead of opening the embedded database.
void DbTest::unreachableServerReportsTheMessage() {
    const QString driver = QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so");
    if (!QFile::exists(driver))
        QSKIP("psqlODBC is not installed");
    // unixODBC keeps the data sources it has read for the rest of the process.
    if (testing::usingSharedServer())
        QSKIP("this process already reads the shared server's data source");
    QTemporaryDir config;
    QFile inst(config.path() + QStringLiteral("/odbcinst.ini"));
    QVERIFY(inst.open(QIODevice::WriteOnly));
    inst.write(QStringLiteral("[PostgreSQL Unicode]\nDriver = %1\n").arg(driver).toUtf8());
    inst.close();
    QFile ini(config.path() + QStringLiteral("/odbc.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    // Port 1 on loopback: nothing listens there.
    ini.write("[korvane]\nDriver = PostgreSQL Unicode\nServername = 127.0.0.1\nPort = 1\n"
              "Database = kvmdui\n");
    ini.close();
    QTemporaryDir home;
    QString message;
    {
        ScopedEnvironment env;
        env.set("ODBCINI", ini.fileName());
        env.set("ODBCSYSINI", config.path());
        env.set("MERCHDESK_HOME", home.path());
        try {
            TDM_Public module;
        } catch (const db::SqlError& e) {
            message = e.message();
        }
    }
    QVERIFY2(!message.isEmpty(), "the data module opened without its server");
    QVERIFY(!TDM_Public::instance());
    // The embedded database was not opened in its place.
    QVERIFY(!QFile::exists(home.path() + QStringLiteral("/data/SMDT.db")));
}

QTEST_MAIN(DbTest)
#include "db_test.moc"
