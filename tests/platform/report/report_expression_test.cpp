#include "platform/report/report_engine.h"
#include "platform/report/report_expression.h"

#include "report_test_data.h"

#include <QtTest>

using namespace report;

class ReportExpressionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void expressionInText_data();
    void expressionInText();
    void userFunctionGetsEvaluatedArguments();
    void formatFloat_data();
    void formatFloat();
};

namespace {

// Renders one text object in the master band over two purchase lines (amounts 10 and 20 …)
// and returns what the first row printed, with the engine's errors.
QString printFirstRow(const QString& text, QStringList* errors,
                      const ReportDataSet& main = report_test::purchaseLines(2)) {
    ReportLayout layout;
    ReportBand* band = layout.addBand(BandType::MasterData, 10);
    ReportObject o;
    o.text = text;
    band->objects.append(o);
    ReportEngine engine;
    engine.setLayout(layout);
    engine.setMainData(main);
    engine.addDataSet(QStringLiteral("company"), report_test::companyRow());
    engine.registerFunction(QStringLiteral("NtoC"), report_test::capitalsOf);
    engine.registerFunction(QStringLiteral("getkhaddress"), report_test::addressOf);
    const RenderedReport rendered = engine.render();
    *errors = engine.errors();
    return rendered.pages.value(0).items.value(0).text;
}

} // namespace

void ReportExpressionTest::expressionInText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("error"); // a part of the expected error, empty for none

    // Fields: main data first, then the extra data sets.
    QTest::newRow("main field") << "[商品名称]"
                                << "螺丝1号"
                                << "";
    QTest::newRow("literal around") << "名称:[商品名称]/[规格]"
                                    << "名称:螺丝1号/M4"
                                    << "";
    QTest::newRow("company field") << "[公司名]"
                                   << "华联五金商行"
                                   << "";
    QTest::newRow("qualified field") << "[company.地址]"
                                     << "杭州市文三路100号"
                                     << "";
    QTest::newRow("main qualified") << "[main.编号]"
                                    << "1000"
                                    << "";
    QTest::newRow("numbers print plainly") << "[合计]|[进货单价]"
                                           << "10|10"
                                           << "";
    // Arithmetic and precedence.
    QTest::newRow("precedence") << "[1 + 2 * 3]"
                                << "7"
                                << "";
    QTest::newRow("parentheses") << "[(1 + 2) * 3]"
                                 << "9"
                                 << "";
    QTest::newRow("left assoc") << "[10 - 4 - 3]|[12 / 2 / 3]"
                                << "3|2"
                                << "";
    QTest::newRow("decimals") << "[10 / 4]"
                              << "2.5"
                              << "";
    QTest::newRow("unary minus") << "[-进货数量 + 5]"
                                 << "4"
                                 << "";
    QTest::newRow("fields multiply") << "[进货单价 * 进货数量 * 1.5]"
                                     << "15"
                                     << "";
    QTest::newRow("numeric text") << "['2' * 3]"
                                  << "6"
                                  << "";
    // Concatenation.
    QTest::newRow("plus with text") << "['单价' + 进货单价 + '元']"
                                    << "单价10元"
                                    << "";
    QTest::newRow("ampersand") << "[1 & 2]"
                               << "12"
                               << "";
    QTest::newRow("doubled quote") << "['it''s']"
                                   << "it's"
                                   << "";
    QTest::newRow("bracket in quotes") << "['a]b' & \"c\"]"
                                       << "a]bc"
                                       << "";
    QTest::newRow("literal bracket") << "数量[[个]"
                                     << "数量[个]"
                                     << "";
    // Aggregates over every row in the master band; nesting is refused.
    QTest::newRow("sum") << "[SUM(合计)]"
                         << "30"
                         << "";
    QTest::newRow("sum of expression") << "[sum(进货单价 * 进货数量 + 1)]"
                                       << "32"
                                       << "";
    QTest::newRow("count, avg, min, max") << "[COUNT()] [AVG(合计)] [MIN(合计)] [MAX(合计)]"
                                          << "2 15 10 20"
                                          << "";
    QTest::newRow("row after sum") << "[SUM(合计)] [商品名称]"
                                   << "30 螺丝1号"
                                   << "";
    // Built-in variables.
    QTest::newRow("pages") << "[PAGE#]/[TOTALPAGES]"
                           << "1/1"
                           << "";
    QTest::newRow("line number") << "[LINE#]"
                                 << "1"
                                 << "";
    QTest::newRow("date") << "[DATE]" << QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))
                          << "";
    QTest::newRow("format date") << "[FormatDateTime('yyyy年MM月dd日', 进货日期)]"
                                 << "2007年08月15日"
                                 << "";
    QTest::newRow("trim") << "[Trim('  x ')]"
                          << "x"
                          << "";
    // User functions, in any letter case.
    QTest::newRow("user function") << "[ntoc(1005)]"
                                   << "壹仟零伍圆整"
                                   << "";
    QTest::newRow("user function of sum") << "[NtoC(SUM(合计) + 30)]"
                                          << "陆拾圆整"
                                          << "";
    // Errors: shown in the text, reported, never a crash.
    QTest::newRow("unknown function") << "[nosuch(1)]"
                                      << "#错误: 未知函数 \"nosuch\"#"
                                      << "未知函数 \"nosuch\"";
    QTest::newRow("unknown field") << "x[不存在]"
                                   << "x#错误: 未知字段 \"不存在\"#"
                                   << "未知字段 \"不存在\"";
    QTest::newRow("unknown set") << "[nobody.公司名]"
                                 << "#错误: 未知字段 \"nobody.公司名\"#"
                                 << "nobody.公司名";
    QTest::newRow("division by zero") << "[1 / (合计 - 10)]"
                                      << "#错误: 除数为零#"
                                      << "除数为零";
    QTest::newRow("not a number") << "[商品名称 * 2]"
                                  << "#错误: \"螺丝1号\" 不是数字#"
                                  << "不是数字";
    QTest::newRow("nested sum") << "[SUM(SUM(合计))]"
                                << "#错误: SUM 不能嵌套在另一个合计函数中#"
                                << "不能嵌套";
    QTest::newRow("wrong arity") << "[FormatFloat('0')]"
                                 << "#错误: 函数 FormatFloat 需要 2 个参数#"
                                 << "需要 2 个参数";
    QTest::newRow("missing operand") << "a[1 +]b"
                                     << "a#错误: 表达式 [1 +] 有误: 表达式不完整#b"
                                     << "表达式不完整";
    QTest::newRow("unclosed paren") << "[(1 + 2]"
                                    << "#错误: 表达式 [(1 + 2] 有误: 缺少 \")\"#"
                                    << "缺少";
    QTest::newRow("trailing token") << "[1 2]"
                                    << "#错误: 表达式 [1 2] 有误: 第 3 个字符处多余的 \"2\"#"
                                    << "多余";
    QTest::newRow("unterminated string") << "['abc]"
                                         << "['abc]"
                                         << "没有对应的 ]";
    QTest::newRow("unclosed bracket") << "合计[SUM(合计)"
                                      << "合计[SUM(合计)"
                                      << "没有对应的 ]";
    QTest::newRow("bad character") << "[1 ; 2]"
                                   << ""
                                   << "无法识别";
}

