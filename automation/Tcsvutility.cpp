#include "automation/Tcsvutility.h"

QString TCsvUtility::ColumnIndexToName(int index) {
    QString name;
    AppendColumnName(index, name);
    return name;
}

void TCsvUtility::AppendColumnName(int index, QString& out) {
    if (index < 0 || index > MaxColumnIndex) {
        return;
    }
    // Bijective base 26: there is no zero digit, so each step borrows one.
    char16_t letters[3];
    int count = 0;
    for (int n = index + 1; n > 0; n = (n - 1) / 26) {
        letters[count++] = static_cast<char16_t>(u'A' + (n - 1) % 26);
    }
    while (count > 0) {
        out += QChar(letters[--count]);
    }
}

int TCsvUtility::ColumnNameToIndex(const QString& name) {
    if (name.isEmpty()) {
        return -1;
    }
    // Full-width letters stay outside A-Z after upper-casing and are rejected.
    const QString upper = name.toUpper();
    int value = 0;
    for (QChar c : upper) {
        if (c < u'A' || c > u'Z') {
            return -1;
        }
        value = value * 26 + (c.unicode() - u'A' + 1);
        // Stop before a long name could overflow; every longer name is beyond the limit too.
        if (value - 1 > MaxColumnIndex) {
            return -1;
        }
    }
    return value - 1;
}
