#include "tools/DesktopAssociation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include "tools/MimeAppsList.h"

namespace {

// Our own picture: a green sheet with a grid under a magnifying glass.
const char kIconSvg[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!-- X-Sorvane-TaskRelay: the Sorvane icon, removed again with the association. -->
<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <rect x="4" y="4" width="32" height="38" rx="3" fill="#2e7d32"/>
  <path d="M8 14h24M8 22h24M8 30h24M18 8v30" stroke="#c8e6c9" stroke-width="2"/>
  <circle cx="31" cy="29" r="9" fill="#ffffff" fill-opacity="0.6" stroke="#263238" stroke-width="3"/>
  <path d="M37.5 35.5l7 7" stroke="#263238" stroke-width="4" stroke-linecap="round"/>
</svg>
)";

// Only the head of a file is searched for the marker: ours all carry it near the top.
constexpr qint64 kMarkerSearchSize = 4096;
constexpr int kToolTimeoutMs = 60000;

bool IsOurs(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) &&
           file.read(kMarkerSearchSize).contains(DesktopAssociation::kMarker);
}

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.exists()) {
        return {};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        throw TaskError(QStringLiteral("「%1」を読めません").arg(path));
    }
    return QString::fromUtf8(file.readAll());
}

void WriteFile(const QString& path, const QByteArray& content) {
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
        file.write(content) != content.size() || !file.commit()) {
        throw TaskError(QStringLiteral("「%1」を書き込めません").arg(path));
    }
}

QString EscapeXml(QString text) {
    return text.replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"))
        .replace(QLatin1Char('"'), QLatin1String("&quot;"));
}

QString QuoteExecArgument(const QString& argument) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\')) {
            quoted += QLatin1Char('\\');
        }
        quoted += c == QLatin1Char('%') ? QStringLiteral("%%") : QString(c);
    }
    return quoted + QLatin1Char('"');
}

void RunTool(const QString& tool, const QString& folder) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty() || !QFileInfo(folder).isDir()) {
        return;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, {folder});
    if (!process.waitForFinished(kToolTimeoutMs) || process.exitCode() != 0) {
        // The association files are in place; the desktop picks them up at its next refresh.
        qWarning("%s %s did not finish cleanly", qPrintable(tool), qPrintable(folder));
    }
}

QString MimePackageText(const RelayTask& task) {
    QStringList globs = {QStringLiteral("*") + task.extension,
                         QStringLiteral("*") + task.extension.toLower()};
    globs.removeDuplicates();
    QString text = QStringLiteral(
                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<!-- %1: written by Sorvane's TaskRelay, removed with the association. "
                       "-->\n"
                       "<mime-info "
                       "xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                       "  <mime-type type=\"%2\">\n"
                       "    <comment>%3</comment>\n"
                       "    <icon name=\"sorvane\"/>\n")
                       .arg(QLatin1String(DesktopAssociation::kMarker),
                            DesktopAssociation::MimeType(), EscapeXml(task.description));
    for (const QString& glob : globs) {
        text += QStringLiteral("    <glob pattern=\"%1\"/>\n").arg(glob);
    }
    return text + QStringLiteral("  </mime-type>\n</mime-info>\n");
}

QString DesktopEntryText(const RelayTask& task) {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Version=1.0\n"
               "Name=Sorvane\n"
               "Comment=%1\n"
               "Exec=%2\n"
               "Icon=sorvane\n"
               "MimeType=%3;\n"
               "Terminal=false\n"
               "%4=true\n")
        .arg(QString(task.description).replace(QLatin1Char('\\'), QLatin1String("\\\\")),
             DesktopAssociation::ExecLine(task.openCommand), DesktopAssociation::MimeType(),
             QLatin1String(DesktopAssociation::kMarker));
}

}  // namespace

DesktopAssociation::DesktopAssociation(QString dataHome, QString configHome)
    : dataHome_(std::move(dataHome)), configHome_(std::move(configHome)) {}

DesktopAssociation DesktopAssociation::ForCurrentUser() {
    return DesktopAssociation(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

QString DesktopAssociation::MimePackagePath() const {
    return dataHome_ + QStringLiteral("/mime/packages/sorvane-project.xml");
}

QString DesktopAssociation::DesktopEntryPath() const {
    return dataHome_ + QStringLiteral("/applications/") + DesktopId();
}

QString DesktopAssociation::IconPath() const {
    return dataHome_ + QStringLiteral("/icons/hicolor/scalable/apps/sorvane.svg");
}

QString DesktopAssociation::MimeAppsPath() const {
    return configHome_ + QStringLiteral("/mimeapps.list");
}

QString DesktopAssociation::ExecLine(const QStringList& openCommand) {
    QStringList parts;
    for (const QString& argument : openCommand) {
        parts.append(argument == QLatin1String("%1") ? QStringLiteral("%f")
                                                     : QuoteExecArgument(argument));
    }
    // The entry's own string escapes apply on top of the quoting: each backslash is doubled.
    return parts.join(QLatin1Char(' ')).replace(QLatin1Char('\\'), QLatin1String("\\\\"));
}

void DesktopAssociation::Register(const RelayTask& task) const {
    const QList<std::pair<QString, QByteArray>> files = {
        {MimePackagePath(), MimePackageText(task).toUtf8()},
        {DesktopEntryPath(), DesktopEntryText(task).toUtf8()},
        {IconPath(), QByteArray(kIconSvg)}};
    for (const auto& [path, content] : files) {
        if (QFileInfo::exists(path) && !IsOurs(path)) {
            throw TaskError(
                QStringLiteral("「%1」は TaskRelay が書いたファイルではないため、置き換えません")
                    .arg(path));
        }
    }
    const QString mimeApps = ReadText(MimeAppsPath());
    QStringList created;
    try {
        for (const auto& [path, content] : files) {
            if (!QFileInfo::exists(path)) {
                created.append(path);
            }
            WriteFile(path, content);
        }
        const QString updated = MimeAppsList::WithDefault(mimeApps, MimeType(), DesktopId());
        if (updated != mimeApps) {
            WriteFile(MimeAppsPath(), updated.toUtf8());
        }
    } catch (const TaskError&) {
        for (const QString& path : created) {
            QFile::remove(path);
        }
        throw;
    }
    RefreshDatabases();
}

void DesktopAssociation::Unregister() const {
    const QString mimeApps = ReadText(MimeAppsPath());
    const QString updated = MimeAppsList::WithoutDefault(mimeApps, MimeType(), DesktopId());
    if (updated != mimeApps) {
        if (updated.isEmpty()) {
            QFile::remove(MimeAppsPath());
        } else {
            WriteFile(MimeAppsPath(), updated.toUtf8());
        }
    }
    for (const QString& path : {MimePackagePath(), DesktopEntryPath(), IconPath()}) {
        if (IsOurs(path)) {
            QFile::remove(path);
        }
    }
    RefreshDatabases();
}

void DesktopAssociation::RefreshDatabases() const {
    RunTool(QStringLiteral("update-mime-database"), dataHome_ + QStringLiteral("/mime"));
    RunTool(QStringLiteral("update-desktop-database"), dataHome_ + QStringLiteral("/applications"));
}
