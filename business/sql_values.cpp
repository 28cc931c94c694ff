#include "business/sql_values.h"

#include "db/sql_text.h"
#include "platform/widgets/number_text.h"

QString NumberSql(std::optional<double> value) {
    if (!value)
        return QStringLiteral("NULL");
    return db::quoted(shortestNumberText(*value));
}

QString ShortDate(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString DateSql(const QDate& date) {
    if (!date.isValid())
        return QStringLiteral("NULL");
    return db::quoted(ShortDate(date));
}

QString TextSql(const QString& text) {
    return db::quoted(text.trimmed());
}
