#include "platform/report/report_layout.h"

#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>

namespace report {

namespace {

struct BandTypeInfo {
    BandType type;
    const char* name;
    const char* title;
};

const BandTypeInfo kBandTypes[] = {
    {BandType::ReportTitle, "reportTitle", "报表标题"},
    {BandType::PageHeader, "pageHeader", "页眉"},
    {BandType::ColumnHeader, "columnHeader", "列标题"},
    {BandType::GroupHeader, "groupHeader", "分组头"},
    {BandType::MasterData, "masterData", "主数据"},
    {BandType::GroupFooter, "groupFooter", "分组尾"},
    {BandType::ReportSummary, "reportSummary", "报表合计"},
    {BandType::PageFooter, "pageFooter", "页脚"},
};

QString number(double v) {
    QString s = QString::number(v, 'f', 3);
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(QLatin1Char('.')))
        s.chop(1);
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s;
}

const char* hAlignName(HAlign a) {
    switch (a) {
    case HAlign::Left:
        return "left";
    case HAlign::Center:
        return "center";
    case HAlign::Right:
        return "right";
    }
    return "left";
}

const char* vAlignName(VAlign a) {
    switch (a) {
    case VAlign::Top:
        return "top";
    case VAlign::Center:
        return "center";
    case VAlign::Bottom:
        return "bottom";
    }
    return "center";
}

QString frameText(int frame) {
    if (frame == FrameAll)
        return QStringLiteral("all");
    QStringList parts;
    if (frame & FrameLeft)
        parts << QStringLiteral("left");
    if (frame & FrameTop)
        parts << QStringLiteral("top");
    if (frame & FrameRight)
        parts << QStringLiteral("right");
    if (frame & FrameBottom)
        parts << QStringLiteral("bottom");
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QLatin1Char(' '));
}

// Reads one layout; throws QString (the reason) and leaves the position to the caller.
class LayoutReader {
public:
    explicit LayoutReader(QXmlStreamReader& xml)
        : m_xml(xml) {}

    ReportLayout read() {
        ReportLayout layout;
        if (!m_xml.readNextStartElement()) {
            if (m_xml.hasError())
                throw m_xml.errorString();
            throw QStringLiteral("文件为空，没有 <report> 元素");
        }
        if (m_xml.name() != QLatin1String("report"))
            throw QStringLiteral("根元素应为 <report>，实为 <%1>").arg(m_xml.name());
        checkAttributes({"version", "name"});
        if (attr("version") != QLatin1String("1"))
            throw QStringLiteral("不支持的版本 \"%1\"（应为 1）").arg(attr("version"));
        layout.name = attr("name");
        bool havePage = false;
        while (m_xml.readNextStartElement()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("page")) {
                if (havePage)
                    throw QStringLiteral("<page> 重复");
                layout.page = readPage();
                havePage = true;
            } else if (name == QLatin1String("band")) {
                ReportBand band = readBand();
                if (layout.band(band.type))
                    throw QStringLiteral("band \"%1\" 重复").arg(bandTypeName(band.type));
                layout.bands.append(band);
            } else {
                throw QStringLiteral("未知元素 <%1>（应为 <page> 或 <band>）").arg(name);
            }
        }
        if (m_xml.hasError())
            throw m_xml.errorString();
        if (!havePage)
            throw QStringLiteral("缺少 <page> 元素");
        m_xml.readNext();
        while (!m_xml.atEnd() && !m_xml.hasError())
            m_xml.readNext();
        if (m_xml.hasError())
            throw m_xml.errorString();
        return layout;
    }

