// The real fixtures' manifest: for chosen words, the cells two independent engines agree hold
// them (file relative to the fixture folder, 1-based worksheet number, cell, where it matched).
#pragma once

#include <QString>
#include <vector>

struct ManifestRow {
    QString word;
    QString file;
    QString sheetNumber;
    QString sheetName;
    QString cell;
    QString where;  // value, formula or comment
    QString text;
    QString formula;
    QString comment;
};

// Reads manifest.csv (quoted fields may hold commas, doubled quotes and line breaks).
std::vector<ManifestRow> ReadManifest(const QString& path);
