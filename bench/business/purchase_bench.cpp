// Purchase screen benchmark on the real screen code over a generated shop:
//
//   generate_shop HOME                      (once; see generate_shop.cpp for the sizes)
//   QT_QPA_PLATFORM=offscreen purchase_bench HOME [list rows=100000] [export folder=/tmp]
//
// Times opening the screen, a range query of about `list rows` lines next to a bare query
// fetching the same rows, sorting by a title click, the footer sums, exporting the list to
// every format, then 所有记录 and a query over every line, with the peak memory (VmHWM).

#include "bench/business/bench_output.h"
#include "business/Cgjh_frm.h"
#include "business/period_query_panel.h"
#include "db/Public_DM.h"
#include "db/sql_error.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/date_edit.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/lb_button.h"
#include "shell/public_unit.h"

#include <QApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QMessageBox>
#include <QRadioButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

// The same select the screen runs, fetched with a bare forward-only query.
double bareFetch(const QString& sql, int* rows) {
    return timed([&] {
        QSqlQuery query(TDM_Public::database());
        query.setForwardOnly(true);
        if (!query.exec(sql))
            throw db::SqlError(query.lastError().text(), sql);
        const int columns = query.record().count();
        int n = 0;
        while (query.next()) {
            for (int c = 0; c < columns; ++c)
                (void)query.value(c);
            ++n;
        }
        *rows = n;
    });
}

void clickTitle(DataGrid* grid, const QString& field) {
    Q_EMIT grid->horizontalHeader()->sectionClicked(grid->columnOf(field));
}

// A list opened by the screen next to a bare query fetching the same rows, then sorting by
// title clicks and the footer sums.
void measureList(TFrm_Cgjh& screen, const QString& label, const std::function<void()>& open) {
    DataGrid* grid = screen.findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
    const double screenMs = timed([&] {
        open();
        QApplication::processEvents();
    });
    const int rows = grid->rowCount();
    int bareRows = 0;
    const double bareMs = bareFetch(screen.CurrentListSql(), &bareRows);
    line(label + QStringLiteral(" (screen)"), screenMs, QStringLiteral("%1 rows").arg(rows));
    line(label + QStringLiteral(" (bare query)"), bareMs,
         QStringLiteral("%1 rows, screen/bare = %2")
             .arg(bareRows)
             .arg(screenMs / bareMs, 0, 'f', 2));
    for (const char* field : {"进货数量", "商品名称", "进货日期"}) {
        const QString name = QString::fromUtf8(field);
        const double first = timed([&] {
            clickTitle(grid, name);
            QApplication::processEvents();
        });
        const double second = timed([&] {
            clickTitle(grid, name);
            QApplication::processEvents();
        });
        line(QStringLiteral("  sort by title %1 (desc, asc)").arg(name), first,
             QStringLiteral("then %1 ms").arg(second, 0, 'f', 1));
    }
    double quantity = 0;
    double total = 0;
    const double footerMs = timed([&] {
        quantity = grid->footerValue(QStringLiteral("进货数量")).toDouble();
        total = grid->footerValue(QStringLiteral("合计")).toDouble();
    });
    line(QStringLiteral("  footer sums"), footerMs,
         QStringLiteral("进货数量 %1, 合计 %2").arg(quantity, 0, 'f', 0).arg(total, 0, 'f', 2));
    memory(QStringLiteral("  after ") + label);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: purchase_bench HOME [list rows] [export folder]\n");
        return 2;
    }
    qputenv("MERCHDESK_HOME", QFile::encodeName(QString::fromLocal8Bit(argv[1])));
    const int listRows = argc > 2 ? std::atoi(argv[2]) : 100000;
    const QString exportFolder =
        argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("/tmp");

    // Every box the screen shows (导出成功!) is answered at once.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    answer.start(1);

    try {
        TDM_Public dataModule;
        CurUserNo = QStringLiteral("888");
        CurUserName = QStringLiteral("系统管理员");
        CurComputer = QStringLiteral("当前计算机");
        PurchaseOwnerFilter = QStringLiteral(" and 进货人 like '%%'");
        memory(QStringLiteral("start"));

        TFrm_Cgjh* screen = nullptr;
        line(QStringLiteral("open the purchase screen (today's lines)"), timed([&] {
                 screen = new TFrm_Cgjh;
                 screen->resize(1280, 800);
                 screen->show();
                 QApplication::processEvents();
             }));
        DataGrid* grid = screen->findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
        auto* panel = screen->findChild<PeriodQueryPanel*>(QStringLiteral("Panel3"));

        // The first day of a range holding about listRows stock-in lines.
        QSqlQuery first(TDM_Public::database());
        first.exec(QStringLiteral("select 进货日期 from Tab_Cgjh where 类型='采购入库' order by "
                                  "进货日期 desc limit 1 offset %1")
                       .arg(qMax(0, listRows - 1)));
        const QDate from = first.next() ? first.value(0).toDate() : QDate(1900, 1, 1);
        first.finish();

        // A range of about listRows lines through the query panel.
        measureList(*screen, QStringLiteral("query, range of %1 lines").arg(listRows), [&] {
            screen->LbButton6Click();
            panel->rb4->click();
            panel->dt1->setDate(from);
            panel->dt2->setDate(QDate::currentDate());
            screen->LbButton9Click();
        });

        const QStringList formats = {QStringLiteral("xls"), QStringLiteral("txt"),
                                     QStringLiteral("csv"), QStringLiteral("htm"),
                                     QStringLiteral("rtf")};
        for (int i = 0; i < formats.size(); ++i) {
            const QString file = exportFolder + QStringLiteral("/purchase_bench.") + formats[i];
            FileDialog::setNextAnswer(file, i + 1);
            const double ms = timed([&] { screen->LbButton7Click(); });
            line(
                QStringLiteral("export %1 rows to .%2").arg(grid->rowCount()).arg(formats[i]), ms,
                QStringLiteral("%1 MB").arg(double(QFileInfo(file).size()) / 1048576.0, 0, 'f', 1));
            QFile::remove(file);
        }
        memory(QStringLiteral("  after the exports"));

        measureList(*screen, QStringLiteral("所有记录"), [&] { screen->LbButton4Click(); });
        measureList(*screen, QStringLiteral("query, all time"), [&] {
            screen->LbButton6Click();
            panel->rb5->click();
            screen->LbButton9Click();
        });
        delete screen;
    } catch (const db::SqlError& e) {
        std::fprintf(stderr, "purchase_bench: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
