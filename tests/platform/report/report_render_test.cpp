#include "platform/report/report_engine.h"

#include "report_test_data.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace report;
using namespace report_test;

class ReportRenderTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void brokenLayoutFile_data();
    void brokenLayoutFile();
    void missingLayoutFile();
    void failedLoadKeepsLayout();
    void shippedLayoutsAreCanonical_data();
    void shippedLayoutsAreCanonical();
    void everyAttributeRoundTrips();

    void paperSizes_data();
    void paperSizes();
    void pagination();
    void groups();
    void emptyDataPrintsTitleAndSummary();

    void documentToPdf_data();
    void documentToPdf();
    void periodListToPdf_data();
    void periodListToPdf();
    void stockReportToPdf();
    void unknownFunctionStillWritesPdf();

    void stretchingRowGrows();
    void documentRowGrowsToFitName_data();
    void documentRowGrowsToFitName();
    void stretchedRowMovesWholeToNextPage();
    void geometryWithoutStretchUnchanged_data();
    void geometryWithoutStretchUnchanged();
};

namespace {

QStringList shippedLayouts() {
    return {QStringLiteral("inputreport.frf"),
            QStringLiteral("cgjh_report.frf"),
            QStringLiteral("return_inputreport.frf"),
            QStringLiteral("return_cgjh_report.frf"),
            QStringLiteral("sell_report.frf"),
            QStringLiteral("printreport.frf"),
            QStringLiteral("return_report.frf"),
            QStringLiteral("return_printreport.frf"),
            QStringLiteral("kcbb.frf")};
}

ReportObject text(double x, double y, double w, double h, const QString& t) {
    ReportObject o;
    o.x = x;
    o.y = y;
    o.width = w;
    o.height = h;
    o.text = t;
    return o;
}

// pdftotext drops some blanks between words: compare texts without any.
QString flat(QString text) {
    text.remove(QRegularExpression(QStringLiteral("\\s+")));
    return text;
}

QStringList pageTexts(const QString& pdf) {
    QStringList pages = pdf.split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The page texts of the rendered items whose band is recognised by their text.
QStringList itemTexts(const RenderedPage& page) {
    QStringList texts;
    for (const RenderedItem& item : page.items)
        texts.append(item.text);
    return texts;
}

// Forty characters, none of them a digit or a blank, so that pdftotext keeps them together.
const QString kLongName = QStringLiteral(
    "加厚型不锈钢内六角圆柱头螺丝带弹簧垫圈和平垫圈组合套装特级防锈处理工业专用加长版");

// The items one printing of a band added to a page: the band's objects in order, the first of
// them the one whose text is `text` minus `index`.
QList<RenderedItem> rowItems(const RenderedPage& page, const QString& text, int index, int count) {
    for (qsizetype i = 0; i < page.items.size(); ++i)
        if (page.items[i].kind == RenderedItem::Kind::Text && page.items[i].text == text)
            return page.items.mid(i - index, count);
    return {};
}

struct PdfWord {
    int page = 0;
    QRectF rect; // mm
    QString text;
};

// The words pdftotext finds in a PDF file, with their boxes.
QList<PdfWord> pdfWords(const QString& file) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), file,
                   QStringLiteral("-")});
    process.waitForFinished(30000);
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression pattern(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    const double mmPerPoint = 25.4 / 72;
    QList<PdfWord> words;
    int page = -1;
    for (auto it = pattern.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.append({page, QRectF(topLeft * mmPerPoint, bottomRight * mmPerPoint), m.captured(5)});
    }
    return words;
}

ReportLayout withoutStretch(ReportLayout layout) {
    for (ReportBand& band : layout.bands) {
        band.stretch = false;
        for (ReportObject& o : band.objects) {
            o.stretch = false;
            o.stretchWithBand = false;
        }
    }
    return layout;
}

} // namespace

