// The relationships of a package part (`_rels/.rels`, `xl/_rels/workbook.xml.rels`, ...):
// how the reader finds the workbook, its sheets, strings, styles and comments without
// assuming file names. Types are kept by the last segment of their URI, so Transitional and
// Strict packages read alike; targets are resolved to zip member names.
#pragma once

#include "engine/readers/xlsx/XmlHandler.h"

#include <QString>
#include <vector>

namespace engine {

class ZipArchive;

class PackageRelationships : public XmlHandler {
public:
    struct Relationship {
        QString id;
        QString type;    // last segment: "officeDocument", "worksheet", "comments", ...
        QString target;  // zip member name; empty for an external target
    };

    // The relationships of `partName` ("" for the package itself); none when the part has no
    // relationships part.
    static std::vector<Relationship> Read(ZipArchive& zip, const QString& partName);
    // The first relationship of `type`, or null.
    static const Relationship* FindType(const std::vector<Relationship>& relationships,
                                        QStringView type);
    // `target` as seen from `partName`: relative to its folder or absolute, percent-decoded.
    static QString Resolve(const QString& partName, const QString& target);

    void StartElement(std::string_view name, const char** attributes) override;
    void EndElement(std::string_view) override {}

private:
    explicit PackageRelationships(QString partName) : partName_(std::move(partName)) {}

    QString partName_;
    std::vector<Relationship> relationships_;
};

}  // namespace engine
