#include "storage/Tproject.h"

#include "storage/CommaList.h"
#include "storage/IniDocument.h"

#include <QStringList>

namespace {

const QString kSystem = QStringLiteral("SYSTEM");
const QString kSearch = QStringLiteral("SEARCH");
const QString kDefaultExt = QStringLiteral("0,1,2");

}  // namespace

void TProject::SetSearchOrder(uint32_t value) {
    SearchOrder = value < 2 ? int32_t(value) : 0;
}

void TProject::SetFindLookIn(uint32_t value) {
    FindLookIn = value < 3 ? int32_t(value) : 0;
}

QString TProject::ExtText() const {
    QStringList entries;
    for (int32_t index : Ext) {
        entries.append(QString::number(index));
    }
    return CommaList::Join(entries);
}

void TProject::SetExtText(const QString& text) {
    Ext.clear();
    for (const QString& entry : CommaList::Split(text)) {
        int32_t index = 0;
        if (!IniDocument::ParseInteger(entry, index)) {
            index = 0;
        }
        Ext.insert(index);
    }
}

void TProject::Save(const QString& fileName) {
    IniDocument ini(fileName);
    ini.WriteInteger(kSystem, QStringLiteral("Version"), 0);
    ini.WriteString(kSearch, QStringLiteral("Dir"), Dir);
    ini.WriteBool(kSearch, QStringLiteral("IsSearchSubDir"), IsSearchSubDir);
    ini.WriteString(kSearch, QStringLiteral("Word"), Word);
    ini.WriteInteger(kSearch, QStringLiteral("SearchOrder"), SearchOrder);
    ini.WriteInteger(kSearch, QStringLiteral("FindLookIn"), FindLookIn);
    ini.WriteBool(kSearch, QStringLiteral("MatchCase"), MatchCase);
    ini.WriteBool(kSearch, QStringLiteral("MatchByte"), MatchByte);
    ini.WriteBool(kSearch, QStringLiteral("LookAt"), LookAt);
    ini.WriteString(kSearch, QStringLiteral("Ext"), ExtText());
    ini.UpdateFile();
    FileName = fileName;
}

void TProject::Load(const QString& fileName) {
    const IniDocument ini(fileName);
    Dir = ini.ReadString(kSearch, QStringLiteral("Dir"), QString());
    IsSearchSubDir = ini.ReadBool(kSearch, QStringLiteral("IsSearchSubDir"), false);
    Word = ini.ReadString(kSearch, QStringLiteral("Word"), QString());
    SetSearchOrder(uint32_t(ini.ReadInteger(kSearch, QStringLiteral("SearchOrder"), 0)));
    SetFindLookIn(uint32_t(ini.ReadInteger(kSearch, QStringLiteral("FindLookIn"), 0)));
    MatchCase = ini.ReadBool(kSearch, QStringLiteral("MatchCase"), false);
    MatchByte = ini.ReadBool(kSearch, QStringLiteral("MatchByte"), true);
    LookAt = ini.ReadBool(kSearch, QStringLiteral("LookAt"), false);
    SetExtText(ini.ReadString(kSearch, QStringLiteral("Ext"), kDefaultExt));
    FileName = fileName;
}
