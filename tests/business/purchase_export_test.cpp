// Export of the purchase list in each of the five formats, of all rows and of the selected
// ones, read back from the files.

#include "business/Cgjh_frm.h"
#include "platform/grid/data_grid.h"
#include "platform/widgets/file_dialog.h"
#include "platform/widgets/lb_button.h"
#include "tests/business/support/purchase_support.h"
#include "tests/support/app_fixture.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using testing::AppFixture;
using testing::PurchaseLine;

namespace {

// The system's Python, which has Debian's xlrd, ahead of any other on the PATH.
QString python3() {
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                             : QStringLiteral("python3");
}

// The text of an exported file as a test can search it: the cells of a workbook (through
// xlrd) one row a line, tab-separated; any other format as its UTF-8 text.
QString readExport(const QString& file, int format) {
    if (format != 1) {
        QFile in(file);
        if (!in.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(in.readAll());
    }
    QProcess python;
    python.start(
        python3(),
        {QStringLiteral("-c"),
         QStringLiteral("import sys, xlrd\n"
                        "book = xlrd.open_workbook(sys.argv[1])\n"
                        "for sheet in book.sheets():\n"
                        "    for r in range(sheet.nrows):\n"
                        "        print('\\t'.join(str(v) for v in sheet.row_values(r)))\n"),
         file});
    python.waitForFinished(30000);
    if (python.exitCode() != 0)
        return QStringLiteral("xlrd failed: ") + QString::fromUtf8(python.readAllStandardError());
    return QString::fromUtf8(python.readAllStandardOutput());
}

bool xlrdAvailable() {
    QProcess python;
    python.start(python3(), {QStringLiteral("-c"), QStringLiteral("import xlrd")});
    return python.waitForFinished(30000) && python.exitStatus() == QProcess::NormalExit &&
           python.exitCode() == 0;
}

} // namespace

class PurchaseExportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void exportEachFormat_data();
    void exportEachFormat();
};

void PurchaseExportTest::exportEachFormat_data() {
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<bool>("selectedOnly");
    const struct {
        int format;
        const char* suffix;
    } formats[] = {{1, "xls"}, {2, "txt"}, {3, "csv"}, {4, "htm"}, {5, "rtf"}};
    for (const auto& f : formats) {
        for (bool selected : {false, true}) {
            const QByteArray name = QByteArray(f.suffix) + (selected ? " selected" : " all");
            QTest::newRow(name.constData())
                << f.format << QString::fromLatin1(f.suffix) << selected;
        }
    }
}

void PurchaseExportTest::exportEachFormat() {
    QFETCH(int, format);
    QFETCH(QString, suffix);
    QFETCH(bool, selectedOnly);
    if (format == 1 && !xlrdAvailable())
        QSKIP("python3-xlrd is not installed");

    AppFixture app;
    insertPurchaseLine(app, PurchaseLine{.number = "1", .name = "苏打饼干", .code = "EXPA01"});
    insertPurchaseLine(app, PurchaseLine{.number = "2", .name = "奥尼尔饼", .code = "EXPB02"});
    insertPurchaseLine(
        app, PurchaseLine{.number = "3", .name = "花生", .code = "EXPC03", .quantity = 7.5});
    TFrm_Cgjh* screen = testing::openPurchaseScreen(app);
    auto* grid = screen->findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
    QCOMPARE(grid->rowCount(), 3);
    QStringList expected = {QStringLiteral("EXPA01"),   QStringLiteral("EXPB02"),
                            QStringLiteral("EXPC03"),   QStringLiteral("苏打饼干"),
                            QStringLiteral("奥尼尔饼"), QStringLiteral("花生")};
    QStringList absent;
    if (selectedOnly) {
        // Rows are listed newest number first: EXPC03, EXPB02, EXPA01.
        grid->setRowSelected(0, true);
        grid->setRowSelected(2, true);
        QCOMPARE(grid->selectedCount(), 2);
        expected = {QStringLiteral("EXPA01"), QStringLiteral("EXPC03"), QStringLiteral("苏打饼干"),
                    QStringLiteral("花生")};
        absent = {QStringLiteral("EXPB02"), QStringLiteral("奥尼尔饼")};
    }
    if (format == 5) {
        // RTF writes Chinese as \uN escapes; compare the codes only.
        expected = expected.filter(QRegularExpression(QStringLiteral("^EXP")));
        absent = absent.filter(QRegularExpression(QStringLiteral("^EXP")));
    }

    const QString file = app.home() + QStringLiteral("/export.") + suffix;
    FileDialog::setNextAnswer(file, format);
    app.boxes().clear();
    screen->findChild<LbButton*>(QStringLiteral("LbButton7"))->click();
    QCOMPARE(app.boxes().texts(), QStringList{QStringLiteral("导出成功!")});

    const QString text = readExport(file, format);
    QVERIFY2(!text.isEmpty(), qPrintable(file));
    for (const QString& code : expected)
        QVERIFY2(text.contains(code), qPrintable(code + QStringLiteral(" missing in ") + suffix));
    for (const QString& code : absent)
        QVERIFY2(!text.contains(code), qPrintable(code + QStringLiteral(" exported in ") + suffix));
    // Hidden columns stay out of the file: the line numbers are not visible in the grid.
    QVERIFY(!text.contains(QStringLiteral("编号")));
    if (format == 5) {
        // RTF writes Chinese as \uN escapes: 商 is U+5546 = 21830.
        QVERIFY(text.contains(QStringLiteral("\\u21830")));
    } else {
        QVERIFY(text.contains(QStringLiteral("商品名称")));
    }
    if (format == 1) {
        // Numbers stay numbers in the workbook: 7.5 is read back as a float.
        QVERIFY(text.contains(QStringLiteral("7.5")));
        const int dataRows = int(text.trimmed().split(QLatin1Char('\n')).size()) - 1;
        QCOMPARE(dataRows, selectedOnly ? 2 : 3);
    }
    if (format == 3) {
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(raw.read(3) == QByteArray("\xEF\xBB\xBF"));
    }
    // One log row per export.
    QCOMPARE(
        app.count(QStringLiteral("tab_rz"), QStringLiteral("操作内容 like '%导出表格数据成功%'")),
        1);
}

QTEST_MAIN(PurchaseExportTest)
#include "purchase_export_test.moc"