private:
    QString attr(const char* name) const {
        return m_xml.attributes().value(QLatin1String(name)).toString();
    }
    bool has(const char* name) const {
        return m_xml.attributes().hasAttribute(QLatin1String(name));
    }

    void checkAttributes(std::initializer_list<const char*> allowed) {
        for (const QXmlStreamAttribute& a : m_xml.attributes()) {
            const bool known = std::any_of(allowed.begin(), allowed.end(), [&](const char* n) {
                return a.name() == QLatin1String(n);
            });
            if (!known)
                throw QStringLiteral("<%1> 不认识属性 \"%2\"").arg(m_xml.name(), a.name());
        }
    }

    double length(const char* name, double fallback, bool required = false) const {
        if (!has(name)) {
            if (required)
                throw QStringLiteral("<%1> 缺少属性 \"%2\"").arg(m_xml.name(), QLatin1String(name));
            return fallback;
        }
        bool ok = false;
        const double v = attr(name).toDouble(&ok);
        if (!ok)
            throw QStringLiteral("属性 %1=\"%2\" 不是数字").arg(QLatin1String(name), attr(name));
        return v;
    }

    bool boolean(const char* name, bool fallback) const {
        if (!has(name))
            return fallback;
        const QString v = attr(name);
        if (v == QLatin1String("true"))
            return true;
        if (v == QLatin1String("false"))
            return false;
        throw QStringLiteral("属性 %1=\"%2\" 应为 true 或 false").arg(QLatin1String(name), v);
    }

    PageSettings readPage() {
        checkAttributes(
            {"size", "width", "height", "orientation", "left", "top", "right", "bottom"});
        PageSettings page;
        const QString size = has("size") ? attr("size") : QStringLiteral("A4");
        if (size == QLatin1String("custom")) {
            page.size = size;
            page.width = length("width", 0, true);
            page.height = length("height", 0, true);
            if (page.width <= 0 || page.height <= 0)
                throw QStringLiteral("纸张宽度和高度必须大于 0");
        } else if (!page.setNamedSize(size)) {
            throw QStringLiteral("未知纸张 \"%1\"（A4、A5、continuous241 或 custom）").arg(size);
        }
        const QString orientation = has("orientation") ? attr("orientation") : "portrait";
        if (orientation == QLatin1String("landscape"))
            page.landscape = true;
        else if (orientation != QLatin1String("portrait"))
            throw QStringLiteral("未知方向 \"%1\"").arg(orientation);
        page.left = length("left", 10);
        page.top = length("top", 10);
        page.right = length("right", 10);
        page.bottom = length("bottom", 10);
        m_xml.skipCurrentElement();
        return page;
    }

    ReportBand readBand() {
        checkAttributes({"type", "height", "field", "stretch"});
        ReportBand band;
        if (!has("type"))
            throw QStringLiteral("<band> 缺少属性 \"type\"");
        if (!bandTypeFromName(attr("type"), &band.type))
            throw QStringLiteral("未知 band 类型 \"%1\"").arg(attr("type"));
        band.height = length("height", 0, true);
        if (band.height < 0)
            throw QStringLiteral("band 高度不能为负");
        band.groupField = attr("field");
        band.stretch = boolean("stretch", false);
        while (m_xml.readNextStartElement())
            band.objects.append(readObject());
        if (m_xml.hasError())
            throw m_xml.errorString();
        return band;
    }

    ReportObject readObject() {
        ReportObject o;
        const auto name = m_xml.name();
        if (name == QLatin1String("text")) {
            o.type = ObjectType::Text;
            checkAttributes({"name", "x", "y", "width", "height", "font", "size", "bold", "align",
                             "valign", "frame", "wrap", "stretch", "stretchWithBand"});
        } else if (name == QLatin1String("line") || name == QLatin1String("rect")) {
            o.type = name == QLatin1String("line") ? ObjectType::Line : ObjectType::Rect;
            checkAttributes({"name", "x", "y", "width", "height", "lineWidth", "stretchWithBand"});
        } else {
            throw QStringLiteral("未知元素 <%1>（应为 <text>、<line> 或 <rect>）").arg(name);
        }
        o.name = attr("name");
        o.x = length("x", 0, true);
        o.y = length("y", 0, true);
        o.width = length("width", 0, true);
        o.height = length("height", 0, true);
        o.stretchWithBand = boolean("stretchWithBand", false);
        if (o.type == ObjectType::Text) {
            if (has("font"))
                o.fontFamily = attr("font");
            o.fontSize = length("size", 10);
            if (o.fontSize <= 0)
                throw QStringLiteral("字号必须大于 0");
            o.bold = boolean("bold", false);
            const QString align = has("align") ? attr("align") : "left";
            if (align == QLatin1String("left"))
                o.align = HAlign::Left;
            else if (align == QLatin1String("center"))
                o.align = HAlign::Center;
            else if (align == QLatin1String("right"))
                o.align = HAlign::Right;
            else
                throw QStringLiteral("未知对齐 align=\"%1\"").arg(align);
            const QString valign = has("valign") ? attr("valign") : "center";
            if (valign == QLatin1String("top"))
                o.valign = VAlign::Top;
            else if (valign == QLatin1String("center"))
                o.valign = VAlign::Center;
            else if (valign == QLatin1String("bottom"))
                o.valign = VAlign::Bottom;
            else
                throw QStringLiteral("未知对齐 valign=\"%1\"").arg(valign);
            o.frame = readFrame(has("frame") ? attr("frame") : QStringLiteral("none"));
            o.wordWrap = boolean("wrap", false);
            o.stretch = boolean("stretch", false);
            o.text = m_xml.readElementText();
            if (m_xml.hasError())
                throw m_xml.errorString();
        } else {
            o.lineWidth = length("lineWidth", 0.2);
            m_xml.skipCurrentElement();
        }
        return o;
    }

    static int readFrame(const QString& text) {
        if (text == QLatin1String("all"))
            return FrameAll;
        if (text == QLatin1String("none"))
            return FrameNone;
        int frame = 0;
        for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (part == QLatin1String("left"))
                frame |= FrameLeft;
            else if (part == QLatin1String("top"))
                frame |= FrameTop;
            else if (part == QLatin1String("right"))
                frame |= FrameRight;
            else if (part == QLatin1String("bottom"))
                frame |= FrameBottom;
            else
                throw QStringLiteral("未知边框 \"%1\"").arg(part);
        }
        return frame;
    }

    QXmlStreamReader& m_xml;
};

} // namespace

