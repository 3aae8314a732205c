// A list of strings held in one INI value: entries joined by ",", an entry holding a blank, a
// control character, a "," or a double quote enclosed in double quotes (inner quotes doubled).
#pragma once

#include <QString>
#include <QStringList>

class CommaList {
public:
    // The empty list is the empty text; a list of one empty entry is two double quotes.
    static QString Join(const QStringList& entries);
    // Skips blanks and control characters between entries; a quoted entry runs to its closing
    // quote (or the end of the text); a "," at the very end adds one empty entry.
    static QStringList Split(const QString& text);
};
