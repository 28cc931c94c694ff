#include "db/Public_DM.h"
#include "db/sql_error.h"
#include "db/sql_text.h"
#include "shell/public_unit.h"
#include "tests/support/app_fixture.h"

#include <QComboBox>
#include <QDate>
#include <QTest>

class PublicUnitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void moneyToChinese_data();
    void moneyToChinese();
    void newDocumentNo();
    void newDocumentNoRunsPerTable();
    void newDocumentNoFromAnotherDay();
    void incrementDocumentNo_data();
    void incrementDocumentNo();
    void hasRight();
    void operationLogKeepsQuotes();
    void fillUserCombo();
};

void PublicUnitTest::moneyToChinese_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");
    const struct {
        double amount;
        const char* text;
    } cases[] = {
        {0, "零"},
        {0.01, "壹分"},
        {0.05, "伍分"},
        {0.5, "伍角整"},
        {1, "壹圆整"},
        {1.05, "壹圆零伍分"},
        {1.5, "壹圆伍角整"},
        {10, "壹拾圆整"},
        {15, "壹拾伍圆整"},
        {20.3, "贰拾圆叁角整"},
        {100.07, "壹佰圆零柒分"},
        {101, "壹佰零壹圆整"},
        {1005, "壹仟零伍圆整"},
        {1010, "壹仟零壹拾圆整"},
        {10010, "壹万零壹拾圆整"},
        {100000, "壹拾万圆整"},
        {100100, "壹拾万零壹佰圆整"},
        {1000000, "壹佰万圆整"},
        {1000001, "壹佰万零壹圆整"},
        {10000000, "壹仟万圆整"},
        {100000000, "壹亿圆整"},
        {100000001, "壹亿零壹圆整"},
        {100010000, "壹亿零壹万圆整"},
        {110000000, "壹亿壹仟万圆整"},
        {1010101.01, "壹佰零壹万零壹佰零壹圆零壹分"},
        {123456789.12, "壹亿贰仟叁佰肆拾伍万陆仟柒佰捌拾玖圆壹角贰分"},
        {1000000000000, "壹万亿圆整"},
        {9999999999999.99, "玖万玖仟玖佰玖拾玖亿玖仟玖佰玖拾玖万玖仟玖佰玖拾玖圆玖角玖分"},
        // Beyond 13 integer digits the extra digits carry no unit.
        {10000000000000, "壹亿圆整"},
        {12345678901234, "壹贰万叁仟肆佰伍拾陆亿柒仟捌佰玖拾万壹仟贰佰叁拾肆圆整"},
        // Rounded to the cent before the words are chosen.
        {0.999, "壹圆整"},
        {0.004, "整"},
        // A minus sign reads as a zero digit.
        {-5, "零伍圆整"},
        {-12.34, "零壹拾贰圆叁角肆分"},
        {-0.5, "伍角整"},
    };
    for (const auto& c : cases)
        QTest::newRow(QByteArray::number(c.amount, 'f', 3).constData())
            << c.amount << QString::fromUtf8(c.text);
}

void PublicUnitTest::moneyToChinese() {
    QFETCH(double, amount);
    QFETCH(QString, expected);
    QCOMPARE(MoneyToChinese(amount), expected);
}

void PublicUnitTest::newDocumentNo() {
    testing::AppFixture app;
    db::Query& q = app.dataModule()->ADOQuery1();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    const QString first = NewDocumentNo(QStringLiteral("Tab_Cgjh"), q);
    QCOMPARE(first, today + QStringLiteral("0000001"));

    auto insert = [&](const QString& number) {
        app.exec(QStringLiteral("insert into Tab_Cgjh(编号,类型,打印标志)values(") +
                 db::quoted(number) + QStringLiteral(",'采购入库',0)"));
    };
    insert(first);
    QCOMPARE(NewDocumentNo(QStringLiteral("Tab_Cgjh"), q), today + QStringLiteral("0000002"));
    insert(today + QStringLiteral("0000002"));
    insert(today + QStringLiteral("0000003"));

    // A gap below the highest number is not filled again.
    app.exec(QStringLiteral("delete from Tab_Cgjh where 编号=") +
             db::quoted(today + QStringLiteral("0000002")));
    QCOMPARE(NewDocumentNo(QStringLiteral("Tab_Cgjh"), q), today + QStringLiteral("0000004"));
    // Deleting the highest number hands it out again.
    app.exec(QStringLiteral("delete from Tab_Cgjh where 编号=") +
             db::quoted(today + QStringLiteral("0000003")));
    QCOMPARE(NewDocumentNo(QStringLiteral("Tab_Cgjh"), q), today + QStringLiteral("0000002"));

    // Past 9999999 in one day the running number carries into the date digits.
    insert(today + QStringLiteral("9999999"));
    const QString carried = NewDocumentNo(QStringLiteral("Tab_Cgjh"), q);
    QCOMPARE(carried, QString::number(QString(today + QStringLiteral("9999999")).toLongLong() + 1));
}

