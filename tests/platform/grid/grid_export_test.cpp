#include "platform/grid/data_grid.h"
#include "platform/grid/grid_export.h"
#include "platform/grid/xls_writer.h"

#include "grid_fixture.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Reads a workbook with xlrd; every sheet as {name, rows: [[{t: type, v: value}]]}.
const char* const kReadWorkbook = R"(
import json, sys, xlrd
book = xlrd.open_workbook(sys.argv[1])
out = []
for s in book.sheets():
    rows = [[{"t": c.ctype, "v": c.value} for c in s.row(r)] for r in range(s.nrows)]
    out.append({"name": s.name, "rows": rows})
sys.stdout.write(json.dumps(out))
)";

QString pythonWithXlrd() {
    for (const QString& candidate :
         {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess p;
        p.start(candidate, {QStringLiteral("-c"), QStringLiteral("import xlrd")});
        if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit &&
            p.exitCode() == 0) {
            return candidate;
        }
    }
    return QString();
}

QJsonArray readWorkbook(const QString& python, const QString& fileName) {
    QProcess p;
    p.start(python, {QStringLiteral("-c"), QString::fromUtf8(kReadWorkbook), fileName});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) {
        qWarning().noquote() << p.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).array();
}

QByteArray readAll(const QString& fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text of an RTF file with its \uN? escapes turned back into characters.
QString rtfUnescaped(const QByteArray& rtf) {
    QString text = QString::fromLatin1(rtf);
    static const QRegularExpression escape(QStringLiteral("\\\\u(-?\\d+)\\?"));
    QString out;
    qsizetype at = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(at, m.capturedStart() - at);
        out += QChar(static_cast<char16_t>(static_cast<qint16>(m.captured(1).toInt())));
        at = m.capturedEnd();
    }
    return out + text.mid(at);
}

constexpr int kText = 1;
constexpr int kNumber = 2;
constexpr int kEmpty = 0;

// The rows the exporters are checked on: Chinese, numbers, nulls, characters that formats
// must escape, a hidden column and a two-level title.
struct ExportGrid {
    MemoryDatabase database;
    DataGrid grid;

    ExportGrid() {
        database.exec(QStringLiteral(
            "create table t(编号 text, 商品名称 text, 单价 real, 数量 integer, 备注 text)"));
        database.exec(
            QStringLiteral("insert into t values "
                           "('200708150000001', '可口可乐', 2.5, 4, 'a,b'), "
                           "('200708150000002', '雪碧 \"大瓶\"', 0.3333, null, '行一\n行二'), "
                           "('200708150000003', '<b>&x</b>', null, -7, null)"));
        grid.setColumns({GridColumn(QStringLiteral("编号")).hidden(),
                         GridColumn(QStringLiteral("商品名称")),
                         GridColumn(QStringLiteral("单价"), QStringLiteral("进货|单价")),
                         GridColumn(QStringLiteral("数量"), QStringLiteral("进货|数量")),
                         GridColumn(QStringLiteral("备注"))});
        QSqlQuery q = database.select(QStringLiteral("select * from t order by 编号"));
        grid.load(q);
    }
};

} // namespace

class GridExportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void workbookReadsBackWithTitlesTextsAndNumbers();
    void selectedRowsOnly_data();
    void selectedRowsOnly();
    void workbookContinuesOnFurtherSheetsAndSplitsLongStrings();
    void textFormats_data();
    void textFormats();
    void unwritableFileThrows_data();
    void unwritableFileThrows();
    void filterIndexChoosesFormat();

private:
    QString m_python;
    QTemporaryDir m_dir;
};

void GridExportTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_python = pythonWithXlrd();
}

