// A workbook or folder a search run went past without searching it, with the reason the user
// sees (a message that names it).
#pragma once

#include <QList>
#include <QString>

struct SkippedItem {
    QString path;
    QString message;
    bool operator==(const SkippedItem&) const = default;
};

using SkippedItems = QList<SkippedItem>;
