#include "platform/widgets/file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include <deque>

namespace {

struct Answer {
    QString fileName;
    int filterIndex = 1;
};

std::deque<Answer>& answers() {
    static std::deque<Answer> queue;
    return queue;
}

FileDialog::Request& lastRequestStore() {
    static FileDialog::Request request;
    return request;
}

QString withSuffix(const QString& fileName, const QString& defaultSuffix) {
    if (fileName.isEmpty() || defaultSuffix.isEmpty() || !QFileInfo(fileName).suffix().isEmpty()) {
        return fileName;
    }
    return fileName + QLatin1Char('.') + defaultSuffix;
}

QString run(QWidget* parent, const FileDialog::Request& request, int* selectedFilterIndex) {
    lastRequestStore() = request;
    if (!answers().empty()) {
        const Answer answer = answers().front();
        answers().pop_front();
        if (selectedFilterIndex) {
            *selectedFilterIndex = answer.fileName.isEmpty() ? 0 : answer.filterIndex;
        }
        return request.save ? withSuffix(answer.fileName, request.defaultSuffix) : answer.fileName;
    }

    QFileDialog dialog(parent, request.caption);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList nameFilters = FileDialog::toNameFilters(request.filters);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
    }
    if (!request.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultSuffix);
    }
    if (!request.presetName.isEmpty()) {
        dialog.selectFile(request.presetName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        if (selectedFilterIndex) {
            *selectedFilterIndex = 0;
        }
        return QString();
    }
    if (selectedFilterIndex) {
        *selectedFilterIndex =
            static_cast<int>(nameFilters.indexOf(dialog.selectedNameFilter())) + 1;
        if (*selectedFilterIndex <= 0) {
            *selectedFilterIndex = 1;
        }
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace

QStringList FileDialog::toNameFilters(const QString& filters) {
    QStringList result;
    const QStringList parts = filters.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        const QString pattern = parts.at(i + 1).trimmed();
        // Qt reads the patterns from trailing parentheses: keep a description that already
        // names its pattern ("Csv文件(*.csv)"), otherwise append the pattern.
        const bool named = description.endsWith(QLatin1Char(')')) &&
                           description.contains(QLatin1Char('(') + pattern + QLatin1Char(')'),
                                                Qt::CaseInsensitive);
        if (!named) {
            description += QStringLiteral(" (") + pattern + QLatin1Char(')');
        }
        result.append(description);
    }
    return result;
}

QString FileDialog::getSaveFileName(QWidget* parent, const QString& caption,
                                    const QString& presetName, const QString& filters,
                                    const QString& defaultSuffix, int* selectedFilterIndex) {
    return run(parent, Request{caption, presetName, filters, defaultSuffix, true},
               selectedFilterIndex);
}

QString FileDialog::getOpenFileName(QWidget* parent, const QString& caption,
                                    const QString& presetName, const QString& filters,
                                    int* selectedFilterIndex) {
    return run(parent, Request{caption, presetName, filters, QString(), false},
               selectedFilterIndex);
}

void FileDialog::setNextAnswer(const QString& fileName, int filterIndex) {
    answers().push_back(Answer{fileName, filterIndex});
}

void FileDialog::setNextCancel() {
    answers().push_back(Answer{QString(), 0});
}

bool FileDialog::hasPendingAnswers() {
    return !answers().empty();
}

void FileDialog::clearAnswers() {
    answers().clear();
}

FileDialog::Request FileDialog::lastRequest() {
    return lastRequestStore();
}
