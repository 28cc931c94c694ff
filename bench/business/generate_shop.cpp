// Fills a program folder's database like a busy shop, for the benchmarks:
//
//   generate_shop HOME [products=20000] [purchase lines=1000000] [sales lines=1000000]
//                      [partners=2000] [users=50] [years=5]
//
// HOME becomes MERCHDESK_HOME: the embedded database HOME/data/SMDT.db is created (or the
// shared server of the data source "korvane" is used when one is defined).

#include "bench/business/shop_generator.h"
#include "db/Public_DM.h"
#include "db/sql_error.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <exception>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: generate_shop HOME [products] [purchase lines] [sales lines] "
                             "[partners] [users] [years]\n");
        return 2;
    }
    const QString home = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(home);
    qputenv("MERCHDESK_HOME", QFile::encodeName(home));
    bench::ShopSize size;
    auto arg = [&](int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; };
    size.products = arg(2, size.products);
    size.purchaseLines = arg(3, size.purchaseLines);
    size.salesLines = arg(4, size.salesLines);
    size.partners = arg(5, size.partners);
    size.users = arg(6, size.users);
    size.years = arg(7, size.years);
    try {
        TDM_Public dataModule;
        QElapsedTimer timer;
        timer.start();
        const bench::ShopFacts facts = bench::generateShop(size, [&timer](const QString& line) {
            std::printf("%7.1f s  %s\n", double(timer.elapsed()) / 1000.0, qPrintable(line));
            std::fflush(stdout);
        });
        std::printf("shop from %s to %s written in %.1f s\n",
                    qPrintable(facts.firstDay.toString(Qt::ISODate)),
                    qPrintable(facts.lastDay.toString(Qt::ISODate)),
                    double(timer.elapsed()) / 1000.0);
    } catch (const db::SqlError& e) {
        std::fprintf(stderr, "generate_shop: %s\n", qPrintable(e.message()));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "generate_shop: %s\n", e.what());
        return 1;
    }
    return 0;
}
