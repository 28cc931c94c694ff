// Sales screen benchmark on the real screen code over a generated shop:
//
//   generate_shop HOME                      (once; 1,000,000 purchase and sales lines)
//   QT_QPA_PLATFORM=offscreen sales_bench HOME [lines of the busy product=5000] [sellers=5]
//
// The generated products have about fifty lines each, so the benchmark first adds one busy
// product with the given number of purchase lines and as many sales lines (once; it is found
// again on later runs). It then times opening the sales screen, the code lookup (code, spec
// list, the customer's last price and the stock), ShowProductStock on its own and through the
// contains-match fallback, and 全部记录 as a user who sees the lines of `sellers` sellers
// (about 100,000 lines in the generated shop).

#include "bench/business/bench_output.h"
#include "business/xsch_frm.h"
#include "db/Public_DM.h"
#include "db/sql_error.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/number_edit.h"
#include "shell/public_unit.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

const QString kBusyCode = QStringLiteral("BENCH-BUSY");

// Median and worst of repeated runs.
void repeated(const QString& what, int runs, const std::function<void()>& work,
              const std::function<QString()>& note = {}) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(timed(work));
    std::sort(times.begin(), times.end());
    line(what + QStringLiteral(" (median of %1)").arg(runs), times[times.size() / 2],
         QStringLiteral("worst %1 ms  %2")
             .arg(times.back(), 0, 'f', 1)
             .arg(note ? note() : QString()));
}

void exec(QSqlQuery& query, const QString& sql) {
    if (!query.exec(sql))
        throw db::SqlError(query.lastError().text(), sql);
}

// One product with `lines` purchase lines and as many sales lines, over the last years.
void addBusyProduct(int lines, const QString& customer, const QStringList& owners) {
    QSqlDatabase db = TDM_Public::database();
    QSqlQuery query(db);
    exec(query, QStringLiteral("select count(*) from Tab_Cgjh where 商品编码='") + kBusyCode +
                    QLatin1Char('\''));
    query.next();
    if (query.value(0).toInt() >= lines)
        return;
    db.transaction();
    QSqlQuery buy(db);
    buy.prepare(QStringLiteral("insert into Tab_Cgjh(编号,商品大类,商品名称,规格,商品编码,进货单价,"
                               "进货数量,合计,进货日期,供货商,进货人,备注,类型,打印标志)"
                               "values(?,'酒类','压测黄酒','500ml',?,10,?,?,?,'供货商00000',?,'',"
                               "?,0)"));
    QSqlQuery sell(db);
    sell.prepare(
        QStringLiteral("insert into Tab_xsch(编号,商品大类,商品名称,规格,商品编码,出货单价,"
                       "出货数量,合计,出货日期,客户,出货人,备注,类型,欠款金额,打印标志,"
                       "客户地址电话)values(?,'酒类','压测黄酒',?,?,13,?,?,?,?,?,'',?,0,0,"
                       "'')"));
    const QDate today = QDate::currentDate();
    for (int i = 0; i < lines; ++i) {
        const QDate date = today.addDays(-(i % 1500));
        const QString day = date.toString(QStringLiteral("yyyyMMdd"));
        buy.addBindValue(day + QStringLiteral("9%1").arg(i, 6, 10, QLatin1Char('0')));
        buy.addBindValue(kBusyCode);
        buy.addBindValue(double(1 + i % 20));
        buy.addBindValue(double(10 * (1 + i % 20)));
        buy.addBindValue(date.toString(QStringLiteral("yyyy-MM-dd")));
        buy.addBindValue(owners.value(i % owners.size()));
        buy.addBindValue(i % 20 == 0 ? QStringLiteral("采购退货") : QStringLiteral("采购入库"));
        if (!buy.exec())
            throw db::SqlError(buy.lastError().text(), buy.lastQuery());
        sell.addBindValue(day + QStringLiteral("8%1").arg(i, 6, 10, QLatin1Char('0')));
        sell.addBindValue(i % 3 == 0 ? QStringLiteral("500ml") : QStringLiteral("750ml"));
        sell.addBindValue(kBusyCode);
        sell.addBindValue(double(1 + i % 5));
        sell.addBindValue(double(13 * (1 + i % 5)));
        sell.addBindValue(date.toString(QStringLiteral("yyyy-MM-dd")));
        sell.addBindValue(i % 4 == 0 ? customer : QStringLiteral("客户00003"));
        sell.addBindValue(owners.value(i % owners.size()));
        sell.addBindValue(i % 25 == 0 ? QStringLiteral("销售退库") : QStringLiteral("销售出库"));
        if (!sell.exec())
            throw db::SqlError(sell.lastError().text(), sell.lastQuery());
    }
    db.commit();
}

