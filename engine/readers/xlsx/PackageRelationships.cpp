#include "engine/readers/xlsx/PackageRelationships.h"

#include "engine/readers/xlsx/XmlStream.h"
#include "engine/readers/xlsx/ZipArchive.h"

#include <QStringList>
#include <QUrl>

namespace engine {
namespace {

QString RelationshipsPartOf(const QString& partName) {
    const qsizetype slash = partName.lastIndexOf(u'/');
    return partName.left(slash + 1) + QStringLiteral("_rels/") + partName.mid(slash + 1) +
           QStringLiteral(".rels");
}

}  // namespace

std::vector<PackageRelationships::Relationship> PackageRelationships::Read(
    ZipArchive& zip, const QString& partName) {
    const QString relsName = RelationshipsPartOf(partName);
    if (!zip.Find(relsName)) {
        return {};
    }
    PackageRelationships handler(partName);
    XmlStream::ParsePart(zip, relsName, handler);
    return std::move(handler.relationships_);
}

const PackageRelationships::Relationship* PackageRelationships::FindType(
    const std::vector<Relationship>& relationships, QStringView type) {
    for (const Relationship& relationship : relationships) {
        if (relationship.type.compare(type, Qt::CaseInsensitive) == 0) {
            return &relationship;
        }
    }
    return nullptr;
}

QString PackageRelationships::Resolve(const QString& partName, const QString& target) {
    QString path = QUrl::fromPercentEncoding(target.toUtf8());
    path.replace(u'\\', u'/');
    if (!path.startsWith(u'/')) {
        path.prepend(partName.left(partName.lastIndexOf(u'/') + 1));
    }
    QStringList parts;
    for (const QString& segment : path.split(u'/', Qt::SkipEmptyParts)) {
        if (segment == u"..") {
            if (!parts.isEmpty()) {
                parts.removeLast();
            }
        } else if (segment != u".") {
            parts.append(segment);
        }
    }
    return parts.join(u'/');
}

void PackageRelationships::StartElement(std::string_view name, const char** attributes) {
    if (name != "Relationship") {
        return;
    }
    const char* id = Attribute(attributes, "Id");
    const char* type = Attribute(attributes, "Type");
    const char* target = Attribute(attributes, "Target");
    const char* mode = Attribute(attributes, "TargetMode");
    if (!id || !type || !target) {
        return;
    }
    Relationship relationship;
    relationship.id = QString::fromUtf8(id);
    const QString fullType = QString::fromUtf8(type);
    relationship.type = fullType.mid(fullType.lastIndexOf(u'/') + 1);
    if (!mode || std::string_view(mode) != "External") {
        relationship.target = Resolve(partName_, QString::fromUtf8(target));
    }
    relationships_.push_back(std::move(relationship));
}

}  // namespace engine
