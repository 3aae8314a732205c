#include "tests/support/RealManifest.h"

#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QStringList>
#include <utility>

namespace testsupport {
namespace {

// Quoted fields may hold commas, doubled quotes and line breaks.
std::vector<QStringList> ParseCsv(const QString& content) {
    std::vector<QStringList> records;
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < content.size(); ++i) {
        const QChar c = content[i];
        if (quoted && c == u'"' && i + 1 < content.size() && content[i + 1] == u'"') {
            field += u'"';
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u',') {
            fields.push_back(std::exchange(field, QString()));
        } else if (!quoted && c == u'\n') {
            fields.push_back(std::exchange(field, QString()));
            records.push_back(std::exchange(fields, QStringList()));
        } else if (quoted || c != u'\r') {
            field += c;
        }
    }
    return records;
}

void SetPosition(ManifestRow& row) {
    qsizetype i = 0;
    for (; i < row.cell.size() && row.cell[i].isLetter(); ++i) {
        row.column = row.column * 26 + (row.cell[i].toUpper().unicode() - u'A' + 1);
    }
    row.row = row.cell.mid(i).toInt();
}

}  // namespace

std::vector<ManifestRow> ReadRealManifest() {
    const QString dir = RealFixturesDir();
    QFile file(dir + QStringLiteral("/manifest.csv"));
    if (dir.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    std::vector<ManifestRow> rows;
    const auto records = ParseCsv(QString::fromUtf8(file.readAll()));
    for (size_t i = 1; i < records.size(); ++i) {
        const QStringList& r = records[i];
        if (r.size() != 9) {
            continue;
        }
        ManifestRow row{r[0], r[1], r[2].toInt(), r[3], r[4], r[5], r[6], r[7], r[8]};
        SetPosition(row);
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace testsupport
