#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>

namespace bench {

// How big the generated shop is. Lines are spread evenly over the years that end today.
struct ShopSize {
    int products = 20000;
    int purchaseLines = 1000000;
    int salesLines = 1000000;
    int partners = 2000; // half suppliers, half customers
    int users = 50;
    int years = 5;
    unsigned seed = 20070815;
};

struct ShopFacts {
    QDate firstDay;
    QDate lastDay;
    QStringList owners; // "<工号>(<用户名称>)" of the generated users
};

// Fills the database of the open data module (TDM_Public, schema created) like a busy shop:
// users with every right, suppliers and customers, and purchase, return, sales and sales-return
// lines of the products. Each table is written in one transaction through one prepared
// statement. progress, when given, receives a line of text now and then.
ShopFacts generateShop(const ShopSize& size,
                       const std::function<void(const QString&)>& progress = {});

} // namespace bench
