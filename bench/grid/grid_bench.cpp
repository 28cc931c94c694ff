// Grid benchmark: loads N rows of a sales-like list from an in-memory SQLite database, sorts
// them by a number and a text column, and exports them to every format.
//
//   QT_QPA_PLATFORM=offscreen grid_bench [rows=100000] [output folder=/tmp]

#include "platform/grid/data_grid.h"
#include "platform/grid/grid_export.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <cstdio>

namespace {

long residentKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

void report(const char* what, qint64 ms) {
    std::printf("%-28s %7lld ms\n", what, static_cast<long long>(ms));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("/tmp");

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    db.open();
    QSqlQuery q(db);
    q.exec(
        QStringLiteral("create table Tab_xsch(编号 text, 商品大类 text, 商品名称 text, 规格 text, "
                       "商品编码 text, 出货人 text, 出货日期 text, 出货单价 real, "
                       "出货数量 real, 合计 real, 客户 text, 备注 text, 欠款金额 real)"));
    db.transaction();
    q.prepare(QStringLiteral("insert into Tab_xsch values (?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (int i = 0; i < rows; ++i) {
        q.addBindValue(QStringLiteral("20070815%1").arg(i, 7, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("类别%1").arg(i % 6));
        q.addBindValue(QStringLiteral("商品名称%1").arg(i % 500));
        q.addBindValue(QStringLiteral("规格%1").arg(i % 20));
        q.addBindValue(QStringLiteral("P%1").arg(i % 500, 6, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("888(系统管理员)"));
        q.addBindValue(QStringLiteral("2007-%1-%2")
                           .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                           .arg(i % 28 + 1, 2, 10, QLatin1Char('0')));
        q.addBindValue((i % 1000) / 10.0 + 0.25);
        q.addBindValue(double(i % 37));
        q.addBindValue((i % 1000) / 10.0 * (i % 37));
        q.addBindValue(QStringLiteral("客户%1").arg(i % 300));
        q.addBindValue(QStringLiteral("备注 %1").arg(i));
        q.addBindValue(i % 5 == 0 ? QVariant(12.5) : QVariant(QMetaType(QMetaType::Double)));
        q.exec();
    }
    db.commit();
    const long baseKb = residentKb();

    DataGrid grid;
    grid.resize(1000, 600);
    std::vector<GridColumn> columns;
    for (const char* field : {"商品大类", "商品名称", "规格", "商品编码", "出货人", "出货日期",
                              "出货单价", "出货数量", "合计", "客户", "备注", "欠款金额"}) {
        columns.emplace_back(QString::fromUtf8(field));
    }
    columns[0].withFooterText(QStringLiteral("合计："));
    columns[7].withFooterSum();
    columns[8].withFooterSum();
    columns.emplace_back(QStringLiteral("编号"));
    columns.back().hidden();
    grid.setColumns(columns);

    QElapsedTimer t;
    t.start();
    QSqlQuery list(db);
    list.setForwardOnly(true);
    if (!list.exec(QStringLiteral("select * from Tab_xsch order by 编号 desc"))) {
        std::fprintf(stderr, "%s\n", qPrintable(list.lastError().text()));
        return 1;
    }
    report("query", t.elapsed());
    t.restart();
    grid.load(list);
    report("load", t.elapsed());
    if (qEnvironmentVariableIsSet("GRID_BENCH_LOAD_ONLY")) {
        return 0;
    }
    t.restart();
    grid.show();
    QApplication::processEvents();
    report("show", t.elapsed());
    std::printf("%-28s %7d\n", "rows", grid.rowCount());
    std::printf("%-28s %7ld KiB\n", "memory of the loaded rows", residentKb() - baseKb);

    t.restart();
    grid.sortBy(QStringLiteral("合计"), true);
    report("sort by number", t.elapsed());
    t.restart();
    grid.sortBy(QStringLiteral("备注"), false);
    report("sort by text", t.elapsed());
    t.restart();
    grid.sortBy(QStringLiteral("欠款金额"), false);
    report("sort by number with nulls", t.elapsed());

    const struct {
        ExportFormat format;
        const char* name;
    } formats[] = {{ExportFormat::Excel, "xls"},
                   {ExportFormat::Text, "txt"},
                   {ExportFormat::Csv, "csv"},
                   {ExportFormat::Html, "htm"},
                   {ExportFormat::Rtf, "rtf"}};
    for (const auto& f : formats) {
        const QString file = folder + QStringLiteral("/grid_bench.") + QLatin1String(f.name);
        t.restart();
        exportGrid(grid, file, f.format, ExportScope::AllRows);
        const qint64 ms = t.elapsed();
        std::printf("%-28s %7lld ms  %lld KiB\n",
                    qPrintable(QStringLiteral("export ") + QLatin1String(f.name)),
                    static_cast<long long>(ms), static_cast<long long>(QFile(file).size() / 1024));
        QFile::remove(file);
    }
    return 0;
}