void ReportRenderTest::brokenLayoutFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<report version=\"1\">\n"
                            "    <page size=\"A4\"/>\n";
    QTest::newRow("truncated") << head + "    <band type=\"masterData\" height=\"7\">\n        <te"
                               << 5 << "";
    QTest::newRow("not xml") << QByteArray("hello") << 1 << "";
    QTest::newRow("empty") << QByteArray() << 1 << "";
    QTest::newRow("wrong root") << QByteArray("<layout version=\"1\"/>") << 1 << "<report>";
    QTest::newRow("wrong element")
        << head + "    <band type=\"masterData\" height=\"7\">\n        <image x=\"0\"/>\n"
        << 5 << "未知元素 <image>";
    QTest::newRow("wrong element at top") << head + "    <bands/>\n</report>\n"
                                          << 4 << "未知元素 <bands>";
    QTest::newRow("bad number")
        << head + "    <band type=\"masterData\" height=\"seven\">\n    </band>\n</report>\n"
        << 4 << "height=\"seven\"";
    QTest::newRow("unknown band")
        << head + "    <band type=\"detail\" height=\"7\">\n    </band>\n</report>\n"
        << 4 << "detail";
    QTest::newRow("duplicate band")
        << head + "    <band type=\"masterData\" height=\"7\"/>\n"
                  "    <band type=\"masterData\" height=\"7\"/>\n</report>\n"
        << 5 << "重复";
    QTest::newRow("unknown attribute")
        << head + "    <band type=\"masterData\" height=\"7\">\n        <text x=\"0\" y=\"0\" "
                  "width=\"1\" height=\"1\" colour=\"red\">a</text>\n    </band>\n</report>\n"
        << 5 << "colour";
    QTest::newRow("missing coordinate")
        << head + "    <band type=\"masterData\" height=\"7\">\n        <line x=\"0\" y=\"0\" "
                  "width=\"1\"/>\n    </band>\n</report>\n"
        << 5 << "缺少属性 \"height\"";
    QTest::newRow("unknown paper")
        << QByteArray("<report version=\"1\">\n<page size=\"B5\"/>\n") << 2 << "B5";
    QTest::newRow("no page") << QByteArray("<report version=\"1\">\n</report>\n") << 2 << "<page>";
    QTest::newRow("newer version") << QByteArray("<report version=\"2\"/>") << 1 << "版本";
    QTest::newRow("stretch not a boolean")
        << head + "    <band type=\"masterData\" height=\"7\" stretch=\"yes\"/>\n</report>\n"
        << 4 << "stretch=\"yes\"";
    QTest::newRow("stretch on a line")
        << head + "    <band type=\"masterData\" height=\"7\">\n        <line x=\"0\" y=\"0\" "
                  "width=\"1\" height=\"1\" stretch=\"true\"/>\n    </band>\n</report>\n"
        << 5 << "不认识属性 \"stretch\"";
}

