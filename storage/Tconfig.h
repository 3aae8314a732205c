// The per-user settings: window rectangle and state, start-up and tray options, stay-on-top,
// recent project files and result column widths, loaded from and saved to the settings file.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

// Initial width of each result column; also the width a hidden column gets when shown again.
inline constexpr std::array<int32_t, 8> DefaultResultItemColWidth = {56, 44, 56, 28,
                                                                     28, 60, 70, 78};

// <application data>/Tavrick/Sorvane/Sorvane.ini, computed anew on each call.
QString GetConfigFileName();

class TConfig {
public:
    TConfig();

    // Reads every setting; a missing file or an unreadable value gives the default.
    void Load(const QString& fileName);
    // Writes every setting, keeping what else the file holds. When the folder cannot be
    // created it writes nothing and gives false: the caller shows FolderFailedText() as a
    // warning. File errors raise Exception.
    [[nodiscard]] bool Save(const QString& fileName);
    static QString FolderFailedText();

    // Stores the state when below 3, else 0.
    void SetWindowState(uint32_t state);
    // Moves the file name to the head of History (case-insensitive match).
    void AddHistory(const QString& fileName);

    // Indexes of the columns whose width is not 0.
    std::set<int> VisibleResultColumns() const;
    // Hides the columns not in the set; a shown column narrower than 1 gets its default width.
    void SetVisibleResultColumns(const std::set<int>& columns);

    std::vector<int32_t> ResultItemColWidth;
    bool WindowPositionRestore = false;
    int32_t WindowPositionLeft = 0;
    int32_t WindowPositionTop = 0;
    int32_t WindowPositionRight = 434;   // outer width, not the right edge
    int32_t WindowPositionBottom = 420;  // outer height, not the bottom edge
    int32_t WindowState = 0;             // 0 normal, 1 minimized, 2 maximized
    QStringList History;                 // most recent first
    bool ProjectFileRestore = false;
    QString LastProjectFile;
    bool ShowStayOnTop = false;
    bool InTaskTray = false;
    // Height of the search-condition panel above the result list; 0 lets the window choose.
    int32_t SplitterPosition = 0;
    // A workbook that cannot be opened or searched is skipped and the run goes on; off, it
    // ends the run with a warning.
    bool SkipUnreadableBooks = false;
    // Cells in hidden rows and columns, and in rows a filter hides, are listed too; off, a
    // search passes over them as the spreadsheet application's Find does.
    bool SearchHiddenCells = false;
    // Runs ask the per-user cell index which workbooks can hold the word and read only
    // those (the hits are the same); off, every run reads every workbook.
    bool UseSearchIndex = true;
};
