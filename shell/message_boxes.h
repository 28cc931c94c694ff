#pragma once

#include <QString>

class QWidget;

// The program's message boxes: real modal boxes titled with the application title unless a
// caption is given. A null parent means the main window.
void ShowInformation(const QString& text, QWidget* parent = nullptr);
void ShowWarning(const QString& caption, const QString& text, QWidget* parent = nullptr);
void ShowError(const QString& text, QWidget* parent = nullptr);
// A yes/no question; true only for Yes.
bool AskYesNo(const QString& caption, const QString& text, QWidget* parent = nullptr);