void ReportRenderTest::brokenLayoutFile() {
    QFETCH(QByteArray, content);
    QFETCH(int, line);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("坏报表.frf"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    ReportEngine engine;
    QString error;
    QVERIFY(!engine.load(path, &error));
    const QString place = path + QStringLiteral(":%1:").arg(line);
    QVERIFY2(error.startsWith(place), qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void ReportRenderTest::missingLayoutFile() {
    ReportEngine engine;
    QString error;
    QVERIFY(!engine.load(QStringLiteral("/nonexistent/kcbb.frf"), &error));
    QVERIFY2(error.startsWith(QStringLiteral("/nonexistent/kcbb.frf: ")), qPrintable(error));
}

void ReportRenderTest::failedLoadKeepsLayout() {
    ReportEngine engine;
    QString error;
    QVERIFY2(engine.load(layoutPath(QStringLiteral("kcbb.frf")), &error), qPrintable(error));
    const ReportLayout before = engine.layout();
    QVERIFY(!engine.load(QStringLiteral("/nonexistent/x.frf"), &error));
    QVERIFY(engine.layout() == before);
    QCOMPARE(engine.fileName(), layoutPath(QStringLiteral("kcbb.frf")));
}

void ReportRenderTest::shippedLayoutsAreCanonical_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : shippedLayouts())
        QTest::newRow(qPrintable(name)) << name;
}

void ReportRenderTest::shippedLayoutsAreCanonical() {
    QFETCH(QString, name);
    QFile file(layoutPath(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ReportLayout layout;
    QString error;
    QVERIFY2(layout.fromXml(bytes, name, &error), qPrintable(error));
    QCOMPARE(QString::fromUtf8(layout.toXml()), QString::fromUtf8(bytes));
    QCOMPARE(layout.page.size, QStringLiteral("A4"));
    QVERIFY(layout.band(BandType::MasterData));
}

void ReportRenderTest::everyAttributeRoundTrips() {
    ReportLayout layout;
    layout.name = QStringLiteral("全部 \"属性\" & <符号>");
    layout.page.size = QStringLiteral("custom");
    layout.page.width = 241.3;
    layout.page.height = 100;
    layout.page.landscape = true;
    layout.page.left = 0;
    layout.page.top = 5.25;
    ReportBand* group = layout.addBand(BandType::GroupHeader, 7.5);
    group->groupField = QStringLiteral("供货商");
    group->stretch = true;
    ReportObject t = text(1, 2, 3, 4, QStringLiteral("两行\n  [a < b & c]  "));
    t.name = QStringLiteral("标题");
    t.fontFamily = QStringLiteral("Noto Sans CJK SC");
    t.fontSize = 12.5;
    t.bold = true;
    t.align = HAlign::Right;
    t.valign = VAlign::Bottom;
    t.frame = FrameLeft | FrameBottom;
    t.wordWrap = true;
    t.stretch = true;
    t.stretchWithBand = true;
    group->objects.append(t);
    ReportObject line;
    line.type = ObjectType::Line;
    line.width = 50;
    line.height = 0;
    line.lineWidth = 0.75;
    line.stretchWithBand = true;
    group->objects.append(line);
    ReportObject rect;
    rect.type = ObjectType::Rect;
    group->objects.append(rect);
    layout.addBand(BandType::ReportTitle, 0); // inserted before the group header

    QCOMPARE(layout.bands.first().type, BandType::ReportTitle);
    const QByteArray xml = layout.toXml();
    ReportLayout back;
    QString error;
    QVERIFY2(back.fromXml(xml, QStringLiteral("memory"), &error), qPrintable(error));
    QVERIFY(back == layout);
    QCOMPARE(back.toXml(), xml);

    // Saving to a file and loading gives the same layout.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.frf"));
    QVERIFY(layout.save(path, &error));
    ReportLayout loaded;
    QVERIFY(loaded.load(path, &error));
    QVERIFY(loaded == layout);
}

void ReportRenderTest::paperSizes_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QSizeF>("paper");
    QTest::addColumn<QString>("pdfPoints"); // as pdfinfo prints it (whole points)
    QTest::newRow("A4") << QByteArray("size=\"A4\"") << QSizeF(210, 297) << "595 x 842";
    QTest::newRow("A4 landscape") << QByteArray("size=\"A4\" orientation=\"landscape\"")
                                  << QSizeF(297, 210) << "842 x 595";
    QTest::newRow("A5") << QByteArray("size=\"A5\"") << QSizeF(148, 210) << "420 x 595";
    QTest::newRow("continuous form")
        << QByteArray("size=\"continuous241\"") << QSizeF(241, 279.4) << "683 x 792";
    QTest::newRow("custom") << QByteArray("size=\"custom\" width=\"100\" height=\"50\"")
                            << QSizeF(100, 50) << "283 x 142";
}

void ReportRenderTest::paperSizes() {
    QFETCH(QByteArray, page);
    QFETCH(QSizeF, paper);
    QFETCH(QString, pdfPoints);
    ReportLayout layout;
    QString error;
    QVERIFY2(layout.fromXml("<report version=\"1\"><page " + page +
                                " left=\"5\" top=\"5\" right=\"5\" bottom=\"5\"/>"
                                "<band type=\"masterData\" height=\"10\"><text x=\"0\" y=\"0\" "
                                "width=\"20\" height=\"10\">[LINE#]</text></band></report>",
                            QStringLiteral("memory"), &error),
             qPrintable(error));
    QCOMPARE(layout.page.paperSizeMm(), paper);
    ReportEngine engine;
    engine.setLayout(layout);
    engine.setMainData(purchaseLines(30));
    const RenderedReport r = engine.render();
    QCOMPARE(r.pageSizeMm, paper);
    // Rows per page follow the paper's height: (height - 10 mm margins) / 10 mm.
    const int perPage = int((paper.height() - 10) / 10 + 1e-9);
    QCOMPARE(r.pages.size(), (30 + perPage - 1) / perPage);
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        return;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
    QVERIFY(writePdf(r, pdf, &error));
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    QVERIFY(info.waitForFinished(30000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Page size:       ") + pdfPoints), qPrintable(text));
}

void ReportRenderTest::pagination() {
    // Paper 100 mm high: 10 mm margins, 10 mm page footer, so 70 mm of bands per page.
    ReportLayout layout;
    layout.page.size = QStringLiteral("custom");
    layout.page.width = 100;
    layout.page.height = 100;
    layout.addBand(BandType::ReportTitle, 15)->objects.append(text(0, 0, 80, 15, "TITLE"));
    layout.addBand(BandType::PageHeader, 5)->objects.append(text(0, 0, 80, 5, "PH [PAGE#]"));
    layout.addBand(BandType::ColumnHeader, 5)->objects.append(text(0, 0, 80, 5, "COLS"));
    layout.addBand(BandType::MasterData, 10)->objects.append(text(0, 0, 80, 10, "ROW [LINE#]"));
    layout.addBand(BandType::ReportSummary, 20)
        ->objects.append(text(0, 0, 80, 20, "SUM [SUM(合计)]"));
    layout.addBand(BandType::PageFooter, 10)
        ->objects.append(text(0, 0, 80, 10, "[PAGE#]/[TOTALPAGES]"));

    ReportEngine engine;
    engine.setLayout(layout);
    engine.setMainData(purchaseLines(12));
    const RenderedReport r = engine.render();
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join(QLatin1Char('\n'))));
    // Page 1: title 15 + headers 10 leave 45 mm: 4 rows. Pages 2 and 3: 60 mm: 6 rows.
    // Page 3 has 2 rows (20 mm) and the summary (20 mm) fits below them.
    QCOMPARE(r.pages.size(), 3);
    QStringList rows;
    for (int p = 0; p < r.pages.size(); ++p) {
        const QStringList texts = itemTexts(r.pages[p]);
        QCOMPARE(texts.count(QStringLiteral("TITLE")), p == 0 ? 1 : 0);
        QCOMPARE(texts.count(QStringLiteral("PH %1").arg(p + 1)), 1);
        QCOMPARE(texts.count(QStringLiteral("COLS")), 1);
        QCOMPARE(texts.count(QStringLiteral("%1/3").arg(p + 1)), 1);
        for (const RenderedItem& item : r.pages[p].items) {
            QVERIFY(item.rect.bottom() <= 90 + 1e-9); // nothing below the bottom margin
            if (item.text.startsWith(QLatin1String("ROW"))) {
                rows.append(item.text);
                QVERIFY2(item.rect.bottom() <= 80 + 1e-9, "a row runs into the page footer");
            }
        }
        if (p == 0)
            QCOMPARE(texts.filter(QStringLiteral("ROW")).size(), 4);
    }
    QStringList expected;
    for (int i = 1; i <= 12; ++i)
        expected.append(QStringLiteral("ROW %1").arg(i));
    QCOMPARE(rows, expected);
    QVERIFY(itemTexts(r.pages[2]).contains(QStringLiteral("SUM 780")));

    // One more row pushes the summary alone onto a fourth page.
    engine.setMainData(purchaseLines(15));
    const RenderedReport r4 = engine.render();
    QCOMPARE(r4.pages.size(), 4);
    QVERIFY(itemTexts(r4.pages[3]).contains(QStringLiteral("SUM 1200")));
    QVERIFY(itemTexts(r4.pages[3]).contains(QStringLiteral("4/4")));
    QVERIFY(itemTexts(r4.pages[3]).filter(QStringLiteral("ROW")).isEmpty());
}

void ReportRenderTest::groups() {
    ReportDataSet data = purchaseLines(5);
    const int supplier = data.columnIndex(QStringLiteral("供货商"));
    for (int i = 0; i < 5; ++i)
        data.rows[i][supplier] = i < 2 ? QStringLiteral("甲厂") : QStringLiteral("乙厂");
    ReportLayout layout;
    ReportBand* header = layout.addBand(BandType::GroupHeader, 6);
    header->groupField = QStringLiteral("供货商");
    header->objects.append(text(0, 0, 50, 6, "组 [供货商]"));
    layout.addBand(BandType::MasterData, 6)->objects.append(text(0, 0, 50, 6, "[合计]"));
    layout.addBand(BandType::GroupFooter, 6)
        ->objects.append(text(0, 0, 50, 6, "小计 [供货商] [SUM(合计)] [COUNT()]"));
    layout.addBand(BandType::ReportSummary, 6)
        ->objects.append(text(0, 0, 50, 6, "总计 [SUM(合计)] [COUNT()]"));

    ReportEngine engine;
    engine.setLayout(layout);
    engine.setMainData(data);
    const RenderedReport r = engine.render();
    QCOMPARE(itemTexts(r.pages.value(0)),
             (QStringList{"组 甲厂", "10", "20", "小计 甲厂 30 2", "组 乙厂", "30", "40", "50",
                          "小计 乙厂 120 3", "总计 150 5"}));

    // A group field the data lacks is reported and the rows print ungrouped.
    layout.band(BandType::GroupHeader)->groupField = QStringLiteral("不存在");
    engine.setLayout(layout);
    const RenderedReport ungrouped = engine.render();
    QVERIFY(ungrouped.errors.join(QLatin1Char(' ')).contains(QStringLiteral("不存在")));
    QCOMPARE(itemTexts(ungrouped.pages.value(0)).filter(QStringLiteral("小计")).size(), 1);
}

void ReportRenderTest::emptyDataPrintsTitleAndSummary() {
    ReportEngine engine;
    QString error;
    QVERIFY2(engine.load(layoutPath(QStringLiteral("printreport.frf")), &error), qPrintable(error));
    ReportDataSet empty = salesLines(0);
    engine.setMainData(empty);
    engine.addDataSet(QStringLiteral("company"), companyRow());
    engine.registerFunction(QStringLiteral("NtoC"), capitalsOf);
    engine.registerFunction(QStringLiteral("getkhaddress"), addressOf);
    const RenderedReport r = engine.render();
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join(QLatin1Char('\n'))));
    QCOMPARE(r.pages.size(), 1);
    const QString page = r.pages[0].text();
    QVERIFY(page.contains(QStringLiteral("华联五金商行")));
    QVERIFY(page.contains(QStringLiteral("小写：￥0.00")));
}

