#include "shell/message_boxes.h"

#include "shell/public_unit.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace {

int showBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
            QMessageBox::StandardButtons buttons, QWidget* parent) {
    QMessageBox box(icon, caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption,
                    text, buttons, parent ? parent : MessageOwner());
    if (buttons & QMessageBox::No)
        box.setDefaultButton(QMessageBox::No);
    return box.exec();
}

} // namespace

void ShowInformation(const QString& text, QWidget* parent) {
    showBox(QMessageBox::Information, QString(), text, QMessageBox::Ok, parent);
}

void ShowWarning(const QString& caption, const QString& text, QWidget* parent) {
    showBox(QMessageBox::Warning, caption, text, QMessageBox::Ok, parent);
}

void ShowError(const QString& text, QWidget* parent) {
    showBox(QMessageBox::Critical, QString(), text, QMessageBox::Ok, parent);
}

bool AskYesNo(const QString& caption, const QString& text, QWidget* parent) {
    return showBox(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                   parent) == QMessageBox::Yes;
}
