#include "platform/report/report_expression.h"
#include "platform/widgets/number_text.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace report {

namespace {

struct Token {
    enum class Type { Number, String, Name, Op, End };
    Type type = Type::End;
    QString text;
    double number = 0;
    int position = 0;
};

struct SyntaxError {
    QString message;
};

bool isNameStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_');
}

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#') ||
           c == QLatin1Char('.');
}

std::vector<Token> tokenize(const QString& s) {
    std::vector<Token> tokens;
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
        const QChar c = s.at(i);
        if (c.isSpace()) {
            ++i;
            continue;
        }
        Token t;
        t.position = i;
        if (c.isDigit() && c.unicode() < 128) {
            int j = i;
            while (j < n && s.at(j).isDigit())
                ++j;
            if (j < n && s.at(j) == QLatin1Char('.')) {
                ++j;
                if (j >= n || !s.at(j).isDigit())
                    throw SyntaxError{QStringLiteral("第 %1 个字符处的数字不完整").arg(i + 1)};
                while (j < n && s.at(j).isDigit())
                    ++j;
            }
            t.type = Token::Type::Number;
            t.text = s.mid(i, j - i);
            t.number = t.text.toDouble();
            i = j;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString text;
            int j = i + 1;
            bool closed = false;
            while (j < n) {
                if (s.at(j) == c) {
                    if (j + 1 < n && s.at(j + 1) == c) {
                        text += c;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    ++j;
                    break;
                }
                text += s.at(j++);
            }
            if (!closed)
                throw SyntaxError{QStringLiteral("第 %1 个字符开始的字符串没有结束").arg(i + 1)};
            t.type = Token::Type::String;
            t.text = text;
            i = j;
        } else if (isNameStart(c)) {
            int j = i + 1;
            while (j < n && isNameChar(s.at(j)))
                ++j;
            t.type = Token::Type::Name;
            t.text = s.mid(i, j - i);
            i = j;
        } else if (QStringLiteral("+-*/&(),").contains(c)) {
            t.type = Token::Type::Op;
            t.text = c;
            ++i;
        } else {
            throw SyntaxError{QStringLiteral("第 %1 个字符 '%2' 无法识别").arg(i + 1).arg(c)};
        }
        tokens.push_back(t);
    }
    Token end;
    end.position = n;
    tokens.push_back(end);
    return tokens;
}

class Parser {
public:
    explicit Parser(std::vector<Token> tokens)
        : m_tokens(std::move(tokens)) {}

    std::unique_ptr<ExprNode> parseAll() {
        auto node = expression();
        if (peek().type != Token::Type::End)
            throw SyntaxError{QStringLiteral("第 %1 个字符处多余的 \"%2\"")
                                  .arg(peek().position + 1)
                                  .arg(peek().text)};
        return node;
    }

private:
    const Token& peek() const { return m_tokens[m_pos]; }
    bool isOp(const char* op) const {
        return peek().type == Token::Type::Op && peek().text == QLatin1String(op);
    }
    Token take() { return m_tokens[m_pos++]; }

    std::unique_ptr<ExprNode> binary(QChar op, std::unique_ptr<ExprNode> l,
                                     std::unique_ptr<ExprNode> r, int pos) {
        auto node = std::make_unique<ExprNode>();
        node->kind = ExprNode::Kind::Binary;
        node->op = op;
        node->position = pos;
        node->args.push_back(std::move(l));
        node->args.push_back(std::move(r));
        return node;
    }

    std::unique_ptr<ExprNode> expression() {
        auto left = term();
        while (isOp("+") || isOp("-") || isOp("&")) {
            const Token op = take();
            left = binary(op.text.at(0), std::move(left), term(), op.position);
        }
        return left;
    }

    std::unique_ptr<ExprNode> term() {
        auto left = unary();
        while (isOp("*") || isOp("/")) {
            const Token op = take();
            left = binary(op.text.at(0), std::move(left), unary(), op.position);
        }
        return left;
    }

    std::unique_ptr<ExprNode> unary() {
        if (isOp("-")) {
            const Token op = take();
            auto node = std::make_unique<ExprNode>();
            node->kind = ExprNode::Kind::Negate;
            node->position = op.position;
            node->args.push_back(unary());
            return node;
        }
        if (isOp("+")) {
            take();
            return unary();
        }
        return primary();
    }