void ReportRenderTest::documentToPdf_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("sales");
    QTest::addColumn<QString>("heading");
    QTest::newRow("purchase") << "cgjh_report.frf" << false << "进货单";
    QTest::newRow("purchase return") << "return_cgjh_report.frf" << false << "采购退货单";
    QTest::newRow("sales") << "printreport.frf" << true << "送货单";
    QTest::newRow("sales return") << "return_printreport.frf" << true << "销售退货单";
}

void ReportRenderTest::documentToPdf() {
    if (!havePdfToText())
        QSKIP("pdftotext is not installed");
    QFETCH(QString, layout);
    QFETCH(bool, sales);
    QFETCH(QString, heading);

    ReportEngine engine;
    QString error;
    QVERIFY2(engine.load(layoutPath(layout), &error), qPrintable(error));
    engine.setMainData(sales ? salesLines(3) : purchaseLines(3));
    engine.addDataSet(QStringLiteral("company"), companyRow());
    QList<double> amounts;
    engine.registerFunction(QStringLiteral("NtoC"), [&](const QVariantList& args) {
        amounts.append(args.value(0).toDouble());
        return capitalsOf(args);
    });
    engine.registerFunction(QStringLiteral("getkhaddress"), addressOf);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
    QVERIFY2(engine.exportPdf(pdf, &error), qPrintable(error));
    QVERIFY2(engine.errors().isEmpty(), qPrintable(engine.errors().join(QLatin1Char('\n'))));
    QCOMPARE(amounts, (QList<double>{sales ? 153.0 : 60.0}));

    const QString out = flat(pdfText(pdf));
    const QStringList expected = {
        heading,
        QStringLiteral("华联五金商行"),
        QStringLiteral("0571-88886666"),
        QStringLiteral("0571-88887777"),
        QStringLiteral("杭州市文三路100号"),
        sales ? QStringLiteral("张三建材") : QStringLiteral("大发五金厂"),
        sales ? QStringLiteral("杭州市莫干山路66号") : QStringLiteral("佛山市南海区工业大道8号"),
        sales ? QStringLiteral("扳手2号") : QStringLiteral("螺丝2号"),
        sales ? QStringLiteral("BS003") : QStringLiteral("LS003"),
        sales ? QStringLiteral("7寸") : QStringLiteral("M5"),
        sales ? QStringLiteral("76.50") : QStringLiteral("30.00"), // the third line's amount
        sales ? QStringLiteral("￥153.00") : QStringLiteral("￥60.00"),
        sales ? QStringLiteral("壹佰伍拾叁圆整") : QStringLiteral("陆拾圆整"),
        QStringLiteral("888(系统管理员)"),
        sales ? QStringLiteral("2007-08-16") : QStringLiteral("2007-08-15"),
        QStringLiteral("第1页/共1页"),
    };
    for (const QString& text : expected)
        QVERIFY2(out.contains(text),
                 qPrintable(QStringLiteral("missing %1 in:\n%2").arg(text, out)));
}

