#include "platform/sys/program_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace sys {

QString programFolder() {
    const QString home = qEnvironmentVariable("MERCHDESK_HOME");
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    return QCoreApplication::applicationDirPath();
}

QString programFile(const QString& name) {
    return programFolder() + QLatin1Char('/') + name;
}

} // namespace sys
