// Writes small .xlsx packages member by member for reader tests: the parts libxlsxwriter
// cannot produce (phonetic runs, cells without references, shared formulas, threaded
// comments, Strict namespaces) and deliberately broken containers.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <utility>
#include <vector>

namespace testpackage {

using Members = std::vector<std::pair<std::string, std::string>>;

// The zip bytes of `members` (deflated unless `stored`).
QByteArray Zip(const Members& members, bool stored = false);

// Writes `bytes` to the scratch folder as `fileName`; returns the path.
QString WriteFile(const QString& fileName, const QByteArray& bytes);

// A one-sheet workbook ("Sheet1") whose worksheet holds `sheetData` (the rows), with optional
// shared strings and styles parts; `extra` members are added as they are.
Members Workbook(const std::string& sheetData, const std::string& sharedStrings = {},
                 const std::string& styles = {}, const Members& extra = {});

// A relationships part and one relationship in it (`type` is the last segment of the URI).
std::string Relationships(const std::string& body);
std::string Relationship(const std::string& id, const std::string& type, const std::string& target);

// A worksheet part around `sheetData`.
std::string Sheet(const std::string& sheetData, const std::string& before = {});

}  // namespace testpackage