bool PageSettings::setNamedSize(const QString& name) {
    if (name == QLatin1String("A4")) {
        width = 210;
        height = 297;
    } else if (name == QLatin1String("A5")) {
        width = 148;
        height = 210;
    } else if (name == QLatin1String("continuous241")) {
        width = 241;
        height = 279.4;
    } else {
        return false;
    }
    size = name;
    return true;
}

QSizeF PageSettings::paperSizeMm() const {
    return landscape ? QSizeF(height, width) : QSizeF(width, height);
}

QString bandTypeName(BandType type) {
    for (const auto& info : kBandTypes)
        if (info.type == type)
            return QString::fromLatin1(info.name);
    return {};
}

QString bandTypeTitle(BandType type) {
    for (const auto& info : kBandTypes)
        if (info.type == type)
            return QString::fromUtf8(info.title);
    return {};
}

bool bandTypeFromName(const QString& name, BandType* type) {
    for (const auto& info : kBandTypes) {
        if (name == QLatin1String(info.name)) {
            *type = info.type;
            return true;
        }
    }
    return false;
}

QList<BandType> allBandTypes() {
    QList<BandType> types;
    for (const auto& info : kBandTypes)
        types.append(info.type);
    return types;
}

bool ReportLayout::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: 无法打开报表文件: %2").arg(path, file.errorString());
        return false;
    }
    return fromXml(file.readAll(), path, error);
}

bool ReportLayout::fromXml(const QByteArray& xml, const QString& sourceName, QString* error) {
    QXmlStreamReader reader(xml);
    LayoutReader layoutReader(reader);
    try {
        *this = layoutReader.read();
        return true;
    } catch (const QString& reason) {
        if (error) {
            *error = QStringLiteral("%1:%2:%3: %4")
                         .arg(sourceName)
                         .arg(reader.lineNumber())
                         .arg(reader.columnNumber())
                         .arg(reason);
        }
        return false;
    }
}