    std::unique_ptr<ExprNode> primary() {
        const Token t = take();
        auto node = std::make_unique<ExprNode>();
        node->position = t.position;
        switch (t.type) {
        case Token::Type::Number:
            node->kind = ExprNode::Kind::Literal;
            node->value = t.number;
            return node;
        case Token::Type::String:
            node->kind = ExprNode::Kind::Literal;
            node->value = t.text;
            return node;
        case Token::Type::Name:
            node->name = t.text;
            if (!isOp("(")) {
                node->kind = ExprNode::Kind::Name;
                return node;
            }
            take();
            node->kind = ExprNode::Kind::Call;
            if (!isOp(")")) {
                node->args.push_back(expression());
                while (isOp(",")) {
                    take();
                    node->args.push_back(expression());
                }
            }
            expect(")");
            return node;
        case Token::Type::Op:
            if (t.text == QLatin1String("(")) {
                auto inner = expression();
                expect(")");
                return inner;
            }
            throw SyntaxError{
                QStringLiteral("第 %1 个字符处不应出现 \"%2\"").arg(t.position + 1).arg(t.text)};
        case Token::Type::End:
            break;
        }
        throw SyntaxError{QStringLiteral("表达式不完整")};
    }

    void expect(const char* op) {
        if (!isOp(op)) {
            throw SyntaxError{peek().type == Token::Type::End
                                  ? QStringLiteral("缺少 \"%1\"").arg(QLatin1String(op))
                                  : QStringLiteral("第 %1 个字符处应为 \"%2\"")
                                        .arg(peek().position + 1)
                                        .arg(QLatin1String(op))};
        }
        take();
    }

    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
};

struct EvalError {
    QString message;
};

bool isNumeric(const QVariant& v) {
    return hasNumberType(v) || v.typeId() == QMetaType::Bool;
}

double number(const QVariant& v) {
    double d = 0;
    if (!toNumber(v, &d))
        throw EvalError{QStringLiteral("\"%1\" 不是数字").arg(displayText(v))};
    return d;
}

class Evaluator {
public:
    explicit Evaluator(EvalScope& scope)
        : m_scope(scope) {}

    QVariant eval(const ExprNode& node) {
        switch (node.kind) {
        case ExprNode::Kind::Literal:
            return node.value;
        case ExprNode::Kind::Name: {
            QVariant v;
            if (!m_scope.lookup(node.name, &v))
                throw EvalError{QStringLiteral("未知字段 \"%1\"").arg(node.name)};
            return v;
        }
        case ExprNode::Kind::Negate:
            return -number(eval(*node.args[0]));
        case ExprNode::Kind::Binary:
            return binary(node);
        case ExprNode::Kind::Call:
            return call(node);
        }
        return {};
    }

private:
    QVariant binary(const ExprNode& node) {
        const QVariant l = eval(*node.args[0]);
        const QVariant r = eval(*node.args[1]);
        const char op = node.op.toLatin1();
        if (op == '&')
            return QVariant(displayText(l) + displayText(r));
        if (op == '+') {
            const bool numeric = (isNumeric(l) || l.isNull()) && (isNumeric(r) || r.isNull());
            if (!numeric)
                return QVariant(displayText(l) + displayText(r));
            return number(l) + number(r);
        }
        const double a = number(l);
        const double b = number(r);
        switch (op) {
        case '-':
            return a - b;
        case '*':
            return a * b;
        case '/':
            if (b == 0)
                throw EvalError{QStringLiteral("除数为零")};
            return a / b;
        default:
            break;
        }
        throw EvalError{QStringLiteral("未知运算符 %1").arg(node.op)};
    }

    void argCount(const ExprNode& node, std::size_t min, std::size_t max) {
        if (node.args.size() < min || node.args.size() > max) {
            throw EvalError{min == max
                                ? QStringLiteral("函数 %1 需要 %2 个参数").arg(node.name).arg(min)
                                : QStringLiteral("函数 %1 的参数个数不对").arg(node.name)};
        }
    }

