#include "storage/Tconfig.h"

#include "storage/CommaList.h"
#include "storage/IniDocument.h"
#include "storage/Tspecialfolder.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString kSystem = QStringLiteral("SYSTEM");
const QString kColumns = QStringLiteral("RESULT_ITEM_COL_WIDTH");
const QString kStartup = QStringLiteral("STARTUP");
const QString kSearch = QStringLiteral("SEARCH");

QString ColumnKey(size_t index) {
    return QStringLiteral("COL") + QString::number(index);
}

int32_t DefaultWidth(size_t index) {
    return index < DefaultResultItemColWidth.size() ? DefaultResultItemColWidth[index] : 0;
}

}  // namespace

QString GetConfigFileName() {
    QString folder = GetSpecialFolderPath(sfAppData);
    if (!folder.endsWith(u'/')) {
        folder += u'/';
    }
    return folder + QStringLiteral("Tavrick/Sorvane/Sorvane.ini");
}

TConfig::TConfig()
    : ResultItemColWidth(DefaultResultItemColWidth.begin(), DefaultResultItemColWidth.end()) {}

void TConfig::Load(const QString& fileName) {
    const IniDocument ini(fileName);
    for (size_t i = 0; i < ResultItemColWidth.size(); ++i) {
        ResultItemColWidth[i] = ini.ReadInteger(kColumns, ColumnKey(i), DefaultWidth(i));
    }
    WindowPositionRestore = ini.ReadBool(kStartup, QStringLiteral("WindowPositionRestore"), false);
    WindowPositionLeft = ini.ReadInteger(kStartup, QStringLiteral("WindowPositionLeft"), 0);
    WindowPositionRight = ini.ReadInteger(kStartup, QStringLiteral("WindowPositionRight"), 434);
    WindowPositionTop = ini.ReadInteger(kStartup, QStringLiteral("WindowPositionTop"), 0);
    WindowPositionBottom = ini.ReadInteger(kStartup, QStringLiteral("WindowPositionBottom"), 420);
    SetWindowState(uint32_t(ini.ReadInteger(kStartup, QStringLiteral("WindowState"), 0)));
    History = CommaList::Split(ini.ReadString(kStartup, QStringLiteral("HISTORY"), QString()));
    ProjectFileRestore = ini.ReadBool(kStartup, QStringLiteral("ProjectFileRestore"), false);
    LastProjectFile = ini.ReadString(kStartup, QStringLiteral("LastProjectFile"), QString());
    ShowStayOnTop = ini.ReadBool(kStartup, QStringLiteral("ShowStayOnTop"), false);
    InTaskTray = ini.ReadBool(kStartup, QStringLiteral("InTaskTray"), false);
    SplitterPosition =
        std::max(0, ini.ReadInteger(kStartup, QStringLiteral("SplitterPosition"), 0));
    SkipUnreadableBooks = ini.ReadBool(kSearch, QStringLiteral("SkipUnreadableBooks"), false);
    SearchHiddenCells = ini.ReadBool(kSearch, QStringLiteral("SearchHiddenCells"), false);
    UseSearchIndex = ini.ReadBool(kSearch, QStringLiteral("UseSearchIndex"), true);
}

QString TConfig::FolderFailedText() {
    return QStringLiteral("設定ファイルを保存するためのフォルダの作成に失敗しました。");
}

bool TConfig::Save(const QString& fileName) {
    const QString folder = QFileInfo(fileName).path();
    if (!QDir().mkpath(folder)) {
        return false;
    }
    IniDocument ini(fileName);
    ini.WriteInteger(kSystem, QStringLiteral("Version"), 0);
    for (size_t i = 0; i < ResultItemColWidth.size(); ++i) {
        ini.WriteInteger(kColumns, ColumnKey(i), ResultItemColWidth[i]);
    }
    ini.WriteBool(kStartup, QStringLiteral("WindowPositionRestore"), WindowPositionRestore);
    ini.WriteInteger(kStartup, QStringLiteral("WindowPositionLeft"), WindowPositionLeft);
    ini.WriteInteger(kStartup, QStringLiteral("WindowPositionRight"), WindowPositionRight);
    ini.WriteInteger(kStartup, QStringLiteral("WindowPositionTop"), WindowPositionTop);
    ini.WriteInteger(kStartup, QStringLiteral("WindowPositionBottom"), WindowPositionBottom);
    ini.WriteInteger(kStartup, QStringLiteral("WindowState"), WindowState);
    ini.WriteString(kStartup, QStringLiteral("HISTORY"), CommaList::Join(History));
    ini.WriteBool(kStartup, QStringLiteral("ProjectFileRestore"), ProjectFileRestore);
    ini.WriteString(kStartup, QStringLiteral("LastProjectFile"), LastProjectFile);
    ini.WriteBool(kStartup, QStringLiteral("ShowStayOnTop"), ShowStayOnTop);
    ini.WriteBool(kStartup, QStringLiteral("InTaskTray"), InTaskTray);
    ini.WriteInteger(kStartup, QStringLiteral("SplitterPosition"), SplitterPosition);
    ini.WriteBool(kSearch, QStringLiteral("SkipUnreadableBooks"), SkipUnreadableBooks);
    ini.WriteBool(kSearch, QStringLiteral("SearchHiddenCells"), SearchHiddenCells);
    ini.WriteBool(kSearch, QStringLiteral("UseSearchIndex"), UseSearchIndex);
    ini.UpdateFile();
    return true;
}

void TConfig::SetWindowState(uint32_t state) {
    WindowState = state < 3 ? int32_t(state) : 0;
}

void TConfig::AddHistory(const QString& fileName) {
    History.removeIf([&fileName](const QString& entry) {
        return entry.compare(fileName, Qt::CaseInsensitive) == 0;
    });
    History.prepend(fileName);
}

std::set<int> TConfig::VisibleResultColumns() const {
    std::set<int> visible;
    for (size_t i = 0; i < ResultItemColWidth.size(); ++i) {
        if (ResultItemColWidth[i] != 0) {
            visible.insert(int(i));
        }
    }
    return visible;
}

void TConfig::SetVisibleResultColumns(const std::set<int>& columns) {
    for (size_t i = 0; i < ResultItemColWidth.size(); ++i) {
        int32_t& width = ResultItemColWidth[i];
        if (columns.count(int(i)) == 0) {
            width = 0;
        } else if (width < 1) {
            width = DefaultWidth(i);
        }
    }
}
