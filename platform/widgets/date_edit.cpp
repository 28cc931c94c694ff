#include "platform/widgets/date_edit.h"

DateEdit::DateEdit(QWidget* parent)
    : DateEdit(QDate::currentDate(), parent) {}

DateEdit::DateEdit(const QDate& date, QWidget* parent)
    : QDateEdit(date, parent) {
    setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    setCalendarPopup(true);
}

QString DateEdit::dateText() const {
    return date().toString(QStringLiteral("yyyy-MM-dd"));
}