    QVariant aggregate(const ExprNode& node, const QString& fn) {
        if (m_inAggregate)
            throw EvalError{QStringLiteral("%1 不能嵌套在另一个合计函数中").arg(node.name)};
        const bool isCount = fn == QLatin1String("count");
        argCount(node, isCount ? 0 : 1, 1);
        const int first = m_scope.scopeFirstRow();
        const int count = m_scope.scopeRowCount();
        if (isCount && node.args.empty())
            return count;
        const int saved = m_scope.currentRow();
        m_inAggregate = true;
        double sum = 0;
        double best = 0;
        int seen = 0;
        try {
            for (int row = first; row < first + count; ++row) {
                m_scope.setCurrentRow(row);
                const QVariant v = eval(*node.args[0]);
                if (isCount) {
                    if (!v.isNull() && !displayText(v).isEmpty())
                        ++seen;
                    continue;
                }
                const double d = number(v);
                if (seen == 0 || (fn == QLatin1String("min") ? d < best : d > best))
                    best = d;
                sum += d;
                ++seen;
            }
        } catch (...) {
            m_inAggregate = false;
            m_scope.setCurrentRow(saved);
            throw;
        }
        m_inAggregate = false;
        m_scope.setCurrentRow(saved);
        if (isCount)
            return seen;
        if (fn == QLatin1String("sum"))
            return sum;
        if (fn == QLatin1String("avg"))
            return seen ? sum / seen : 0.0;
        return seen ? QVariant(best) : QVariant(0.0);
    }

    QVariant call(const ExprNode& node) {
        const QString fn = node.name.toLower();
        if (fn == QLatin1String("sum") || fn == QLatin1String("count") ||
            fn == QLatin1String("avg") || fn == QLatin1String("min") ||
            fn == QLatin1String("max")) {
            return aggregate(node, fn);
        }
        QVariantList args;
        args.reserve(qsizetype(node.args.size()));
        for (const auto& a : node.args)
            args.append(eval(*a));
        if (const ReportFunction* f = m_scope.function(node.name)) {
            try {
                return (*f)(args);
            } catch (const std::exception& e) {
                throw EvalError{QStringLiteral("函数 %1 出错: %2")
                                    .arg(node.name, QString::fromLocal8Bit(e.what()))};
            }
        }
        if (fn == QLatin1String("formatfloat")) {
            argCount(node, 2, 2);
            return formatFloat(displayText(args[0]), number(args[1]));
        }
        if (fn == QLatin1String("formatdatetime")) {
            argCount(node, 2, 2);
            QDateTime dt = args[1].toDateTime();
            if (!dt.isValid())
                dt = QDateTime(QDate::fromString(displayText(args[1]), Qt::ISODate), QTime(0, 0));
            if (!dt.isValid())
                throw EvalError{QStringLiteral("\"%1\" 不是日期").arg(displayText(args[1]))};
            return dt.toString(displayText(args[0]));
        }
        if (fn == QLatin1String("trim")) {
            argCount(node, 1, 1);
            return displayText(args[0]).trimmed();
        }
        if (fn == QLatin1String("str")) {
            argCount(node, 1, 1);
            return displayText(args[0]);
        }
        throw EvalError{QStringLiteral("未知函数 \"%1\"").arg(node.name)};
    }

    EvalScope& m_scope;
    bool m_inAggregate = false;
};

} // namespace

std::unique_ptr<ExprNode> parseExpression(const QString& text, QString* error) {
    try {
        Parser parser(tokenize(text));
        return parser.parseAll();
    } catch (const SyntaxError& e) {
        if (error)
            *error = QStringLiteral("表达式 [%1] 有误: %2").arg(text, e.message);
        return nullptr;
    }
}

TextTemplate TextTemplate::parse(const QString& text) {
    TextTemplate t;
    QString literal;
    const int n = int(text.size());
    int i = 0;
    auto flush = [&] {
        if (!literal.isEmpty()) {
            t.m_segments.append(Segment{literal, nullptr, {}});
            literal.clear();
        }
    };
    while (i < n) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('[')) {
            literal += c;
            ++i;
            continue;
        }
        if (i + 1 < n && text.at(i + 1) == QLatin1Char('[')) {
            literal += c;
            i += 2;
            continue;
        }
        // Find the closing bracket, skipping quoted text.
        int j = i + 1;
        QChar quote;
        int depth = 0;
        for (; j < n; ++j) {
            const QChar d = text.at(j);
            if (!quote.isNull()) {
                if (d == quote)
                    quote = QChar();
            } else if (d == QLatin1Char('\'') || d == QLatin1Char('"')) {
                quote = d;
            } else if (d == QLatin1Char('[')) {
                ++depth;
            } else if (d == QLatin1Char(']')) {
                if (depth == 0)
                    break;
                --depth;
            }
        }
        if (j >= n) {
            t.m_error = QStringLiteral("文本 \"%1\" 中的 [ 没有对应的 ]").arg(text);
            literal += text.mid(i);
            break;
        }
        const QString source = text.mid(i + 1, j - i - 1);
        QString error;
        std::shared_ptr<const ExprNode> expr = parseExpression(source, &error);
        flush();
        if (!expr) {
            t.m_error = error;
            t.m_segments.append(Segment{QStringLiteral("#错误: %1#").arg(error), nullptr, {}});
        } else {
            t.m_segments.append(Segment{{}, expr, source});
            t.m_hasExpressions = true;
        }
        i = j + 1;
    }
    flush();
    if (!t.m_hasExpressions)
        for (const Segment& s : t.m_segments)
            t.m_plain += s.literal;
    return t;
}

