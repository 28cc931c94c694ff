#include "db/Public_DM.h"
#include "tests/support/app_fixture.h"

#include <QDate>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <memory>

using testing::AppFixture;

// Two programs adding lines to the same table at the same moment draw the same numbers; every
// line must still arrive, each under a number of its own.
class ConcurrencyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoProgramsAddLinesAtOnce_data();
    void twoProgramsAddLinesAtOnce();
};

void ConcurrencyTest::twoProgramsAddLinesAtOnce_data() {
    QTest::addColumn<QString>("table");
    QTest::newRow("purchase lines") << "Tab_Cgjh";
    QTest::newRow("sales lines") << "Tab_xsch";
    QTest::newRow("ledger entries") << "Tab_jysy";
}

void ConcurrencyTest::twoProgramsAddLinesAtOnce() {
    QFETCH(QString, table);
    AppFixture app;
    const int perProgram = 150;
    const QString adder =
        QCoreApplication::applicationDirPath() + QStringLiteral("/line_number_adder");
    std::vector<std::unique_ptr<QProcess>> programs;
    for (const char* tag : {"A", "B"}) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MERCHDESK_HOME"), app.home());
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(adder, {table, QString::number(perProgram), QLatin1String(tag)});
        programs.push_back(std::move(process));
    }
    for (auto& process : programs) {
        QVERIFY(process->waitForFinished(120000));
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
    }

    const auto rows = app.rows(QStringLiteral("select 编号,备注 from ") + table);
    QCOMPARE(rows.size(), 2 * perProgram);
    QSet<QString> numbers;
    QSet<QString> lines;
    const QRegularExpression format(QStringLiteral("^") +
                                    QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
                                    QStringLiteral("\\d{7}$"));
    for (const auto& row : rows) {
        const QString number = row.value(QStringLiteral("编号")).toString();
        QVERIFY2(format.match(number).hasMatch(), qPrintable(number));
        numbers << number;
        lines << row.value(QStringLiteral("备注")).toString();
    }
    QCOMPARE(numbers.size(), 2 * perProgram);
    QCOMPARE(lines.size(), 2 * perProgram);
}

QTEST_MAIN(ConcurrencyTest)
#include "concurrency_test.moc"
