#include "platform/sys/single_instance.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

class SingleInstanceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondCopyIsRefusedAndWakesTheFirst();
    void lockIsFreedWhenTheFirstCopyEnds();
    void secondProgramOpensNoDatabase();
};

void SingleInstanceTest::secondCopyIsRefusedAndWakesTheFirst() {
    const QString name =
        QStringLiteral("merchdesk-test-") + QUuid::createUuid().toString(QUuid::Id128);
    sys::SingleInstanceGuard first(name);
    QVERIFY(!first.anotherCopyRuns());
    QSignalSpy woken(&first, &sys::SingleInstanceGuard::activationRequested);
    sys::SingleInstanceGuard second(name);
    QVERIFY(second.anotherCopyRuns());
    QTRY_COMPARE(woken.count(), 1);
}

void SingleInstanceTest::lockIsFreedWhenTheFirstCopyEnds() {
    const QString name =
        QStringLiteral("merchdesk-test-") + QUuid::createUuid().toString(QUuid::Id128);
    {
        sys::SingleInstanceGuard first(name);
        QVERIFY(!first.anotherCopyRuns());
    }
    sys::SingleInstanceGuard next(name);
    QVERIFY(!next.anotherCopyRuns());
}

// The real program started while a copy runs: it wakes the running copy and never reaches
// the database.
void SingleInstanceTest::secondProgramOpensNoDatabase() {
    const QString program =
        qEnvironmentVariable("MERCHDESK_PROGRAM_DIR") + QStringLiteral("/merchdesk");
    if (!QFileInfo::exists(program))
        QSKIP("the merchdesk program is not built");
    QTemporaryDir home;
    QTemporaryDir temp;
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    sys::SingleInstanceGuard running(QStringLiteral("merchdesk"));
    qunsetenv("TMPDIR");
    QVERIFY(!running.anotherCopyRuns());
    QSignalSpy woken(&running, &sys::SingleInstanceGuard::activationRequested);

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), temp.path());
    env.insert(QStringLiteral("MERCHDESK_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.start(program, {});
    QVERIFY(second.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(woken.count(), 1, 10000);
    // It now shows its message box; give it a moment to prove it opens no database.
    QTest::qWait(300);
    QVERIFY(!QFileInfo::exists(home.path() + QStringLiteral("/data/SMDT.db")));
    second.kill();
    second.waitForFinished();
}

QTEST_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
