#include "app/SpreadsheetLauncher.h"

#include "storage/Exception.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QString SpreadsheetLauncher::JumpMark(const QString& sheetName, const QString& cell) {
    QString quoted = sheetName;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QStringLiteral("'.") + cell;
}

QString SpreadsheetLauncher::JumpUrl(const QString& path, const QString& sheetName,
                                     const QString& cell) {
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(JumpMark(sheetName, cell));
    return url.toString(QUrl::FullyEncoded);
}

void SpreadsheetLauncher::Open(const QString& path, const QString& sheetName, const QString& cell) {
    // The spreadsheet application would show its own error for a missing file and still
    // report success, so check first.
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        throw Exception(QStringLiteral("ファイル「%1」を開けません。").arg(path));
    }
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (!soffice.isEmpty()) {
        if (QProcess::startDetached(soffice,
                                    {QStringLiteral("--calc"), JumpUrl(path, sheetName, cell)})) {
            return;
        }
    } else if (QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        return;
    }
    throw Exception(QStringLiteral("表計算ソフトを起動できませんでした。"));
}