void PublicUnitTest::newDocumentNoRunsPerTable() {
    testing::AppFixture app;
    db::Query& q = app.dataModule()->ADOQuery1();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    app.exec(QStringLiteral("insert into Tab_Cgjh(编号,类型)values('") + today +
             QStringLiteral("0000005','采购退货')"));
    QCOMPARE(NewDocumentNo(QStringLiteral("Tab_Cgjh"), q), today + QStringLiteral("0000006"));
    QCOMPARE(NewDocumentNo(QStringLiteral("Tab_xsch"), q), today + QStringLiteral("0000001"));
    QCOMPARE(NewDocumentNo(QStringLiteral("Tab_jysy"), q), today + QStringLiteral("0000001"));
}

void PublicUnitTest::newDocumentNoFromAnotherDay() {
    testing::AppFixture app;
    db::Query& q = app.dataModule()->ADOQuery1();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    const QString yesterday = QDate::currentDate().addDays(-1).toString(QStringLiteral("yyyyMMdd"));
    // Numbers of earlier days never continue into today.
    app.exec(QStringLiteral("insert into Tab_xsch(编号)values('") + yesterday +
             QStringLiteral("0000009')"));
    QCOMPARE(NewDocumentNo(QStringLiteral("Tab_xsch"), q), today + QStringLiteral("0000001"));
}

void PublicUnitTest::incrementDocumentNo_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("next");
    QTest::newRow("worked example") << "200708150000041"
                                    << "200708150000042";
    QTest::newRow("blanks around") << " 200708150000041 "
                                   << "200708150000042";
    QTest::newRow("carry") << "200708159999999"
                           << "200708160000000";
    QTest::newRow("decimal text") << "12.5"
                                  << "13.5";
}

void PublicUnitTest::incrementDocumentNo() {
    QFETCH(QString, number);
    QFETCH(QString, next);
    QCOMPARE(IncrementDocumentNo(number), next);
}

void PublicUnitTest::hasRight() {
    testing::AppFixture app;
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QString(),
                {QStringLiteral("采购进货")});
    QVERIFY(HasRight(QStringLiteral("0001"), QStringLiteral("采购进货")));
    QVERIFY(!HasRight(QStringLiteral("0001"), QStringLiteral("销售出货")));
    QVERIFY(!HasRight(QStringLiteral("9999"), QStringLiteral("采购进货")));
    // The work number is not trimmed.
    QVERIFY(!HasRight(QStringLiteral(" 0001"), QStringLiteral("采购进货")));
    QVERIFY(HasRight(QStringLiteral("888"), QStringLiteral("新增单据")));
    // A misspelled right is a database error, not a refusal.
    QVERIFY_THROWS_EXCEPTION(db::SqlError,
                             HasRight(QStringLiteral("0001"), QStringLiteral("无此权限")));
}

void PublicUnitTest::operationLogKeepsQuotes() {
    testing::AppFixture app;
    AddOperationLog(QStringLiteral("  当前计算机 "), QStringLiteral("O'Brien"),
                    QStringLiteral("0001"), QStringLiteral("工号为：0001 it's done"),
                    QStringLiteral("重要"), app.dataModule()->ADOQuery1());
    const auto rows = app.rows(QStringLiteral("select * from tab_rz"));
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].value(QStringLiteral("操作内容")).toString(),
             QStringLiteral("工号为：0001 it's done"));
    QCOMPARE(rows[0].value(QStringLiteral("操作员")).toString(), QStringLiteral("O'Brien"));
    QCOMPARE(rows[0].value(QStringLiteral("操作电脑名")).toString(), QStringLiteral("当前计算机"));
    QCOMPARE(rows[0].value(QStringLiteral("日期")).toString(),
             QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    QVERIFY(QTime::fromString(rows[0].value(QStringLiteral("时间")).toString(),
                              QStringLiteral("HH:mm:ss"))
                .isValid());
    QCOMPARE(rows[0].value(QStringLiteral("性质")).toString(), QStringLiteral("重要"));
    QCOMPARE(rows[0].value(QStringLiteral("工号")).toString(), QStringLiteral("0001"));
}

void PublicUnitTest::fillUserCombo() {
    testing::AppFixture app;
    app.addUser(QStringLiteral("0001"), QStringLiteral("张三"), QString(), {});
    app.addUser(QStringLiteral("0002"), QStringLiteral("李四"), QString(), {});
    QComboBox combo;
    combo.addItem(QStringLiteral("old"));
    FillUserCombo(&combo, app.dataModule()->ADOQuery1());
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items << combo.itemText(i);
    QCOMPARE(items, (QStringList{QString(), QStringLiteral("888(系统管理员)"),
                                 QStringLiteral("0002(李四)"), QStringLiteral("0001(张三)")}));
}

QTEST_MAIN(PublicUnitTest)
#include "public_unit_test.moc"
