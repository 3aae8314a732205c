// Replaces a file's whole content so that readers and crashes see either the old or the new
// content, never a mix: the bytes go to a new file in the same folder, are synced, and the new
// file is renamed over the old one. (QSaveFile is not used: it reports success when a full disk
// cuts a write short.)
#pragma once

#include <QByteArray>
#include <QString>

// Raises Exception naming the file and the cause; the old file is then untouched and no
// temporary file is left behind.
void WriteFileAtomically(const QString& path, const QByteArray& bytes);
