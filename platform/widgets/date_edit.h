#pragma once

#include <QDateEdit>

// Date-only editor showing yyyy-MM-dd, with a calendar drop-down.
class DateEdit : public QDateEdit {
    Q_OBJECT

public:
    explicit DateEdit(QWidget* parent = nullptr);
    explicit DateEdit(const QDate& date, QWidget* parent = nullptr);

    // The date in the system's short form, yyyy-MM-dd.
    QString dateText() const;
};
