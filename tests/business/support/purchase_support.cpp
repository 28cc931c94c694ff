#include "tests/business/support/purchase_support.h"

#include "business/Cgjh_frm.h"
#include "db/sql_text.h"
#include "platform/grid/data_grid.h"
#include "shell/main_frm.h"
#include "shell/public_unit.h"
#include "tests/support/app_fixture.h"

#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace testing {

void insertPurchaseLine(AppFixture& app, PurchaseLine line) {
    static int running = 0;
    if (line.number.isEmpty())
        line.number = line.date.toString(QStringLiteral("yyyyMMdd")) +
                      QStringLiteral("%1").arg(++running, 7, 10, QLatin1Char('0'));
    auto q = [](const QString& text) { return db::quoted(text); };
    auto n = [](double value) { return db::quoted(QString::number(value, 'g', 15)); };
    app.exec(QStringLiteral("insert into Tab_Cgjh(编号,商品大类,商品名称,规格,商品编码,进货单价,"
                            "进货数量,合计,进货日期,供货商,进货人,备注,类型,打印标志)values(") +
             q(line.number) + ',' + q(line.category) + ',' + q(line.name) + ',' + q(line.spec) +
             ',' + q(line.code) + ',' + n(line.price) + ',' + n(line.quantity) + ',' +
             n(line.total) + ',' + q(line.date.toString(QStringLiteral("yyyy-MM-dd"))) + ',' +
             q(line.supplier) + ',' + q(line.owner) + ',' + q(line.remark) + ',' + q(line.kind) +
             ',' + QString::number(line.printFlag) + ')');
}

TFrm_Cgjh* openPurchaseScreen(AppFixture& app, const QString& command, const QString& workNo) {
    if (CurComputer.isEmpty()) {
        if (!app.login(workNo))
            return nullptr;
        // The login's own log row: tests count only what the screens write.
        app.exec(QStringLiteral("delete from tab_rz"));
    }
    return qobject_cast<TFrm_Cgjh*>(openChildScreen(app.mainWindow(), command, command));
}

void copyLayout(AppFixture& app, const QString& fileName) {
    const QString from =
        qEnvironmentVariable("MERCHDESK_PROGRAM_DIR") + QLatin1Char('/') + fileName;
    const QString to = app.home() + QLatin1Char('/') + fileName;
    QFile::remove(to);
    if (!QFile::copy(from, to))
        qFatal("cannot copy %s to the test's program folder", qPrintable(from));
}

} // namespace testing
