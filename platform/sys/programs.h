#pragma once

#include <QString>
#include <QStringList>

namespace sys {

// Starts a program in its own process, nothing waiting for it. Returns false when it could
// not be started (missing file, not executable).
bool startProgram(const QString& program, const QStringList& arguments = {},
                  const QString& workingFolder = {});

// The first of the named programs found on the PATH, or empty.
QString findProgram(const QStringList& candidates);

// The desktop calculator and text editor of this computer, when one is installed.
QString desktopCalculator();
QString desktopTextEditor();

} // namespace sys
