#include "tests/business/support/sales_support.h"

#include "business/xsch_frm.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "shell/main_frm.h"
#include "shell/public_unit.h"
#include "tests/support/app_fixture.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace sales {

namespace {

int g_running = 0;

QString nextNumber(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral("%1").arg(++g_running, 7, 10, QLatin1Char('0'));
}

QString num(double value) {
    return db::quoted(QString::number(value, 'g', 15));
}

} // namespace

void addPurchase(testing::AppFixture& app, const Bought& line) {
    const QString number = nextNumber(QDate::currentDate());
    app.exec(QStringLiteral("insert into Tab_Cgjh(编号,商品大类,商品名称,规格,商品编码,进货单价,"
                            "进货数量,合计,进货日期,供货商,进货人,备注,类型,打印标志)values(") +
             db::quoted(number) + ',' + db::quoted(line.category) + ',' + db::quoted(line.name) +
             ',' + db::quoted(line.spec) + ',' + db::quoted(line.code) + ",'1'," +
             num(line.quantity) + ',' + num(line.quantity) + ',' +
             db::quoted(QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))) +
             ",'甲供应商','888(系统管理员)',''," + db::quoted(line.kind) + ",0)");
}

QString addSale(testing::AppFixture& app, const Sold& line) {
    const QString number = nextNumber(line.date);
    const double total = line.total < 0 ? line.price * line.quantity : line.total;
    app.exec(QStringLiteral("insert into Tab_xsch(编号,商品大类,商品名称,规格,商品编码,出货单价,"
                            "出货数量,合计,出货日期,客户,出货人,备注,类型,欠款金额,打印标志,"
                            "客户地址电话)values(") +
             db::quoted(number) + ',' + db::quoted(line.category) + ',' + db::quoted(line.name) +
             ',' + db::quoted(line.spec) + ',' + db::quoted(line.code) + ',' + num(line.price) +
             ',' + num(line.quantity) + ',' + num(total) + ',' +
             db::quoted(line.date.toString(QStringLiteral("yyyy-MM-dd"))) + ',' +
             db::quoted(line.customer) + ',' + db::quoted(line.owner) + ',' +
             db::quoted(line.remark) + ',' + db::quoted(line.kind) + ',' + num(line.debt) +
             ",0,'')");
    return number;
}

Tfrm_xsch* openScreen(testing::AppFixture& app, const QString& command, const QString& workNo) {
    if (CurComputer.isEmpty() && !app.login(workNo))
        return nullptr;
    const QString caption =
        command == QStringLiteral("销售退货") ? command : QStringLiteral("销售出货开单");
    return qobject_cast<Tfrm_xsch*>(testing::openChildScreen(app.mainWindow(), command, caption));
}

void clickRow(DataGrid* grid, int row) {
    const int col = grid->visibleColumns().front();
    const QRect rect = grid->visualRect(grid->model()->index(row, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

void copyLayoutFile(testing::AppFixture& app, const QString& fileName) {
    const QString from =
        qEnvironmentVariable("MERCHDESK_PROGRAM_DIR") + QLatin1Char('/') + fileName;
    const QString to = app.home() + QLatin1Char('/') + fileName;
    QFile::remove(to);
    if (!QFile::copy(from, to))
        qFatal("cannot copy %s to the test's program folder", qPrintable(from));
}

} // namespace sales
