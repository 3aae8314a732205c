// Mapping of the search conditions to Find's arguments and to file extensions.
#include "search/ConditionArguments.h"

namespace {

template <typename Table>
int LookUp(const Table& table, int index) {
    if (index < 0 || index >= static_cast<int>(table.size())) {
        index = 0;
    }
    return table[static_cast<size_t>(index)];
}

bool IsFileType(int index) {
    return index >= 0 && index < FileTypeCount;
}

}  // namespace

int LookInArgument(const SearchConditions& conditions) {
    return LookUp(FindLookInTable, conditions.FindLookIn);
}

int LookAtArgument(const SearchConditions& conditions) {
    return conditions.LookAt ? LookAtWhole : LookAtPart;
}

int SearchOrderArgument(const SearchConditions& conditions) {
    return LookUp(SearchOrderTable, conditions.SearchOrder);
}

bool HasFileType(const SearchConditions& conditions) {
    for (int index : conditions.Ext) {
        if (IsFileType(index)) {
            return true;
        }
    }
    return false;
}

QStringList ExtensionList(const SearchConditions& conditions) {
    QStringList exts;
    // The set is ordered, so the list follows the check-list order.
    for (int index : conditions.Ext) {
        if (IsFileType(index)) {
            exts.append(QString::fromLatin1(FileTypeExtensions[static_cast<size_t>(index)]));
        }
    }
    return exts;
}
