#include "platform/sys/programs.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace sys {

bool startProgram(const QString& program, const QStringList& arguments,
                  const QString& workingFolder) {
    if (program.isEmpty())
        return false;
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        if (!info.isFile() || !info.isExecutable())
            return false;
    }
    return QProcess::startDetached(program, arguments, workingFolder);
}

QString findProgram(const QStringList& candidates) {
    for (const QString& name : candidates) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QString desktopCalculator() {
    return findProgram({QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                        QStringLiteral("galculator"), QStringLiteral("qalculate-gtk"),
                        QStringLiteral("mate-calc"), QStringLiteral("xcalc")});
}

QString desktopTextEditor() {
    return findProgram({QStringLiteral("gnome-text-editor"), QStringLiteral("gedit"),
                        QStringLiteral("kate"), QStringLiteral("kwrite"),
                        QStringLiteral("mousepad"), QStringLiteral("pluma"), QStringLiteral("xed"),
                        QStringLiteral("featherpad"), QStringLiteral("leafpad")});
}

} // namespace sys
