#pragma once

#include <QDate>
#include <QString>

#include <optional>

// Values of the editors as they go into statements.

// A number as a quoted decimal in the shortest general form (2.5, 10, 0.9999); an empty editor
// writes NULL, since the numeric columns take no empty text.
QString NumberSql(std::optional<double> value);

// A date in the system's short date form yyyy-MM-dd, quoted; an invalid date writes NULL.
QString DateSql(const QDate& date);

// The short date form of the system.
QString ShortDate(const QDate& date);

// A text box's value: trimmed and quoted.
QString TextSql(const QString& text);
