#include "storage/Tspecialfolder.h"

#include "storage/Exception.h"

#include <QDir>
#include <QStandardPaths>

namespace {

QString WithoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(u'/')) {
        path.chop(1);
    }
    return path;
}

QString Home() {
    return WithoutTrailingSlash(qEnvironmentVariable("HOME"));
}

// An XDG base folder: the variable when it holds an absolute path (relative ones are invalid),
// else the folder under the home folder, else "" when the home folder is unknown.
QString XdgHome(const char* variable, const QString& underHome) {
    const QString value = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(value)) {
        return WithoutTrailingSlash(value);
    }
    const QString home = Home();
    return home.isEmpty() ? QString() : home + u'/' + underHome;
}

// The first entry of an XDG search-path variable, or its documented default.
QString XdgFirstDir(const char* variable, const QString& fallback) {
    const QString first = qEnvironmentVariable(variable).section(u':', 0, 0);
    return QDir::isAbsolutePath(first) ? WithoutTrailingSlash(first) : fallback;
}

QString ConfigHome() {
    return XdgHome("XDG_CONFIG_HOME", QStringLiteral(".config"));
}
QString DataHome() {
    return XdgHome("XDG_DATA_HOME", QStringLiteral(".local/share"));
}
QString CacheHome() {
    return XdgHome("XDG_CACHE_HOME", QStringLiteral(".cache"));
}

// Appends a sub-folder unless the base is unknown.
QString Under(const QString& base, const QString& sub) {
    return base.isEmpty() ? QString() : base + u'/' + sub;
}

// The user folders (desktop, documents, templates) come from the XDG user-dirs file.
QString UserDir(QStandardPaths::StandardLocation location) {
    return Home().isEmpty() ? QString()
                            : WithoutTrailingSlash(QStandardPaths::writableLocation(location));
}

}  // namespace

QString GetSpecialFolderPath(int folder) {
    if (folder < sfAltStartup || folder > sfTemplates) {
        throw Exception(QStringLiteral("指定されたコードが見つかりません。"));
    }
    switch (static_cast<TSpecialFolder>(folder)) {
        case sfAppData:
            return ConfigHome();
        case sfBitBucket:
            return Under(DataHome(), QStringLiteral("Trash"));
        case sfCommonPrograms:
            return XdgFirstDir("XDG_DATA_DIRS", QStringLiteral("/usr/local/share")) +
                   QStringLiteral("/applications");
        case sfCommonStartup:
            return XdgFirstDir("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")) +
                   QStringLiteral("/autostart");
        case sfDesktop:
        case sfDesktopDirectory:
            return UserDir(QStandardPaths::DesktopLocation);
        case sfFonts:
            return Under(DataHome(), QStringLiteral("fonts"));
        case sfInternetCache:
            return CacheHome();
        case sfPersonal:
            return UserDir(QStandardPaths::DocumentsLocation);
        case sfPrograms:
        case sfStartMenu:
            return Under(DataHome(), QStringLiteral("applications"));
        case sfStartup:
            return Under(ConfigHome(), QStringLiteral("autostart"));
        case sfTemplates:
            return UserDir(QStandardPaths::TemplatesLocation);
        default:
            // Virtual shell folders and Windows-only places have no counterpart here.
            return QString();
    }
}