QByteArray ReportLayout::toXml() const {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(4);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("report"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    if (!name.isEmpty())
        w.writeAttribute(QStringLiteral("name"), name);

    w.writeEmptyElement(QStringLiteral("page"));
    w.writeAttribute(QStringLiteral("size"), page.size);
    if (page.size == QLatin1String("custom")) {
        w.writeAttribute(QStringLiteral("width"), number(page.width));
        w.writeAttribute(QStringLiteral("height"), number(page.height));
    }
    w.writeAttribute(QStringLiteral("orientation"),
                     page.landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"));
    w.writeAttribute(QStringLiteral("left"), number(page.left));
    w.writeAttribute(QStringLiteral("top"), number(page.top));
    w.writeAttribute(QStringLiteral("right"), number(page.right));
    w.writeAttribute(QStringLiteral("bottom"), number(page.bottom));

    const ReportObject defaults;
    for (const ReportBand& band : bands) {
        w.writeStartElement(QStringLiteral("band"));
        w.writeAttribute(QStringLiteral("type"), bandTypeName(band.type));
        w.writeAttribute(QStringLiteral("height"), number(band.height));
        if (!band.groupField.isEmpty())
            w.writeAttribute(QStringLiteral("field"), band.groupField);
        if (band.stretch)
            w.writeAttribute(QStringLiteral("stretch"), QStringLiteral("true"));
        for (const ReportObject& o : band.objects) {
            const bool isText = o.type == ObjectType::Text;
            w.writeStartElement(isText                       ? QStringLiteral("text")
                                : o.type == ObjectType::Line ? QStringLiteral("line")
                                                             : QStringLiteral("rect"));
            if (!o.name.isEmpty())
                w.writeAttribute(QStringLiteral("name"), o.name);
            w.writeAttribute(QStringLiteral("x"), number(o.x));
            w.writeAttribute(QStringLiteral("y"), number(o.y));
            w.writeAttribute(QStringLiteral("width"), number(o.width));
            w.writeAttribute(QStringLiteral("height"), number(o.height));
            if (isText) {
                if (o.fontFamily != defaults.fontFamily)
                    w.writeAttribute(QStringLiteral("font"), o.fontFamily);
                if (o.fontSize != defaults.fontSize)
                    w.writeAttribute(QStringLiteral("size"), number(o.fontSize));
                if (o.bold)
                    w.writeAttribute(QStringLiteral("bold"), QStringLiteral("true"));
                if (o.align != defaults.align)
                    w.writeAttribute(QStringLiteral("align"),
                                     QString::fromLatin1(hAlignName(o.align)));
                if (o.valign != defaults.valign)
                    w.writeAttribute(QStringLiteral("valign"),
                                     QString::fromLatin1(vAlignName(o.valign)));
                if (o.frame != FrameNone)
                    w.writeAttribute(QStringLiteral("frame"), frameText(o.frame));
                if (o.wordWrap)
                    w.writeAttribute(QStringLiteral("wrap"), QStringLiteral("true"));
                if (o.stretch)
                    w.writeAttribute(QStringLiteral("stretch"), QStringLiteral("true"));
                if (o.stretchWithBand)
                    w.writeAttribute(QStringLiteral("stretchWithBand"), QStringLiteral("true"));
                w.writeCharacters(o.text);
            } else {
                if (o.lineWidth != defaults.lineWidth)
                    w.writeAttribute(QStringLiteral("lineWidth"), number(o.lineWidth));
                if (o.stretchWithBand)
                    w.writeAttribute(QStringLiteral("stretchWithBand"), QStringLiteral("true"));
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

bool ReportLayout::save(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1: 无法写入报表文件: %2").arg(path, file.errorString());
        return false;
    }
    file.write(toXml());
    if (!file.commit()) {
        if (error)
            *error = QStringLiteral("%1: 无法写入报表文件: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

ReportBand* ReportLayout::band(BandType type) {
    for (ReportBand& b : bands)
        if (b.type == type)
            return &b;
    return nullptr;
}

const ReportBand* ReportLayout::band(BandType type) const {
    for (const ReportBand& b : bands)
        if (b.type == type)
            return &b;
    return nullptr;
}

ReportBand* ReportLayout::addBand(BandType type, double height) {
    if (ReportBand* existing = band(type))
        return existing;
    ReportBand b;
    b.type = type;
    b.height = height;
    qsizetype at = 0;
    while (at < bands.size() && bands[at].type < type)
        ++at;
    bands.insert(at, b);
    return &bands[at];
}

bool ReportLayout::removeBand(BandType type) {
    for (qsizetype i = 0; i < bands.size(); ++i) {
        if (bands[i].type == type) {
            bands.removeAt(i);
            return true;
        }
    }
    return false;
}

QString ReportLayout::groupField() const {
    if (const ReportBand* h = band(BandType::GroupHeader); h && !h->groupField.isEmpty())
        return h->groupField;
    if (const ReportBand* f = band(BandType::GroupFooter))
        return f->groupField;
    return {};
}

} // namespace report
