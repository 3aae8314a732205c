// The search project: one set of search conditions and the path of the project file (".SVZ")
// it was last loaded from or saved to.
#pragma once

#include "storage/SearchConditions.h"

#include <QString>
#include <cstdint>

class TProject : public SearchConditions {
public:
    // Store the value when in range (SearchOrder 0..1, FindLookIn 0..2), else 0.
    void SetSearchOrder(uint32_t value);
    void SetFindLookIn(uint32_t value);

    // Ext as a comma list in ascending order: "0,1,2" by default, "" when empty.
    QString ExtText() const;
    // Replaces Ext by the entries of a comma list; an entry that is not an integer counts as 0.
    void SetExtText(const QString& text);

    // Both set FileName only after success; errors raise Exception.
    void Save(const QString& fileName);
    void Load(const QString& fileName);

    QString FileName;
};
