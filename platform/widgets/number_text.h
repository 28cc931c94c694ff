#pragma once

#include <QString>

class QVariant;

// Number texts as the system writes them: plain decimal notation, no exponent, no grouping,
// at most 15 significant digits, no trailing zeros ("10", "12.5", "0.9999", "-3").
QString shortestNumberText(double value);

// True when the value holds a number type (integer or floating point; not bool, not text).
bool hasNumberType(const QVariant& value);

// Formats a number by a display pattern such as "0.00", "#,##0.00" or "0.####": the count of
// '0' after the point is the minimum of decimals, '0' and '#' together the maximum, a ',' in the
// integer part asks for thousands grouping. An empty pattern gives shortestNumberText().
QString formatNumber(double value, const QString& pattern);