void ReportRenderTest::periodListToPdf_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("sales");
    QTest::addColumn<QString>("heading");
    QTest::newRow("purchases") << "inputreport.frf" << false << "进货报表";
    QTest::newRow("purchase returns") << "return_inputreport.frf" << false << "采购退货报表";
    QTest::newRow("sales") << "sell_report.frf" << true << "销售报表";
    QTest::newRow("sales returns") << "return_report.frf" << true << "销售退货报表";
}

void ReportRenderTest::periodListToPdf() {
    if (!havePdfToText())
        QSKIP("pdftotext is not installed");
    QFETCH(QString, layout);
    QFETCH(bool, sales);
    QFETCH(QString, heading);
    const int rows = 60;
    ReportEngine engine;
    QString error;
    QVERIFY2(engine.load(layoutPath(layout), &error), qPrintable(error));
    engine.setMainData(sales ? salesLines(rows) : purchaseLines(rows));
    engine.addDataSet(QStringLiteral("company"), companyRow());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("list.pdf"));
    QVERIFY2(engine.exportPdf(pdf, &error), qPrintable(error));
    QVERIFY2(engine.errors().isEmpty(), qPrintable(engine.errors().join(QLatin1Char('\n'))));

    const QStringList pages = pageTexts(pdfText(pdf));
    QVERIFY2(pages.size() >= 3, qPrintable(QString::number(pages.size())));
    for (int p = 0; p < pages.size(); ++p) {
        QVERIFY2(
            flat(pages[p]).contains(QStringLiteral("第%1页/共%2页").arg(p + 1).arg(pages.size())),
            qPrintable(pages[p]));
        // The column header on every page, the title on the first only.
        QVERIFY2(pages[p].contains(QStringLiteral("商品名称")) &&
                     pages[p].contains(QStringLiteral("商品编码")),
                 qPrintable(pages[p]));
        QCOMPARE(pages[p].contains(heading), p == 0);
    }
    // Every row once, in order, none lost or split at a page break.
    const QString all = pages.join(QLatin1Char('\n'));
    const QString name = sales ? QStringLiteral("扳手%1号") : QStringLiteral("螺丝%1号");
    qsizetype last = -1;
    for (int i = 1; i <= rows; ++i) {
        const QString n = name.arg(i);
        QCOMPARE(all.count(n + QLatin1Char(' ')) + all.count(n + QLatin1Char('\n')), 1);
        const qsizetype at = all.indexOf(n);
        QVERIFY(at > last);
        last = at;
    }
    const double total = (sales ? 25.5 : 10.0) * rows * (rows + 1) / 2;
    QVERIFY2(pages.last().contains(QString::number(total, 'f', 2)), qPrintable(pages.last()));
    QVERIFY2(pages.last().contains(QStringLiteral("1830")), qPrintable(pages.last())); // quantity
    QVERIFY(flat(pages.last()).contains(QStringLiteral("共60笔")));
}

