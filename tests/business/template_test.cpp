// What every business screen has from the template: Enter moving on like Tab, the owner box
// that takes no keys, the row colours of the grid and the query timing text.

#include "business/Cgjh_frm.h"
#include "business/Public_Unit_mb.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/number_edit.h"
#include "tests/business/support/purchase_support.h"
#include "tests/support/app_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using testing::AppFixture;
using testing::PurchaseLine;

class TemplateTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void enterMovesTheFocusLikeTab();
    void ownerBoxTakesNoKeys();
    void rowColours();
    void timingText_data();
    void timingText();
};

void TemplateTest::enterMovesTheFocusLikeTab() {
    AppFixture app;
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    screen->activateWindow();
    auto* category = screen->findChild<QComboBox*>(QStringLiteral("DBComboBoxEh1"));
    auto* name = screen->findChild<QComboBox*>(QStringLiteral("DBComboBoxEh2"));
    auto* price = screen->findChild<NumberEdit*>(QStringLiteral("djdb"));
    auto* quantity = screen->findChild<NumberEdit*>(QStringLiteral("sldb"));
    category->setFocus();
    QTRY_VERIFY(category->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(name->hasFocus());
    price->setFocus();
    QTRY_VERIFY(price->hasFocus());
    QTest::keyClick(price, Qt::Key_Enter);
    QTRY_VERIFY(quantity->hasFocus());
    // Enter moved on without a message or an add.
    QCOMPARE(app.boxes().count(), 0);
    QCOMPARE(app.count(QStringLiteral("Tab_Cgjh")), 0);
}

void TemplateTest::ownerBoxTakesNoKeys() {
    AppFixture app;
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    auto* owner = screen->findChild<QComboBox*>(QStringLiteral("DBComboBoxEh6"));
    QCOMPARE(owner->count(), 1);
    QCOMPARE(owner->currentText(), QStringLiteral("888(系统管理员)"));
    QTest::keyClicks(owner, QStringLiteral("x"));
    QTest::keyClick(owner, Qt::Key_Down);
    QCOMPARE(owner->count(), 1);
    QCOMPARE(owner->currentText(), QStringLiteral("888(系统管理员)"));
}

void TemplateTest::rowColours() {
    AppFixture app;
    for (const char* number : {"1", "2", "3"})
        insertPurchaseLine(app, PurchaseLine{.number = number});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    auto* grid = screen->findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
    QCOMPARE(grid->rowCount(), 3);
    const QColor light(0xF2, 0xF2, 0xF2);
    const QColor white(0xFF, 0xFF, 0xFF);
    const QList<QColor> expected = {light, white, light};
    for (int row = 0; row < 3; ++row) {
        for (int column : {0, 5}) {
            const QVariant background = grid->model()->index(row, column).data(Qt::BackgroundRole);
            QCOMPARE(background.value<QBrush>().color(), expected[row]);
        }
    }
}

void TemplateTest::timingText_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("text");
    QTest::newRow("no time") << 100.0 << 100.0 << 0 << "查询时间：0秒   共查询到 0 条记录";
    QTest::newRow("16 ms") << 100.0 << 116.0 << 5 << "查询时间：0.016秒   共查询到 5 条记录";
    QTest::newRow("1.5 s") << 0.0 << 1500.0 << 100000 << "查询时间：1.5秒   共查询到 100000 条记录";
    QTest::newRow("ticks backwards")
        << 2000.0 << 500.0 << 1 << "查询时间：1.5秒   共查询到 1 条记录";
}

void TemplateTest::timingText() {
    QFETCH(double, start);
    QFETCH(double, end);
    QFETCH(int, rows);
    QFETCH(QString, text);
    QCOMPARE(TMb_Public_Unit::QueryTimingText(start, end, rows), text);
}

QTEST_MAIN(TemplateTest)
#include "template_test.moc"
