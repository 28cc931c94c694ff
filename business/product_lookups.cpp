#include "business/product_lookups.h"

#include "db/sql_text.h"

QString ProductCategoriesSql() {
    return QStringLiteral(
        "Select 商品大类 From Tab_Cgjh  Group By 商品大类 Order by 商品大类 limit 1000");
}

QString ProductNamesSql(const QString& category) {
    return QStringLiteral("Select 商品名称 From Tab_Cgjh Where 商品大类=") +
           db::quoted(category.trimmed()) +
           QStringLiteral(" Group By 商品名称 Order by 商品名称 limit 1000");
}

QString ProductSpecsSql(const QString& name) {
    return QStringLiteral("Select 规格 From Tab_Cgjh Where 商品名称=") +
           db::quoted(name.trimmed()) + QStringLiteral(" Group By 规格 Order by 规格 limit 1000");
}

QString NewestCodeOfSpecSql(const QString& spec) {
    return QStringLiteral("Select 商品编码,编号 From Tab_Cgjh Where 规格=") +
           db::quoted(spec.trimmed()) +
           QStringLiteral(" Group By 商品编码,编号 Order by 编号 Desc limit 1");
}
