#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The one place where the program asks for file names. Filters are written as
// "description|pattern|description|pattern", e.g. "文本文件(*.txt)|*.TXT|Csv文件(*.csv)|*.Csv";
// the chosen entry is reported 1-based.
//
// Tests queue answers with setNextAnswer()/setNextCancel(); while an answer is queued no
// dialog is shown and the queued answer is taken.
class FileDialog {
public:
    struct Request {
        QString caption;
        QString presetName;
        QString filters;
        QString defaultSuffix;
        bool save = false;
    };

    // Returns the chosen file name, empty when cancelled. A name typed without a suffix gets
    // defaultSuffix (without dot, e.g. "xls").
    static QString getSaveFileName(QWidget* parent, const QString& caption,
                                   const QString& presetName, const QString& filters,
                                   const QString& defaultSuffix = QString(),
                                   int* selectedFilterIndex = nullptr);
    static QString getOpenFileName(QWidget* parent, const QString& caption,
                                   const QString& presetName, const QString& filters,
                                   int* selectedFilterIndex = nullptr);

    // "desc|pattern|..." to Qt's name filters, one per entry.
    static QStringList toNameFilters(const QString& filters);

    // Test seam.
    static void setNextAnswer(const QString& fileName, int filterIndex = 1);
    static void setNextCancel();
    static bool hasPendingAnswers();
    static void clearAnswers();
    // The arguments of the last request, answered or shown.
    static Request lastRequest();
};