void ReportRenderTest::stockReportToPdf() {
    if (!havePdfToText())
        QSKIP("pdftotext is not installed");
    ReportEngine engine;
    QString error;
    QVERIFY2(engine.load(layoutPath(QStringLiteral("kcbb.frf")), &error), qPrintable(error));
    ReportDataSet stock;
    stock.columns =
        QStringList{"商品大类",   "商品名称",     "规格",         "商品编码",   "库存数量",
                    "进货数量",   "采购进货数",   "采购退货数量", "采购退货数", "销售数量",
                    "销售出货数", "销售退货数量", "销售退货数"};
    stock.rows.append(
        {"五金", "螺丝", "M4", "LS001", 4.0, 10.0, 10.0, 2.0, 2.0, 5.0, 5.0, 1.0, 1.0});
    stock.rows.append(
        {"五金", "扳手", "6寸", "BS001", 7.0, 9.0, 0.0, 0.0, 0.0, 3.0, 0.0, 1.0, 0.0});
    engine.setMainData(stock);
    QStringList asked;
    engine.registerFunction(QStringLiteral("getgridcaption"), [&](const QVariantList& args) {
        asked.append(args.value(0).toString());
        return QVariant(QStringLiteral("2007年") + args.value(0).toString());
    });
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("kcbb.pdf"));
    QVERIFY2(engine.exportPdf(pdf, &error), qPrintable(error));
    QVERIFY2(engine.errors().isEmpty(), qPrintable(engine.errors().join(QLatin1Char('\n'))));
    QStringList captions{"采购进货数", "采购退货数", "销售出货数", "销售退货数"};
    captions.sort();
    asked.sort();
    QCOMPARE(asked, captions);
    const QString out = pdfText(pdf);
    // Headings wrap inside their cells, so look for the words without line breaks.
    for (const QString& t :
         {QStringLiteral("库存报表"), QStringLiteral("进货统计"), QStringLiteral("销售统计"),
          QStringLiteral("库存数"), QStringLiteral("LS001"), QStringLiteral("BS001"),
          QStringLiteral("合计：")})
        QVERIFY2(out.contains(t), qPrintable(QStringLiteral("missing %1 in:\n%2").arg(t, out)));
    // The period headings wrap inside their cells: the PDF shows their start, the page items
    // the whole text.
    QVERIFY2(flat(out).contains(QStringLiteral("2007年")), qPrintable(out));
    const QStringList headings = engine.render().pages.value(0).text().split(QLatin1Char('\n'));
    for (const QString& caption : captions)
        QVERIFY(headings.contains(QStringLiteral("2007年") + caption));
    // Sums: stock 11, purchases 19, sales 8.
    const QString summary = out.mid(out.indexOf(QStringLiteral("合计：")));
    const QStringList sums =
        summary.section(QLatin1Char('\n'), 0, 0).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QCOMPARE(sums, (QStringList{"合计：", "11", "19", "10", "2", "2", "8", "5", "2", "1"}));
}

void ReportRenderTest::unknownFunctionStillWritesPdf() {
    ReportEngine engine;
    QString error;
    QVERIFY2(engine.load(layoutPath(QStringLiteral("cgjh_report.frf")), &error), qPrintable(error));
    engine.setMainData(purchaseLines(2));
    engine.addDataSet(QStringLiteral("company"), companyRow());
    // No NtoC and no getkhaddress registered.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
    QVERIFY2(engine.exportPdf(pdf, &error), qPrintable(error));
    QVERIFY(QFileInfo(pdf).size() > 0);
    const QString errors = engine.errors().join(QLatin1Char('\n'));
    QVERIFY2(errors.contains(QStringLiteral("未知函数 \"NtoC\"")), qPrintable(errors));
    QVERIFY2(errors.contains(QStringLiteral("未知函数 \"getkhaddress\"")), qPrintable(errors));
    QCOMPARE(engine.errors().size(), 2); // each error once, however often it occurs
    if (havePdfToText())
        QVERIFY(pdfText(pdf).contains(QStringLiteral("#错误: 未知函数")));
}

