// Carries out a relay task on the freedesktop desktop, under the user's XDG data and config
// folders: a MIME package for the extension, a desktop entry that opens such files with the
// program, the program's icon, and the program as the type's default application. Removing
// takes away exactly these; a file of ours bears kMarker, and a file without it is never
// overwritten or deleted.
#pragma once

#include <QString>
#include <QStringList>

#include "tools/RelayTask.h"

class DesktopAssociation {
public:
    // The folders that hold share/ and config data: $XDG_DATA_HOME and $XDG_CONFIG_HOME.
    DesktopAssociation(QString dataHome, QString configHome);
    static DesktopAssociation ForCurrentUser();

    // Raises TaskError, with nothing of this call left behind, when a file cannot be written
    // or one that is in the way is not ours.
    void Register(const RelayTask& task) const;
    void Unregister() const;

    QString MimePackagePath() const;
    QString DesktopEntryPath() const;
    QString IconPath() const;
    QString MimeAppsPath() const;

    static QString MimeType() { return QStringLiteral("application/x-sorvane-project"); }
    static QString DesktopId() { return QStringLiteral("sorvane.desktop"); }
    static constexpr char kMarker[] = "X-Sorvane-TaskRelay";

    // The Exec value of a desktop entry for an open command: every argument quoted and escaped
    // as the entry format asks, "%1" turned into the file field code.
    static QString ExecLine(const QStringList& openCommand);

private:
    void RefreshDatabases() const;

    QString dataHome_;
    QString configHome_;
};
