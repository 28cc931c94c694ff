#include "platform/widgets/number_edit.h"

#include "platform/widgets/number_text.h"

#include <QValidator>

namespace {

int decimalsOf(const QString& text) {
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    return point < 0 ? 0 : static_cast<int>(text.size() - point - 1);
}

} // namespace

// Accepts partial numbers while typing. A text whose decimals exceed the limit is refused
// unless it has no more decimals than the text before the change (a whole value assigned by
// code stays editable).
class NumberValidator : public QValidator {
public:
    NumberValidator(const NumberEdit* edit)
        : QValidator(const_cast<NumberEdit*>(edit))
        , m_edit(edit) {}

    State validate(QString& input, int&) const override {
        bool seenPoint = false;
        for (qsizetype i = 0; i < input.size(); ++i) {
            const QChar c = input.at(i);
            if (c.isDigit() && c.unicode() < 128) {
                continue;
            }
            if (c == QLatin1Char('-') && i == 0) {
                continue;
            }
            if (c == QLatin1Char('.') && !seenPoint) {
                seenPoint = true;
                continue;
            }
            return Invalid;
        }
        const int decimals = decimalsOf(input);
        if (decimals > m_edit->decimalPlaces() && decimals > decimalsOf(m_edit->m_acceptedText)) {
            return Invalid;
        }
        return Acceptable;
    }

private:
    const NumberEdit* m_edit;
};

NumberEdit::NumberEdit(QWidget* parent)
    : QLineEdit(parent)
    , m_validator(new NumberValidator(this)) {
    setValidator(m_validator);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_acceptedText = text;
        Q_EMIT valueChanged();
    });
}

std::optional<double> NumberEdit::value() const {
    const QString t = text().trimmed();
    if (t.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    return v;
}

void NumberEdit::setValue(double value) {
    setText(shortestNumberText(value));
}

void NumberEdit::setValue(std::optional<double> value) {
    if (value) {
        setValue(*value);
    } else {
        clearValue();
    }
}

void NumberEdit::clearValue() {
    clear();
}

void NumberEdit::setDecimalPlaces(int places) {
    m_decimalPlaces = places < 0 ? 0 : places;
}

void NumberEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    Q_EMIT focusEntered();
}
