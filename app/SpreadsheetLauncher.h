// Opens a workbook in the desktop's spreadsheet application at a given cell: LibreOffice Calc
// when it is installed (the sheet and cell go into the URL's jump mark, and a running instance
// is reused), else whatever application the desktop associates with the file.
#pragma once

#include <QString>
#include <QUrl>

class SpreadsheetLauncher {
public:
    // The jump mark: the sheet name in single quotes (inner quotes doubled), a dot, the cell.
    static QString JumpMark(const QString& sheetName, const QString& cell);
    // The file URL with the jump mark as its fragment, fully encoded.
    static QString JumpUrl(const QString& path, const QString& sheetName, const QString& cell);

    // Raises Exception when the file is not a readable file or nothing could be started.
    static void Open(const QString& path, const QString& sheetName, const QString& cell);
};