void GridExportTest::workbookReadsBackWithTitlesTextsAndNumbers() {
    if (m_python.isEmpty()) {
        QSKIP("python3 with xlrd is not installed");
    }
    ExportGrid g;
    g.grid.sortBy(QStringLiteral("编号"), true); // written in grid order
    const QString file = m_dir.filePath(QStringLiteral("导出.xls"));
    exportGrid(g.grid, file, ExportFormat::Excel);
    QVERIFY(readAll(file).startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")));

    const QJsonArray sheets = readWorkbook(m_python, file);
    QCOMPARE(sheets.size(), 1);
    const QJsonArray rows = sheets[0].toObject()[QStringLiteral("rows")].toArray();
    QCOMPARE(rows.size(), 4);
    auto cell = [&](int r, int c) { return rows[r].toArray()[c].toObject(); };
    const QStringList titles{QStringLiteral("商品名称"), QStringLiteral("进货|单价"),
                             QStringLiteral("进货|数量"), QStringLiteral("备注")};
    QCOMPARE(rows[0].toArray().size(), titles.size()); // the hidden 编号 is not written
    for (int c = 0; c < titles.size(); ++c) {
        QCOMPARE(cell(0, c)[QStringLiteral("v")].toString(), titles[c]);
    }
    QCOMPARE(cell(1, 0)[QStringLiteral("v")].toString(), QStringLiteral("<b>&x</b>"));
    QCOMPARE(cell(1, 1)[QStringLiteral("t")].toInt(), kEmpty);
    QCOMPARE(cell(1, 2)[QStringLiteral("t")].toInt(), kNumber);
    QCOMPARE(cell(1, 2)[QStringLiteral("v")].toDouble(), -7.0);
    QCOMPARE(cell(2, 0)[QStringLiteral("v")].toString(), QStringLiteral("雪碧 \"大瓶\""));
    QCOMPARE(cell(2, 1)[QStringLiteral("v")].toDouble(), 0.3333); // whole, not as shown
    QCOMPARE(cell(2, 3)[QStringLiteral("v")].toString(), QStringLiteral("行一\n行二"));
    QCOMPARE(cell(3, 0)[QStringLiteral("v")].toString(), QStringLiteral("可口可乐"));
    QCOMPARE(cell(3, 1)[QStringLiteral("t")].toInt(), kNumber);
    QCOMPARE(cell(3, 1)[QStringLiteral("v")].toDouble(), 2.5);
    QCOMPARE(cell(3, 3)[QStringLiteral("t")].toInt(), kText);
}

void GridExportTest::selectedRowsOnly_data() {
    QTest::addColumn<ExportFormat>("format");
    QTest::newRow("xls") << ExportFormat::Excel;
    QTest::newRow("text") << ExportFormat::Text;
    QTest::newRow("csv") << ExportFormat::Csv;
    QTest::newRow("html") << ExportFormat::Html;
    QTest::newRow("rtf") << ExportFormat::Rtf;
}

void GridExportTest::selectedRowsOnly() {
    QFETCH(ExportFormat, format);
    ExportGrid g;
    g.grid.setRowSelected(2, true);
    g.grid.setRowSelected(0, true);
    const QString file = m_dir.filePath(QStringLiteral("selected.%1").arg(int(format)));
    exportGrid(g.grid, file, format, ExportScope::SelectedOrAll);

    QString content;
    if (format == ExportFormat::Excel) {
        if (m_python.isEmpty()) {
            QSKIP("python3 with xlrd is not installed");
        }
        const QJsonArray rows =
            readWorkbook(m_python, file)[0].toObject()[QStringLiteral("rows")].toArray();
        QCOMPARE(rows.size(), 3);
        for (const auto& row : rows) {
            content +=
                row.toArray()[0].toObject()[QStringLiteral("v")].toString() + QLatin1Char('\n');
        }
    } else if (format == ExportFormat::Rtf) {
        content = rtfUnescaped(readAll(file));
    } else {
        content = QString::fromUtf8(readAll(file));
    }
    QVERIFY(content.contains(QStringLiteral("可口可乐")));
    QVERIFY(content.contains(QStringLiteral("&amp;x")) || content.contains(QStringLiteral("&x")));
    QVERIFY(!content.contains(QStringLiteral("大瓶"))); // the unselected row

    // SelectedRows with nothing selected writes titles only; SelectedOrAll writes every row.
    g.grid.clearSelection();
    exportGrid(g.grid, file, format, ExportScope::SelectedOrAll);
    auto written = [&] {
        return format == ExportFormat::Rtf ? rtfUnescaped(readAll(file))
                                           : QString::fromUtf8(readAll(file));
    };
    if (format != ExportFormat::Excel) {
        QVERIFY(written().contains(QStringLiteral("大瓶")));
        exportGrid(g.grid, file, format, ExportScope::SelectedRows);
        const QString titlesOnly = written();
        QVERIFY(titlesOnly.contains(QStringLiteral("商品名称")));
        QVERIFY(!titlesOnly.contains(QStringLiteral("可口可乐")));
    }
}

void GridExportTest::workbookContinuesOnFurtherSheetsAndSplitsLongStrings() {
    if (m_python.isEmpty()) {
        QSKIP("python3 with xlrd is not installed");
    }
    // 70,000 rows: one full sheet of 65,535 rows and 4,465 more; unique texts make a shared
    // string table of several MB (many CONTINUE records) and the file large enough to need
    // more FAT sectors than the header lists.
    const int rows = 70000;
    const QString longWide = QString(9000, QChar(0x4E2D)) + QStringLiteral("尾");
    const QString longLatin = QString(20000, QLatin1Char('x')) + QStringLiteral("end");
    ExportTable table;
    table.titles =
        QStringList{QStringLiteral("名称"), QStringLiteral("数量"), QStringLiteral("说明"),
                    QStringLiteral("a"),    QStringLiteral("b"),    QStringLiteral("c"),
                    QStringLiteral("d"),    QStringLiteral("e")};
    table.rowCount = rows;
    table.value = [](int r, int c) -> QVariant {
        return c == 1 || c >= 3 ? QVariant(double(r) + c / 10.0) : QVariant();
    };
    table.text = [&](int r, int c) -> QString {
        if (c == 0) {
            return QStringLiteral("商品%1").arg(r);
        }
        if (c == 2) {
            return r == 1 ? longWide : r == 65536 ? longLatin : QStringLiteral("说明");
        }
        return QString();
    };
    const QString file = m_dir.filePath(QStringLiteral("big.xls"));
    writeExport(table, file, ExportFormat::Excel);
    QVERIFY(QFile(file).size() > 109 * 128 * 512);

    const QJsonArray sheets = readWorkbook(m_python, file);
    QCOMPARE(sheets.size(), 2);
    const QJsonArray first = sheets[0].toObject()[QStringLiteral("rows")].toArray();
    const QJsonArray second = sheets[1].toObject()[QStringLiteral("rows")].toArray();
    QCOMPARE(sheets[1].toObject()[QStringLiteral("name")].toString(), QStringLiteral("Sheet2"));
    QCOMPARE(first.size(), kXlsDataRowsPerSheet + 1);
    QCOMPARE(second.size(), rows - kXlsDataRowsPerSheet + 1);
    auto value = [](const QJsonArray& sheet, int r, int c) {
        return sheet[r].toArray()[c].toObject()[QStringLiteral("v")];
    };
    QCOMPARE(value(second, 0, 0).toString(), QStringLiteral("名称")); // titles repeated
    QCOMPARE(value(first, 1, 0).toString(), QStringLiteral("商品0"));
    QCOMPARE(value(first, 65535, 0).toString(), QStringLiteral("商品65534"));
    QCOMPARE(value(second, 1, 0).toString(), QStringLiteral("商品65535"));
    QCOMPARE(value(second, 4465, 0).toString(), QStringLiteral("商品69999"));
    QCOMPARE(value(second, 4465, 7).toDouble(), 69999.7);
    QCOMPARE(value(first, 2, 2).toString(), longWide);
    QCOMPARE(value(second, 2, 2).toString(), longLatin);
    QCOMPARE(value(second, 3, 2).toString(), QStringLiteral("说明"));
}

void GridExportTest::textFormats_data() {
    QTest::addColumn<ExportFormat>("format");
    QTest::addColumn<QByteArray>("expected"); // whole file, or pieces separated by "…"

    QTest::newRow("text: tabs, UTF-8, line breaks flattened")
        << ExportFormat::Text
        << QByteArray("商品名称\t进货|单价\t进货|数量\t备注\r\n"
                      "可口可乐\t2.5\t4\ta,b\r\n"
                      "雪碧 \"大瓶\"\t0.3333\t\t行一 行二\r\n"
                      "<b>&x</b>\t\t-7\t\r\n");
    QTest::newRow("csv: BOM and RFC 4180 quoting")
        << ExportFormat::Csv
        << QByteArray("\xEF\xBB\xBF商品名称,进货|单价,进货|数量,备注\r\n"
                      "可口可乐,2.5,4,\"a,b\"\r\n"
                      "\"雪碧 \"\"大瓶\"\"\",0.3333,,\"行一\n行二\"\r\n"
                      "<b>&x</b>,,-7,\r\n");
    QTest::newRow("html: UTF-8 table, escaped")
        << ExportFormat::Html
        << QByteArray("<meta charset=\"utf-8\">…<th>商品名称</th><th>进货|单价</th>…"
                      "<td>可口可乐</td><td align=\"right\">2.5</td>…"
                      "<td>雪碧 &quot;大瓶&quot;</td>…<td>行一<br>行二</td>…"
                      "<td>&lt;b&gt;&amp;x&lt;/b&gt;</td><td></td><td align=\"right\">-7</td>…"
                      "</table>");
    QTest::newRow("rtf: table with Unicode escapes")
        << ExportFormat::Rtf
        << QByteArray("{\\rtf1…\\trowd…\\cellx…\\b \\u21830?\\u21697?\\u21517?\\u31216?\\cell "
                      "…\\u21487?\\u21475?\\u21487?\\u20048?\\cell \\qr 2.5\\cell \\qr 4\\cell "
                      "\\ql a,b\\cell \\row…\\u-30644?\\u19968?\\line \\u-30644?\\u20108?…"
                      "<b>&x</b>…\\row\n\\pard\n}\n");
}

void GridExportTest::textFormats() {
    QFETCH(ExportFormat, format);
    QFETCH(QByteArray, expected);
    ExportGrid g;
    const QString file = m_dir.filePath(QStringLiteral("all.%1").arg(int(format)));
    exportGrid(g.grid, file, format, ExportScope::AllRows);
    const QByteArray written = readAll(file);
    const QByteArray gap("…");
    if (!expected.contains(gap)) {
        QCOMPARE(written, expected);
        return;
    }
    // Pieces in order.
    qsizetype at = 0;
    for (const QByteArray& piece : expected.split('\xE2')) {
        const QByteArray text = piece.startsWith("\x80\xA6") ? piece.mid(2) : piece;
        const qsizetype found = written.indexOf(text, at);
        if (found < 0) {
            qWarning().noquote() << QString::fromUtf8(written);
        }
        QVERIFY2(found >= 0, text.constData());
        at = found + text.size();
    }
    if (format == ExportFormat::Rtf) {
        for (char c : written) {
            QVERIFY2(static_cast<unsigned char>(c) < 0x80, "RTF must be 7-bit");
        }
    }
}

void GridExportTest::unwritableFileThrows_data() {
    selectedRowsOnly_data();
}

void GridExportTest::unwritableFileThrows() {
    QFETCH(ExportFormat, format);
    ExportGrid g;
    QVERIFY_THROWS_EXCEPTION(
        GridExportError,
        exportGrid(g.grid, m_dir.filePath(QStringLiteral("no/such/dir/x")), format));
}

void GridExportTest::filterIndexChoosesFormat() {
    const QStringList parts = exportFilters().split(QLatin1Char('|'));
    QCOMPARE(parts.size(), 10);
    QCOMPARE(parts[1], QStringLiteral("*.XLS"));
    QCOMPARE(parts[9], QStringLiteral("*.RTF"));
    QCOMPARE(exportFormatFromFilterIndex(1), std::optional(ExportFormat::Excel));
    QCOMPARE(exportFormatFromFilterIndex(3), std::optional(ExportFormat::Csv));
    QCOMPARE(exportFormatFromFilterIndex(5), std::optional(ExportFormat::Rtf));
    QVERIFY(!exportFormatFromFilterIndex(0));
    QVERIFY(!exportFormatFromFilterIndex(6));
}

QTEST_MAIN(GridExportTest)
#include "grid_export_test.moc"
