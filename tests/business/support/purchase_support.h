#pragma once

#include "tests/business/support/screen_support.h"

#include <QDate>
#include <QString>
#include <QStringList>

class DataGrid;
class QWidget;
class TFrm_Cgjh;

namespace testing {

class AppFixture;

// One line of Tab_Cgjh as a test writes it straight into the database.
struct PurchaseLine {
    QString number = QString();
    QString category = QStringLiteral("食品类");
    QString name = QStringLiteral("饼干");
    QString spec = QStringLiteral("500g");
    QString code = QStringLiteral("P001");
    double price = 2.5;
    double quantity = 4;
    double total = 10;
    QDate date = QDate::currentDate();
    QString supplier = QStringLiteral("甲供应商");
    QString owner = QStringLiteral("888(系统管理员)");
    QString remark = QString();
    QString kind = QStringLiteral("采购入库");
    int printFlag = 0;
};

// Writes the line; an empty number gets "<date>" + a running number.
void insertPurchaseLine(AppFixture& app, PurchaseLine line);

// Logs in (the administrator unless another work number is given) and opens the purchase
// screen ("采购进货") or the return screen ("采购退货") through the main window's command. The
// login's log row is removed, so the log holds only what the screens write.
TFrm_Cgjh* openPurchaseScreen(AppFixture& app, const QString& command = QStringLiteral("采购进货"),
                              const QString& workNo = QStringLiteral("888"));

// Copies a report layout from the build's program folder into the test's program folder.
void copyLayout(AppFixture& app, const QString& fileName);

} // namespace testing
