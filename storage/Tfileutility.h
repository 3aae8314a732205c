// The temporary directory and uniquely named temporary files.
#pragma once

#include <QString>

// $TMPDIR, else "/tmp", always with a trailing "/".
QString GetTemporaryDirectory();

// Atomically creates a new empty file named <prefix><random>.TMP in the folder (the temporary
// directory when empty) and returns its path. Raises Exception when it cannot be created.
QString CreateTemporaryFile(const QString& folder, const QString& prefix);

// Renames the file unless the new name is taken; never replaces an existing file.
bool RenameWithoutReplacing(const QString& from, const QString& to);