QVariant evaluate(const ExprNode& node, EvalScope& scope, QString* error) {
    try {
        Evaluator evaluator(scope);
        return evaluator.eval(node);
    } catch (const EvalError& e) {
        if (error)
            *error = e.message;
        return {};
    }
}

QString evaluateTemplate(const TextTemplate& tmpl, EvalScope& scope, QStringList* errors) {
    if (!tmpl.error().isEmpty() && errors)
        errors->append(tmpl.error());
    QString out;
    for (const TextTemplate::Segment& s : tmpl.segments()) {
        if (!s.expr) {
            out += s.literal;
            continue;
        }
        QString error;
        const QVariant v = evaluate(*s.expr, scope, &error);
        if (!error.isEmpty()) {
            const QString message = QStringLiteral("[%1]: %2").arg(s.source, error);
            if (errors)
                errors->append(message);
            out += QStringLiteral("#错误: %1#").arg(error);
        } else {
            out += displayText(v);
        }
    }
    return out;
}

bool toNumber(const QVariant& value, double* result) {
    if (value.isNull()) {
        *result = 0;
        return true;
    }
    if (isNumeric(value)) {
        *result = value.toDouble();
        return true;
    }
    const QString text = displayText(value).trimmed();
    if (text.isEmpty()) {
        *result = 0;
        return true;
    }
    bool ok = false;
    *result = text.toDouble(&ok);
    return ok;
}

QString displayText(const QVariant& value) {
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = value.toDouble();
        if (!std::isfinite(d))
            return QString::number(d);
        QString s = QString::number(d, 'f', 6);
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
        if (s == QLatin1String("-0"))
            s = QStringLiteral("0");
        return s;
    }
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("hh:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    default:
        return value.toString();
    }
}

QString formatFloat(const QString& pattern, double value) {
    // Split the pattern into prefix, number pattern and suffix.
    auto isPatternChar = [](QChar c) {
        return c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char(',') ||
               c == QLatin1Char('.');
    };
    int start = 0;
    while (start < pattern.size() && !isPatternChar(pattern.at(start)))
        ++start;
    int end = start;
    while (end < pattern.size() && isPatternChar(pattern.at(end)))
        ++end;
    const QString prefix = pattern.left(start);
    const QString suffix = pattern.mid(end);
    const QString numberPattern = pattern.mid(start, end - start);
    if (numberPattern.isEmpty())
        return pattern;

    const qsizetype dot = numberPattern.indexOf(QLatin1Char('.'));
    const QString intPart = dot < 0 ? numberPattern : numberPattern.left(dot);
    const QString fracPart = dot < 0 ? QString() : numberPattern.mid(dot + 1);
    const int required = int(fracPart.count(QLatin1Char('0')));
    const int optional = int(fracPart.count(QLatin1Char('#')));
    const bool grouping = intPart.contains(QLatin1Char(','));
    const int minIntDigits = int(intPart.count(QLatin1Char('0')));

    QString digits = QString::number(std::abs(value), 'f', required + optional);
    QString frac;
    if (const qsizetype p = digits.indexOf(QLatin1Char('.')); p >= 0) {
        frac = digits.mid(p + 1);
        digits.truncate(p);
    }
    while (frac.size() > required && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    if (digits == QLatin1String("0") && minIntDigits == 0)
        digits.clear();
    while (digits.size() < minIntDigits)
        digits.prepend(QLatin1Char('0'));
    if (grouping) {
        for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
            digits.insert(i, QLatin1Char(','));
    }
    QString out = digits;
    if (!frac.isEmpty())
        out += QLatin1Char('.') + frac;
    const bool negative = value < 0 && std::any_of(out.cbegin(), out.cend(), [](QChar c) {
                              return c >= QLatin1Char('1') && c <= QLatin1Char('9');
                          });
    return prefix + (negative ? QStringLiteral("-") : QString()) + out + suffix;
}

} // namespace report
