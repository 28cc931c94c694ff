#pragma once

#include <QString>

// The look-ups with which the product boxes of the entry and query panels fill one another.
// Every product offered comes from the purchase lines. The first column of each result is
// the value for the box.

// Every category ever purchased, sorted.
QString ProductCategoriesSql();
// The names of a category, sorted.
QString ProductNamesSql(const QString& category);
// The specifications of a product name, sorted.
QString ProductSpecsSql(const QString& name);
// The code of the newest purchase line with this specification (one row at most).
QString NewestCodeOfSpecSql(const QString& spec);