void ReportRenderTest::stretchingRowGrows() {
    // A row of 7 mm: a growing name cell, a cell and a vertical rule that follow the band, a
    // rule under the row that follows it, and a marker that follows nothing.
    ReportLayout layout;
    ReportBand* band = layout.addBand(BandType::MasterData, 7);
    band->stretch = true;
    ReportObject name = text(0, 0, 30, 7, QStringLiteral("[商品名称]"));
    name.wordWrap = true;
    name.stretch = true;
    name.stretchWithBand = true;
    name.frame = FrameAll;
    ReportObject cell = text(30, 0, 20, 7, QStringLiteral("[合计]"));
    cell.frame = FrameAll;
    cell.stretchWithBand = true;
    ReportObject rule;
    rule.type = ObjectType::Line;
    rule.x = 55;
    rule.width = 0;
    rule.height = 7;
    rule.stretchWithBand = true;
    ReportObject under = rule;
    under.x = 0;
    under.y = 7;
    under.width = 60;
    under.height = 0;
    const ReportObject marker = text(60, 1, 10, 3, QStringLiteral("标记"));
    band->objects = {name, cell, rule, under, marker};

    ReportDataSet data = purchaseLines(3);
    data.rows[1][data.columnIndex(QStringLiteral("商品名称"))] = kLongName;
    ReportEngine engine;
    engine.setLayout(layout);
    engine.setMainData(data);
    const RenderedReport r = engine.render();
    QCOMPARE(r.pages.size(), 1);
    const RenderedPage& page = r.pages[0];
    const QList<RenderedItem> first = rowItems(page, QStringLiteral("螺丝1号"), 0, 5);
    const QList<RenderedItem> row = rowItems(page, kLongName, 0, 5);
    const QList<RenderedItem> third = rowItems(page, QStringLiteral("螺丝3号"), 0, 5);
    QCOMPARE(row.size(), 5);
    QCOMPARE(third.size(), 5);

    const double top = layout.page.top;
    const QRectF grown = row[0].rect;
    // Forty characters need several lines in 30 mm.
    QVERIFY2(grown.height() > 3 * 7, qPrintable(QString::number(grown.height())));
    QCOMPARE(grown.top(), top + 7);
    QCOMPARE(row[1].rect, QRectF(10 + 30, top + 7, 20, grown.height()));
    QCOMPARE(row[2].line, QLineF(10 + 55, top + 7, 10 + 55, grown.bottom()));
    QCOMPARE(row[3].line, QLineF(10, grown.bottom(), 10 + 60, grown.bottom()));
    QCOMPARE(row[4].rect, QRectF(10 + 60, top + 8, 10, 3)); // neither grows nor moves
    // The rows around it keep the design height; the next one starts below the grown row.
    QCOMPARE(first[0].rect, QRectF(10, top, 30, 7));
    QCOMPARE(first[2].line, QLineF(10 + 55, top, 10 + 55, top + 7));
    QCOMPARE(third[0].rect, QRectF(10, grown.bottom(), 30, 7));
    QCOMPARE(third[3].line.y1(), grown.bottom() + 7);
}

void ReportRenderTest::documentRowGrowsToFitName_data() {
    QTest::addColumn<QString>("layout");
    QTest::addColumn<bool>("sales");
    QTest::newRow("purchase") << "cgjh_report.frf" << false;
    QTest::newRow("purchase return") << "return_cgjh_report.frf" << false;
    QTest::newRow("sales") << "printreport.frf" << true;
    QTest::newRow("sales return") << "return_printreport.frf" << true;
}

void ReportRenderTest::documentRowGrowsToFitName() {
    QFETCH(QString, layout);
    QFETCH(bool, sales);
    ReportEngine engine;
    QString error;
    QVERIFY2(engine.load(layoutPath(layout), &error), qPrintable(error));
    ReportDataSet data = sales ? salesLines(3) : purchaseLines(3);
    data.rows[1][data.columnIndex(QStringLiteral("商品名称"))] = kLongName;
    engine.setMainData(data);
    engine.addDataSet(QStringLiteral("company"), companyRow());
    engine.registerFunction(QStringLiteral("NtoC"), capitalsOf);
    engine.registerFunction(QStringLiteral("getkhaddress"), addressOf);
    const ReportBand* master = engine.layout().band(BandType::MasterData);
    QVERIFY(master);
    const int cells = int(master->objects.size());
    int nameIndex = -1;
    for (int i = 0; i < cells; ++i)
        if (master->objects[i].text == QStringLiteral("[商品名称]"))
            nameIndex = i;
    QVERIFY(nameIndex >= 0);

    const RenderedReport r = engine.render();
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join(QLatin1Char('\n'))));
    const QList<RenderedItem> row = rowItems(r.pages[0], kLongName, nameIndex, cells);
    QCOMPARE(row.size(), cells);
    const QRectF name = row[nameIndex].rect;
    QVERIFY2(name.height() > master->height, qPrintable(QString::number(name.height())));
    // Every cell of the row shares its top and its bottom, so the borders meet.
    for (const RenderedItem& item : row) {
        QCOMPARE(item.rect.top(), name.top());
        QCOMPARE(item.rect.bottom(), name.bottom());
    }
    const QString next = sales ? QStringLiteral("扳手3号") : QStringLiteral("螺丝3号");
    const QList<RenderedItem> after = rowItems(r.pages[0], next, nameIndex, cells);
    QCOMPARE(after.value(0).rect.top(), name.bottom());
    QCOMPARE(after.value(0).rect.height(), master->height);

    if (!havePdfToText())
        QSKIP("pdftotext is not installed");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("doc.pdf"));
    QVERIFY2(writePdf(r, pdf, &error), qPrintable(error));
    // The name's lines, in order, make up every character, and each lies inside its cell
    // (a line outside would be cut off by the cell's clip).
    QString shown;
    for (const PdfWord& word : pdfWords(pdf)) {
        if (word.text.isEmpty() || !kLongName.contains(word.text))
            continue;
        shown += word.text;
        QVERIFY2(name.adjusted(-0.2, -0.2, 0.2, 0.2).contains(word.rect),
                 qPrintable(QStringLiteral("%1 outside its cell").arg(word.text)));
    }
    QCOMPARE(shown, kLongName);
}

