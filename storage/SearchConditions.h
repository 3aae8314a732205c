// What one search run consumes: the conditions the user sets. A project holds one set of them
// (TProject), the window's controls show one, the command line builds one.
#pragma once

#include <QString>
#include <set>

struct SearchConditions {
    QString Dir;
    bool IsSearchSubDir = false;
    QString Word;
    int SearchOrder = 0;  // 0 by rows, 1 by columns
    int FindLookIn = 0;   // 0 formulas, 1 values, 2 comments
    bool MatchCase = false;
    bool MatchByte = true;
    bool LookAt = false;  // true: the whole cell must equal the word
    std::set<int> Ext = {0, 1, 2};
};
