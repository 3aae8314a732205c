// The manifest of the real fixture workbooks (manifest.csv beside them): for chosen words, the
// cells where the word occurs, with the texts two independent engines show there.
#pragma once

#include <QString>
#include <vector>

namespace testsupport {

struct ManifestRow {
    QString word, file;  // file relative to the fixture folder
    int sheetNumber = 0;
    QString sheetName, cell, where, text, formula, comment;
    int column = 0, row = 0;  // of `cell`, 1-based
};

// The manifest's rows, or none when the fixture folder is absent.
std::vector<ManifestRow> ReadRealManifest();

}  // namespace testsupport