void ReportExpressionTest::expressionInText() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(QString, error);
    QStringList errors;
    const QString printed = printFirstRow(text, &errors);
    if (error.isEmpty()) {
        QCOMPARE(printed, expected);
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(QLatin1Char('\n'))));
    } else {
        if (!expected.isEmpty())
            QCOMPARE(printed, expected);
        else
            QVERIFY2(printed.startsWith(QStringLiteral("#错误: ")), qPrintable(printed));
        QVERIFY2(errors.join(QLatin1Char('\n')).contains(error),
                 qPrintable(errors.join(QLatin1Char('\n'))));
    }
}

void ReportExpressionTest::userFunctionGetsEvaluatedArguments() {
    ReportLayout layout;
    ReportObject o;
    o.text = QStringLiteral("[getkhaddress(供货商 & '', 1 + 1, SUM(合计))]");
    layout.addBand(BandType::ReportSummary, 10)->objects.append(o);
    QVariantList seen;
    ReportEngine engine;
    engine.setLayout(layout);
    engine.setMainData(report_test::purchaseLines(3));
    engine.registerFunction(QStringLiteral("GetKhAddress"), [&](const QVariantList& args) {
        seen = args;
        return QVariant(QStringLiteral("ok"));
    });
    const RenderedReport rendered = engine.render();
    QCOMPARE(rendered.pages.value(0).items.value(0).text, QStringLiteral("ok"));
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen[0].toString(), QStringLiteral("大发五金厂"));
    QCOMPARE(seen[1].toDouble(), 2.0);
    QCOMPARE(seen[2].toDouble(), 60.0);
}

void ReportExpressionTest::formatFloat_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("two decimals") << "0.00" << 1005.0 << "1005.00";
    QTest::newRow("rounds") << "0.00" << 2.675001 << "2.68";
    QTest::newRow("grouping") << "#,##0.00" << 1234567.891 << "1,234,567.89";
    QTest::newRow("optional decimals") << "0.##" << 2.5 << "2.5";
    QTest::newRow("optional none") << "0.##" << 3.0 << "3";
    QTest::newRow("no decimals") << "0" << 2.5 << "3";
    QTest::newRow("negative") << "0.00" << -12.3 << "-12.30";
    QTest::newRow("negative zero") << "0.00" << -0.001 << "0.00";
    QTest::newRow("prefix suffix") << "￥0.00元" << 5.0 << "￥5.00元";
    QTest::newRow("leading zeros") << "000" << 7.0 << "007";
    QTest::newRow("small grouping") << "#,##0" << 999.0 << "999";
}

void ReportExpressionTest::formatFloat() {
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(report::formatFloat(pattern, value), expected);
}

QTEST_MAIN(ReportExpressionTest)
#include "report_expression_test.moc"
