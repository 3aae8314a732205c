// One INI text file held in memory: typed reads with the caller's default, typed writes, and an
// atomic rewrite of the whole document on request. Unknown sections and keys keep their places;
// the file's encoding (see TextEncoding) is kept on the rewrite.
#pragma once

#include "storage/TextEncoding.h"

#include <QString>
#include <cstdint>
#include <vector>

class IniDocument {
public:
    // Loads the file; a missing file gives an empty document. Raises Exception when the file
    // exists but cannot be read.
    explicit IniDocument(const QString& path);

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, "$" hexadecimal or "0x" hexadecimal; anything else (or out of 32-bit range) gives
    // the default.
    int32_t ReadInteger(const QString& section, const QString& key, int32_t def) const;
    // Read as an integer, non-zero being true.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int32_t value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // Writes the whole document to a temporary file beside the target and renames it over the
    // target. Raises Exception on failure; the old file is then untouched.
    void UpdateFile();

    // Parses an integer value the way ReadInteger does; false when it is not one.
    static bool ParseInteger(const QString& text, int32_t& result);

private:
    struct Entry {
        QString key;
        QString value;
        bool hasValue = true;  // false for a line without "=", kept as it was
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
    };

    void Parse(const QString& text);
    const Entry* FindEntry(const QString& section, const QString& key) const;
    Section& SectionForWrite(const QString& section);
    QString Serialize() const;

    QString path_;
    TextEncoding encoding_;
    std::vector<Section> sections_;
};
