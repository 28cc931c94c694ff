#pragma once

// Turns a layout and its data into pages of drawing items, and paints those pages.
//
// Rendering runs in two passes: the first places every band instance on its page, with its
// design height or, for a stretching band, the height its texts need in that printing (so the
// number of pages is known); the second evaluates the texts with the page number and the page
// count.

#include "platform/report/report_expression.h"
#include "platform/report/report_layout.h"

#include <QHash>
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QVariant>

class QPageLayout;
class QPainter;

namespace report {

// A table of plain values: column names and rows, in order.
struct ReportDataSet {
    QStringList columns;
    QList<QVariantList> rows;

    int columnIndex(const QString& name) const { return int(columns.indexOf(name)); }
};

struct NamedDataSet {
    QString name;
    ReportDataSet data;
};

// Function names are kept in lower case: calls match in any letter case.
using FunctionTable = QHash<QString, ReportFunction>;

struct RenderedItem {
    enum class Kind { Text, Line, Rect };
    Kind kind = Kind::Text;
    QRectF rect; // mm from the paper's top left corner; for a line, its bounding box
    QLineF line; // mm, lines only
    QString text;
    QString fontFamily;
    double fontSize = 10;
    bool bold = false;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Center;
    int frame = FrameNone;
    bool wordWrap = false;
    double lineWidth = 0.2;
    bool error = false; // the text shows an expression error

    // Takes the font, alignment, frame and wrapping of a text object of the layout.
    void setTextStyle(const ReportObject& object);
};

struct RenderedPage {
    QList<RenderedItem> items;
    // The texts of the page, one per line, in drawing order.
    QString text() const;
};

struct RenderedReport {
    QSizeF pageSizeMm;
    QList<RenderedPage> pages;
    QStringList errors; // expression errors, each once

    // The first text item at or after (page, item) containing text, or false.
    bool find(const QString& text, int* page, int* item, Qt::CaseSensitivity cs) const;
};

RenderedReport renderReport(const ReportLayout& layout, const ReportDataSet& main,
                            const QList<NamedDataSet>& extras, const FunctionTable& functions);

// Paints one page with its top left corner at the painter's origin, at the resolution of the
// painter's device (fonts in points follow the same resolution).
void paintPage(QPainter& painter, const RenderedPage& page);

// The paper of a page size (orientation applied) without margins, for printers and PDF.
QPageLayout pageLayoutFor(const QSizeF& paperSizeMm);

// Writes every page into a PDF file.
bool writePdf(const RenderedReport& report, const QString& fileName, QString* error);

} // namespace report
