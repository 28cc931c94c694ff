#pragma once

#include "tests/business/support/screen_support.h"

#include <QDate>
#include <QString>
#include <QStringList>

class DataGrid;
class Tfrm_xsch;

namespace testing {
class AppFixture;
}

namespace sales {

// A purchase line of a product, written straight into Tab_Cgjh.
struct Bought {
    QString code = QStringLiteral("A1");
    QString spec = QStringLiteral("500g");
    double quantity = 10;
    QString kind = QStringLiteral("采购入库");
    QString name = QStringLiteral("饼干");
    QString category = QStringLiteral("食品类");
};
void addPurchase(testing::AppFixture& app, const Bought& line);

// A sales line, written straight into Tab_xsch.
struct Sold {
    QString code = QStringLiteral("A1");
    QString spec = QStringLiteral("500g");
    double price = 10;
    double quantity = 1;
    QString customer = QStringLiteral("张三超市");
    QString kind = QStringLiteral("销售出库");
    QDate date = QDate::currentDate();
    double total = -1; // -1: price × quantity
    double debt = 0;
    QString remark = QString();
    QString owner = QStringLiteral("888(系统管理员)");
    QString name = QStringLiteral("饼干");
    QString category = QStringLiteral("食品类");
};
// Returns the line number it was written under (running, so later lines sort above).
QString addSale(testing::AppFixture& app, const Sold& line);

// Logs in (unless someone is) and opens a sales screen through the main window's command
// ("销售出货" or "销售退货").
Tfrm_xsch* openScreen(testing::AppFixture& app, const QString& command = QStringLiteral("销售出货"),
                      const QString& workNo = QStringLiteral("888"));

// Clicks a grid row as the user does.
void clickRow(DataGrid* grid, int row);

// Copies a report layout from the build's program folder into the test's program folder.
void copyLayoutFile(testing::AppFixture& app, const QString& fileName);

} // namespace sales
