#include "db/odbc_sources.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTextStream>

namespace db {

namespace {

using IniSections = QHash<QString, QHash<QString, QString>>;

// unixODBC's ini files: [section] headers and key = value lines; ';' and '#' start comments.
// Section and key names compare without regard to case.
IniSections readIni(const QString& path) {
    IniSections sections;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return sections;
    QTextStream in(&file);
    QString current;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = line.mid(1, line.size() - 2).trimmed().toLower();
            sections[current];
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || current.isEmpty())
            continue;
        sections[current][line.left(eq).trimmed().toLower()] = line.mid(eq + 1).trimmed();
    }
    return sections;
}

QString systemConfigDir() {
    const QString dir = qEnvironmentVariable("ODBCSYSINI");
    return dir.isEmpty() ? QStringLiteral("/etc") : dir;
}

QStringList dataSourceFiles() {
    QStringList files;
    const QString user = qEnvironmentVariable("ODBCINI");
    files << (user.isEmpty() ? QDir::homePath() + QStringLiteral("/.odbc.ini") : user);
    files << systemConfigDir() + QStringLiteral("/odbc.ini");
    return files;
}

QString driverInstallFile() {
    const QString file = qEnvironmentVariable("ODBCINSTINI");
    if (!file.isEmpty())
        return QDir::isAbsolutePath(file) ? file : systemConfigDir() + QLatin1Char('/') + file;
    return systemConfigDir() + QStringLiteral("/odbcinst.ini");
}

} // namespace

std::optional<OdbcDataSource> findOdbcDataSource(const QString& name) {
    const QString key = name.toLower();
    for (const QString& path : dataSourceFiles()) {
        const IniSections ini = readIni(path);
        const auto it = ini.constFind(key);
        if (it == ini.constEnd())
            continue;
        OdbcDataSource source;
        source.name = name;
        source.definedIn = path;
        source.driver = it->value(QStringLiteral("driver"));
        if (source.driver.startsWith(QLatin1Char('/'))) {
            source.driverLibrary = source.driver;
        } else {
            const IniSections drivers = readIni(driverInstallFile());
            const auto d = drivers.constFind(source.driver.toLower());
            if (d != drivers.constEnd())
                source.driverLibrary = d->value(QStringLiteral("driver"));
        }
        return source;
    }
    return std::nullopt;
}

bool isPostgresDriver(const OdbcDataSource& source) {
    const QString text = (source.driver + QLatin1Char(' ') + source.driverLibrary).toLower();
    return text.contains(QLatin1String("psqlodbc")) || text.contains(QLatin1String("postgres"));
}

} // namespace db
