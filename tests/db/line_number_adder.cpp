// A second program for the concurrency test: adds lines to a business table the way the entry
// screens do, drawing each number with NewDocumentNo just before its insert.
#include "db/Public_DM.h"
#include "db/sql_text.h"
#include "shell/public_unit.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: line_number_adder TABLE COUNT TAG\n");
        return 2;
    }
    const QString table = QString::fromLocal8Bit(argv[1]);
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    const QString tag = QString::fromLocal8Bit(argv[3]);
    try {
        TDM_Public module;
        db::Query& query = module.ADOQuery1();
        for (int i = 0; i < count; ++i) {
            const QString first = NewDocumentNo(table, query);
            InsertWithDocumentNo(
                table, first,
                [&](const QString& number) {
                    return QStringLiteral("insert into ") + table +
                           QStringLiteral("(编号,备注)values(") + db::quoted(number) +
                           QLatin1Char(',') +
                           db::quoted(tag + QLatin1Char('-') + QString::number(i)) +
                           QLatin1Char(')');
                },
                query);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "line_number_adder: %s\n", e.what());
        return 1;
    }
    return 0;
}
