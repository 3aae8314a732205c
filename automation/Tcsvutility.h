// Column letters (A, B, ..., Z, AA, ..., XFD) and zero-based column indexes, both ways.
#pragma once

#include <QString>

class TCsvUtility {
public:
    // Highest index either function accepts or produces (XFD).
    static constexpr int MaxColumnIndex = 16383;

    // The letters of the index; "" when it is negative or beyond MaxColumnIndex.
    static QString ColumnIndexToName(int index);
    // The same letters appended to `out`, for callers that build a longer text.
    static void AppendColumnName(int index, QString& out);
    // The index of the letters (either case); -1 when empty, not letters A-Z, or beyond the limit.
    static int ColumnNameToIndex(const QString& name);
};
