#pragma once

#include <QString>
#include <Qt>

// Sort marker shown in a column title.
enum class SortMarker { None, Down, Up };

// What the footer row shows under a column.
enum class FooterKind { None, Text, Sum, Count };

// One grid column, bound to a field of the loaded rows by name (case-insensitive).
struct GridColumn {
    QString field;
    // Title as designed; "band|caption" draws "band" over the adjacent columns sharing it.
    QString title;
    bool visible = true;
    int width = 0; // pixels; 0 fits the title
    bool titleButton = true;
    // Number display pattern such as "0.00" or "#,##0.00"; empty shows the shortest form.
    QString displayFormat;
    FooterKind footer = FooterKind::None;
    QString footerText;      // for FooterKind::Text
    Qt::Alignment alignment; // empty: numbers right, everything else left

    GridColumn() = default;
    GridColumn(QString fieldName, QString titleText = QString())
        : field(std::move(fieldName))
        , title(titleText.isEmpty() ? field : std::move(titleText)) {}

    // The part before the first "|", empty for a one-level title.
    QString band() const {
        const qsizetype bar = title.indexOf(QLatin1Char('|'));
        return bar < 0 ? QString() : title.left(bar);
    }
    // The part after the first "|", or the whole title.
    QString caption() const {
        const qsizetype bar = title.indexOf(QLatin1Char('|'));
        return bar < 0 ? title : title.mid(bar + 1);
    }

    GridColumn& hidden() {
        visible = false;
        return *this;
    }
    GridColumn& withoutTitleButton() {
        titleButton = false;
        return *this;
    }
    GridColumn& withWidth(int pixels) {
        width = pixels;
        return *this;
    }
    GridColumn& withFormat(QString pattern) {
        displayFormat = std::move(pattern);
        return *this;
    }
    GridColumn& withFooterText(QString text) {
        footer = FooterKind::Text;
        footerText = std::move(text);
        return *this;
    }
    GridColumn& withFooterSum() {
        footer = FooterKind::Sum;
        return *this;
    }
    GridColumn& withFooterCount() {
        footer = FooterKind::Count;
        return *this;
    }
};
