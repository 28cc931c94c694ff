#pragma once

#include <QLineEdit>

#include <optional>

class NumberValidator;

// Numeric editor with an empty state. Typing is limited to digits, one decimal point, a leading
// minus and at most decimalPlaces() digits after the point; values assigned by code are kept
// whole and shown in their shortest plain form.
class NumberEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit NumberEdit(QWidget* parent = nullptr);

    // Empty (or an unfinished text such as "-") gives no value.
    std::optional<double> value() const;
    bool isEmpty() const { return text().trimmed().isEmpty(); }

    void setValue(double value);
    void setValue(std::optional<double> value);
    void clearValue();

    int decimalPlaces() const { return m_decimalPlaces; }
    void setDecimalPlaces(int places);

Q_SIGNALS:
    // The text changed, by typing or by code.
    void valueChanged();
    // The editor received the keyboard focus.
    void focusEntered();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    friend class NumberValidator;

    int m_decimalPlaces = 2;
    QString m_acceptedText; // the text before the change being validated
    NumberValidator* m_validator;
};
