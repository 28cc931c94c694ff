#pragma once

// Report layout model and its file format (.frf files).
//
// A layout file is UTF-8 XML, written and read by ReportLayout::save and ReportLayout::load.
// Every length is in millimetres; decimals use a dot. Example:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <report version="1" name="进货单">
//       <page size="A4" orientation="portrait" left="10" top="10" right="10" bottom="10"/>
//       <band type="reportTitle" height="30">
//           <text x="0" y="0" width="190" height="10" size="16" bold="true"
//                 align="center">[公司名]</text>
//           <line x="0" y="29" width="190" height="0" lineWidth="0.5"/>
//       </band>
//       <band type="masterData" height="7">
//           <text x="0" y="0" width="40" height="7" frame="all">[商品名称]</text>
//           <rect x="0" y="0" width="190" height="7"/>
//       </band>
//   </report>
//
// <report>   the root. version="1" (required), name (optional, free text).
// <page>     exactly one, before the bands.
//     size        "A4" (210 x 297), "A5" (148 x 210), "continuous241" (241 x 279.4, the
//                 continuous form of dot-matrix printers) or "custom" (then width and height)
//     width, height   the paper size for size="custom"
//     orientation "portrait" (default) or "landscape" (swaps width and height)
//     left, top, right, bottom   margins (default 10)
// <band>     any number, at most one of each type; printing order does not depend on the
//            order in the file.
//     type   reportTitle    once, at the top of the first page
//            pageHeader     at the top of every page (below the title on the first page)
//            columnHeader   below the page header on every page
//            groupHeader    before each group of consecutive rows with the same value of
//                           the group field; field="<field name>" names it
//            masterData     once per row of the main data
//            groupFooter    after each group (field as for groupHeader; either may carry it)
//            reportSummary  once after the last row
//            pageFooter     at the bottom of every page
//     height the band's height
//     stretch="false"   with "true" the band grows for each printing to fit its stretching
//            text objects: its height becomes the largest of its design height and, over the
//            objects with stretch="true", y plus the height the object's text needs. A band
//            never splits across pages: one that does not fit below the rows already on the
//            page starts the next page. The page footer always keeps its design height.
// Objects inside a band, positioned relative to the band's top left corner:
// <text>     x, y, width, height; the element's content is the text, with expressions in
//            square brackets (see report_expression.h). Optional attributes and defaults:
//            font="WenQuanYi Micro Hei", size="10" (points), bold="false",
//            align="left" (left|center|right), valign="center" (top|center|bottom),
//            frame="none" ("all", or any of "left top right bottom" separated by blanks),
//            wrap="false" (word wrap inside the box), name (free text),
//            stretch="false" (in a stretching band, the box grows downwards to the height its
//            text needs, wrapped to the box's width when wrap="true"; it never shrinks),
//            stretchWithBand="false" (see below).
// <line>     x, y, width, height: a line from (x, y) to (x + width, y + height);
//            lineWidth="0.2" (mm), name, stretchWithBand="false".
// <rect>     x, y, width, height: a frame; lineWidth="0.2" (mm), name, stretchWithBand="false".
// stretchWithBand="true" makes an object's lower edge follow the band's lower edge when a
// stretching band grows: its height grows by as much as the band's (a horizontal line, of
// height 0, moves down by as much instead). Meant for the cells and the vertical rules of a
// table row, so that the cells of one row keep their common lower border. In a band without
// stretch="true" both object settings have no effect.
//
// One level of grouping: the group header and footer share one field.
//
// Saving writes every <page> attribute, and of the objects the position and size plus the
// attributes that differ from their defaults, indented by four blanks; a file written by save()
// loads and saves again to the same bytes (the shipped layouts are in that form).
// A file that cannot be read gives an error "<file>:<line>:<column>: <reason>".

#include <QList>
#include <QSizeF>
#include <QString>

namespace report {

inline constexpr const char* kDefaultFontFamily = "WenQuanYi Micro Hei";

struct PageSettings {
    QString size = QStringLiteral("A4"); // A4, A5, continuous241, custom
    double width = 210;                  // paper size in portrait orientation (mm)
    double height = 297;
    bool landscape = false;
    double left = 10;
    double top = 10;
    double right = 10;
    double bottom = 10;

    // Sets size and the paper width and height of a named size; false for an unknown name.
    bool setNamedSize(const QString& name);
    QSizeF paperSizeMm() const; // with the orientation applied
    double printableWidth() const { return paperSizeMm().width() - left - right; }
    bool operator==(const PageSettings&) const = default;
};

enum class BandType {
    ReportTitle,
    PageHeader,
    ColumnHeader,
    GroupHeader,
    MasterData,
    GroupFooter,
    ReportSummary,
    PageFooter
};

QString bandTypeName(BandType type);  // name used in the file
QString bandTypeTitle(BandType type); // name shown to the user
bool bandTypeFromName(const QString& name, BandType* type);
QList<BandType> allBandTypes(); // in printing order

enum class ObjectType { Text, Line, Rect };

enum FrameSide {
    FrameNone = 0,
    FrameLeft = 1,
    FrameTop = 2,
    FrameRight = 4,
    FrameBottom = 8,
    FrameAll = 15
};

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Center, Bottom };

struct ReportObject {
    ObjectType type = ObjectType::Text;
    QString name;
    double x = 0;
    double y = 0;
    double width = 30;
    double height = 6;
    // Text objects
    QString text;
    QString fontFamily = QString::fromLatin1(kDefaultFontFamily);
    double fontSize = 10;
    bool bold = false;
    HAlign align = HAlign::Left;
    VAlign valign = VAlign::Center;
    int frame = FrameNone;
    bool wordWrap = false;
    bool stretch = false; // grows to fit its text in a stretching band
    // Lines and rectangles
    double lineWidth = 0.2;
    // Any object: the lower edge follows the lower edge of a stretching band.
    bool stretchWithBand = false;

    bool operator==(const ReportObject&) const = default;
};

struct ReportBand {
    BandType type = BandType::MasterData;
    double height = 8;
    QString groupField;   // group header/footer only
    bool stretch = false; // grows to fit its objects with stretch set
    QList<ReportObject> objects;

    bool operator==(const ReportBand&) const = default;
};

class ReportLayout {
public:
    QString name;
    PageSettings page;
    QList<ReportBand> bands;

    bool operator==(const ReportLayout&) const = default;

    // Reads a layout file; on failure leaves *this unchanged and sets *error.
    bool load(const QString& path, QString* error);
    bool save(const QString& path, QString* error) const;
    // sourceName names the text in error messages.
    bool fromXml(const QByteArray& xml, const QString& sourceName, QString* error);
    QByteArray toXml() const;

    ReportBand* band(BandType type);
    const ReportBand* band(BandType type) const;
    // Adds a band of that type (if missing) at its place in printing order; returns it.
    ReportBand* addBand(BandType type, double height = 10);
    bool removeBand(BandType type);
    // The field that groups the rows: the group header's field, else the group footer's.
    QString groupField() const;
};

} // namespace report
