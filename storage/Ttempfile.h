// A scoped temporary file: it exists, empty, from construction on and is deleted on destruction.
#pragma once

#include <QString>

class TTempFile {
public:
    // Creates the file in the folder (the temporary directory when empty). A non-empty extension
    // (with its dot) replaces ".TMP" unless a file of that name already exists.
    explicit TTempFile(const QString& extension = {}, const QString& folder = {});
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    virtual ~TTempFile();

    QString GetFileName() const { return fileName_; }

private:
    QString fileName_;
};
