#include "Manifest.h"

#include <QFile>
#include <QStringList>

namespace {

std::vector<QStringList> ParseCsv(const QString& text) {
    std::vector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            record.append(field);
            field.clear();
        } else if (c == '\n') {
            record.append(field);
            records.push_back(record);
            record.clear();
            field.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.isEmpty() || !record.isEmpty()) {
        record.append(field);
        records.push_back(record);
    }
    return records;
}

}  // namespace

std::vector<ManifestRow> ReadManifest(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const std::vector<QStringList> records = ParseCsv(QString::fromUtf8(file.readAll()));
    std::vector<ManifestRow> rows;
    for (size_t i = 1; i < records.size(); ++i) {  // the first record is the header
        const QStringList& r = records[i];
        if (r.size() == 9) {
            rows.push_back(ManifestRow{r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8]});
        }
    }
    return rows;
}
