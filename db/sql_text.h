#pragma once

#include <QString>

namespace db {

// The one quoting helper: a value as a SQL string literal, inner single quotes doubled.
inline QString quoted(const QString& value) {
    QString out;
    out.reserve(value.size() + 2);
    out += QLatin1Char('\'');
    for (const QChar c : value) {
        if (c == QLatin1Char('\''))
            out += QLatin1Char('\'');
        out += c;
    }
    out += QLatin1Char('\'');
    return out;
}

// A LIKE pattern that matches the trimmed text anywhere: '%text%', quoted.
inline QString containsPattern(const QString& text) {
    return quoted(QLatin1Char('%') + text.trimmed() + QLatin1Char('%'));
}

} // namespace db
