#include "platform/widgets/number_text.h"

#include <QVariant>

#include <QLocale>

#include <cmath>

QString shortestNumberText(double value) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    // Round to 15 significant digits first so that 0.3333 * 3 reads 0.9999, then print the
    // shortest fixed-point text of that value.
    const double rounded = QString::number(value, 'g', 15).toDouble();
    QString text = QString::number(rounded, 'f', QLocale::FloatingPointShortest);
    if (text == QLatin1String("-0")) {
        text = QStringLiteral("0");
    }
    return text;
}

QString formatNumber(double value, const QString& pattern) {
    if (pattern.isEmpty()) {
        return shortestNumberText(value);
    }
    const qsizetype point = pattern.indexOf(QLatin1Char('.'));
    const QString integerPart = point < 0 ? pattern : pattern.left(point);
    int minDecimals = 0;
    int maxDecimals = 0;
    if (point >= 0) {
        for (qsizetype i = point + 1; i < pattern.size(); ++i) {
            const QChar c = pattern.at(i);
            if (c == QLatin1Char('0')) {
                ++minDecimals;
                ++maxDecimals;
            } else if (c == QLatin1Char('#')) {
                ++maxDecimals;
            } else {
                break;
            }
        }
    }
    QString text = QString::number(value, 'f', maxDecimals);
    if (maxDecimals > minDecimals) {
        qsizetype keep = text.size();
        const qsizetype dot = text.indexOf(QLatin1Char('.'));
        while (keep > dot + 1 + minDecimals && text.at(keep - 1) == QLatin1Char('0')) {
            --keep;
        }
        if (keep == dot + 1) {
            --keep;
        }
        text.truncate(keep);
    }
    if (text.startsWith(QLatin1Char('-')) &&
        text.count(QLatin1Char('0')) + 1 + text.count(QLatin1Char('.')) == text.size()) {
        text.remove(0, 1); // "-0.00" reads "0.00"
    }
    if (integerPart.contains(QLatin1Char(','))) {
        const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
        qsizetype end = text.indexOf(QLatin1Char('.'));
        if (end < 0) {
            end = text.size();
        }
        for (qsizetype i = end - 3; i > start; i -= 3) {
            text.insert(i, QLatin1Char(','));
        }
    }
    return text;
}

bool hasNumberType(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}
