#include <QTest>
class Placeholder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pending() { QSKIP("written next"); }
};
QTEST_MAIN(Placeholder)
#include "db_test.moc"
