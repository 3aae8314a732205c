// Edits the text of a freedesktop mimeapps.list, touching only the one entry of one MIME type
// in [Default Applications]: the desktop entry is put first in (or taken out of) that entry's
// list, so a default the user had before comes back when ours is removed. Every other line
// keeps its bytes.
#pragma once

#include <QString>

class MimeAppsList {
public:
    static QString WithDefault(const QString& text, const QString& mimeType,
                               const QString& desktopId);
    // An entry left without applications goes, and so does a [Default Applications] section
    // left empty; an empty result means the file holds nothing any more.
    static QString WithoutDefault(const QString& text, const QString& mimeType,
                                  const QString& desktopId);
};
