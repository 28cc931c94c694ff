#pragma once

// Report expressions.
//
// A text object holds literal text with expressions in square brackets:
//   "合计: [FormatFloat('0.00', SUM(合计))] 元"
// A literal "[" is written "[[" outside brackets; a "]" inside quotes does not end the expression.
//
// Grammar (recursive descent):
//   expression := term { ("+" | "-" | "&") term }
//   term       := unary { ("*" | "/") unary }
//   unary      := "-" unary | primary
//   primary    := number | string | name | name "(" [expression {"," expression}] ")"
//               | "(" expression ")"
//   number     := digits ["." digits]
//   string     := 'text' or "text"; a doubled quote inside stands for one quote
//   name       := letters, digits, "_", "#" and "." (a name starts with a letter or "_")
//
// Names:
//   PAGE#, TOTALPAGES   the page number and the number of pages
//   DATE, TIME          today's date (yyyy-MM-dd) and the time (hh:mm:ss)
//   LINE#               the number of the current row of the main data, from 1
//   field               a field of the main data's current row; when the main data has no such
//                       column, the field of the first row of the extra data sets, in the order
//                       they were added
//   set.field           a field of the extra data set "set" (first row), or of the main data
//                       when set is "main"
// Operators: + adds when both sides are numbers (or empty) and concatenates otherwise; &
// always concatenates; - * / work on numbers (a text that reads as a number counts as one, an
// empty value as 0). Division by zero is an error.
// Functions (names in any letter case):
//   SUM(x)     the sum of x over the rows in scope: the rows of the current group in a group
//              header or footer, every row elsewhere
//   COUNT()    the number of rows in scope; AVG(x), MIN(x), MAX(x) likewise
//   FormatFloat(fmt, x)     x with the pattern fmt: '0.00' two decimals, '#,##0.00' with
//                           thousands separators, '0.##' up to two decimals; text before and
//                           after the pattern is kept ('￥0.00元')
//   FormatDateTime(fmt, d)  a date in Qt's date format ('yyyy年MM月dd日')
//   Trim(s), Str(x)         trimmed text; a value as text
//   any function registered by the application, called with its evaluated arguments
// An unknown name or function is an error; the text object then shows the error text.

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

namespace report {

using ReportFunction = std::function<QVariant(const QVariantList&)>;

struct ExprNode {
    enum class Kind { Literal, Name, Negate, Binary, Call };
    Kind kind = Kind::Literal;
    QVariant value;   // Literal
    QString name;     // Name, Call
    QChar op;         // Binary
    int position = 0; // offset in the source text
    std::vector<std::unique_ptr<ExprNode>> args;
};

// Parses one expression (without brackets). Returns null and sets *error on failure.
std::unique_ptr<ExprNode> parseExpression(const QString& text, QString* error);

// A text with bracketed expressions, parsed once.
class TextTemplate {
public:
    struct Segment {
        QString literal;
        std::shared_ptr<const ExprNode> expr; // null for a literal segment
        QString source;
    };

    static TextTemplate parse(const QString& text);
    const QList<Segment>& segments() const { return m_segments; }
    bool hasExpressions() const { return m_hasExpressions; }
    // The text of a template without expressions ("[[" already turned into "[").
    const QString& plainText() const { return m_plain; }
    QString error() const { return m_error; } // a syntax error, if any

private:
    QList<Segment> m_segments;
    bool m_hasExpressions = false;
    QString m_plain;
    QString m_error;
};

// What an expression can see. Implemented by the renderer; simple enough to fake in tests.
class EvalScope {
public:
    virtual ~EvalScope() = default;
    // A variable or field of the current row; false when unknown.
    virtual bool lookup(const QString& name, QVariant* value) const = 0;
    // The rows an aggregate runs over, and switching the current row while it runs.
    virtual int scopeFirstRow() const = 0;
    virtual int scopeRowCount() const = 0;
    virtual int currentRow() const = 0;
    virtual void setCurrentRow(int row) = 0;
    // A registered function by name (any letter case), or null.
    virtual const ReportFunction* function(const QString& name) const = 0;
};

// Evaluates a parsed expression; on error returns an invalid QVariant and sets *error.
QVariant evaluate(const ExprNode& node, EvalScope& scope, QString* error);
// Evaluates a template to its text; errors are written into the text as "#错误: ...#" and
// appended to *errors.
QString evaluateTemplate(const TextTemplate& tmpl, EvalScope& scope, QStringList* errors);

// How a value is printed: numbers without needless decimals, dates as yyyy-MM-dd.
QString displayText(const QVariant& value);
QString formatFloat(const QString& pattern, double value);
// A value as a number: numbers, empty values (0) and texts that read as a number.
bool toNumber(const QVariant& value, double* result);

} // namespace report