QStringList owners() {
    QSqlQuery query(TDM_Public::database());
    exec(query, QStringLiteral("select 工号,用户名称 from tab_user order by 工号"));
    QStringList list;
    while (query.next())
        list << query.value(0).toString().trimmed() + QLatin1Char('(') +
                    query.value(1).toString().trimmed() + QLatin1Char(')');
    return list;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: sales_bench HOME [busy product lines] [sellers]\n");
        return 2;
    }
    qputenv("MERCHDESK_HOME", QFile::encodeName(QString::fromLocal8Bit(argv[1])));
    const int busyLines = argc > 2 ? std::atoi(argv[2]) : 5000;
    const int sellers = argc > 3 ? std::atoi(argv[3]) : 5;

    // Every box the screen shows is answered at once.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    answer.start(1);

    try {
        TDM_Public dataModule;
        const QString customer = QStringLiteral("客户00001");
        const QStringList users = owners();
        line(QStringLiteral("add the busy product (once)"),
             timed([&] { addBusyProduct(busyLines, customer, users.mid(1)); }),
             QStringLiteral("%1 purchase and %1 sales lines").arg(busyLines));

        CurUserNo = QStringLiteral("888");
        CurUserName = QStringLiteral("系统管理员");
        CurComputer = QStringLiteral("当前计算机");
        // A user who sees the lines of a few sellers.
        QStringList seen;
        for (const QString& owner : users.mid(1, sellers))
            seen << QLatin1Char('\'') + owner + QLatin1Char('\'');
        SalesOwnerFilter =
            QStringLiteral(" and 出货人 in (") + seen.join(QLatin1Char(',')) + QLatin1Char(')');

        Tfrm_xsch* screen = nullptr;
        const double openMs = timed([&] {
            screen = new Tfrm_xsch;
            screen->resize(1280, 800);
            screen->show();
            QApplication::processEvents();
        });
        line(QStringLiteral("open the sales screen (today's lines)"), openMs,
             QStringLiteral("%1 rows").arg(
                 screen->findChild<DataGrid*>(QStringLiteral("DBGridEh1"))->rowCount()));
        auto* code = screen->findChild<QLineEdit*>(QStringLiteral("Edit1"));
        auto* spec = screen->findChild<QComboBox*>(QStringLiteral("DBComboBoxEh3"));
        auto* stock = screen->findChild<NumberEdit*>(QStringLiteral("DBNumberEditEh2"));
        auto* price = screen->findChild<NumberEdit*>(QStringLiteral("djdb"));
        screen->findChild<QComboBox*>(QStringLiteral("DBComboBoxEh5"))->setEditText(customer);

        repeated(
            QStringLiteral("code lookup of the busy product"), 15,
            [&] {
                code->clear();
                code->setText(kBusyCode);
            },
            [&] {
                return QStringLiteral("spec %1, price %2, stock %3")
                    .arg(spec->currentText(), price->text(), stock->text());
            });
        repeated(QStringLiteral("code typed key by key (10 look-ups)"), 5, [&] {
            code->clear();
            for (int i = 1; i <= kBusyCode.size(); ++i)
                code->setText(kBusyCode.left(i));
        });
        repeated(
            QStringLiteral("ShowProductStock, busy product"), 15,
            [&] { screen->ShowProductStock(); },
            [&] { return QStringLiteral("stock %1").arg(stock->text()); });
        repeated(QStringLiteral("code lookup of a generated product"), 15, [&] {
            code->clear();
            code->setText(QStringLiteral("SP000123"));
        });
        // A spec that no purchase line carries: the contains-match statement.
        spec->setEditText(QStringLiteral("ml"));
        code->blockSignals(true);
        code->setText(QStringLiteral("BENCH"));
        code->blockSignals(false);
        repeated(
            QStringLiteral("ShowProductStock, contains-match fallback"), 3,
            [&] { screen->ShowProductStock(); },
            [&] { return QStringLiteral("stock %1").arg(stock->text()); });

        auto* grid = screen->findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
        repeated(
            QStringLiteral("全部记录 of %1 sellers").arg(sellers), 3,
            [&] {
                screen->LbButton4Click();
                QApplication::processEvents();
            },
            [&] { return QStringLiteral("%1 rows").arg(grid->rowCount()); });
        std::printf("%-48s %9.1f MB peak (VmHWM)\n", "memory", double(statusKb("VmHWM:")) / 1024.0);
        screen->close();
    } catch (const db::SqlError& e) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(e.message()), qPrintable(e.statement()));
        return 1;
    }
    return 0;
}