void ReportRenderTest::stretchedRowMovesWholeToNextPage() {
    // Paper 100 mm high with 10 mm margins and a 10 mm footer: bands from 10 to 80 mm.
    ReportLayout layout;
    layout.page.size = QStringLiteral("custom");
    layout.page.width = 100;
    layout.page.height = 100;
    layout.addBand(BandType::ColumnHeader, 5)->objects.append(text(0, 0, 80, 5, "COLS"));
    ReportBand* band = layout.addBand(BandType::MasterData, 10);
    band->stretch = true;
    ReportObject name = text(0, 0, 30, 10, QStringLiteral("[商品名称]"));
    name.wordWrap = true;
    name.stretch = true;
    band->objects.append(name);
    layout.addBand(BandType::PageFooter, 10)->objects.append(text(0, 0, 80, 10, "[PAGE#]"));

    // Five rows fill 15..65 mm; at its design height the sixth would still fit (75 mm).
    ReportDataSet data = purchaseLines(7);
    data.rows[5][data.columnIndex(QStringLiteral("商品名称"))] = kLongName;
    ReportEngine engine;
    engine.setLayout(layout);
    engine.setMainData(data);
    const RenderedReport r = engine.render();
    QCOMPARE(r.pages.size(), 2);
    QCOMPARE(itemTexts(r.pages[0]).filter(QStringLiteral("螺丝")).size(), 5);
    for (const RenderedItem& item : r.pages[0].items)
        if (item.text != QStringLiteral("1"))
            QVERIFY(item.rect.bottom() <= 80 + 1e-9);
    const QStringList second = itemTexts(r.pages[1]);
    QCOMPARE(second, (QStringList{"COLS", kLongName, "螺丝7号", "2"}));
    const QRectF grown = r.pages[1].items[1].rect;
    QCOMPARE(grown.top(), 15.0); // right below the repeated column header
    QVERIFY(grown.height() > 20);
    QCOMPARE(r.pages[1].items[2].rect.top(), grown.bottom());
}

void ReportRenderTest::geometryWithoutStretchUnchanged_data() {
    QTest::addColumn<bool>("bandStretches");
    QTest::addColumn<QString>("name");
    // Object settings in a band that does not stretch do nothing, however long the text.
    QTest::newRow("band not stretching") << false << kLongName;
    // A stretching band whose texts fit prints as at its design height.
    QTest::newRow("texts fit") << true << QStringLiteral("短名");
}

void ReportRenderTest::geometryWithoutStretchUnchanged() {
    QFETCH(bool, bandStretches);
    QFETCH(QString, name);
    ReportLayout shipped;
    QString error;
    QVERIFY2(shipped.load(layoutPath(QStringLiteral("cgjh_report.frf")), &error),
             qPrintable(error));
    QVERIFY(shipped.band(BandType::MasterData)->stretch);
    shipped.band(BandType::MasterData)->stretch = bandStretches;
    ReportDataSet data = purchaseLines(60); // two pages
    for (QVariantList& row : data.rows)
        row[data.columnIndex(QStringLiteral("商品名称"))] = name;

    auto render = [&](const ReportLayout& layout) {
        ReportEngine engine;
        engine.setLayout(layout);
        engine.setMainData(data);
        engine.addDataSet(QStringLiteral("company"), companyRow());
        engine.registerFunction(QStringLiteral("NtoC"), capitalsOf);
        engine.registerFunction(QStringLiteral("getkhaddress"), addressOf);
        return engine.render();
    };
    const RenderedReport plain = render(withoutStretch(shipped));
    const RenderedReport r = render(shipped);
    QCOMPARE(r.pages.size(), plain.pages.size());
    QVERIFY(r.pages.size() >= 2);
    for (int p = 0; p < r.pages.size(); ++p) {
        const QList<RenderedItem>& items = r.pages[p].items;
        const QList<RenderedItem>& expected = plain.pages[p].items;
        QCOMPARE(items.size(), expected.size());
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items[i].rect, expected[i].rect);
            QCOMPARE(items[i].line, expected[i].line);
            QCOMPARE(items[i].text, expected[i].text);
        }
    }
}

QTEST_MAIN(ReportRenderTest)
#include "report_render_test.moc"
