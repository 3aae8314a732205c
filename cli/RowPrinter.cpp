#include "cli/RowPrinter.h"

#include <QStringList>

namespace {

QStringList Fields(const ResultRow& row) {
    return {row.Book, row.SheetNumber, row.SheetName, row.Column,
            row.Row,  row.Text,        row.Formula,   row.Comment};
}

const char* const kJsonKeys[] = {"book", "sheetNumber", "sheetName", "column",
                                 "row",  "text",        "formula",   "comment"};

// Characters a terminal acts on or that split lines: C0 controls, DEL, C1 controls and the
// Unicode line and paragraph separators.
bool IsControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

QString Escaped(char16_t c) {
    return c <= 0xFF ? QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'))
                     : QStringLiteral("\\u%1").arg(c, 4, 16, QLatin1Char('0'));
}

QString TsvField(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (const QChar c : field) {
        switch (c.unicode()) {
            case '\t':
                out += QLatin1String("\\t");
                break;
            case '\n':
                out += QLatin1String("\\n");
                break;
            case '\r':
                out += QLatin1String("\\r");
                break;
            case '\\':
                out += QLatin1String("\\\\");
                break;
            default:
                out += IsControl(c.unicode()) ? Escaped(c.unicode()) : QString(c);
        }
    }
    return out;
}

QString CsvField(const QString& field) {
    static const QString special = QStringLiteral(",\"\r\n");
    const bool quote =
        std::any_of(field.begin(), field.end(), [](QChar c) { return special.contains(c); });
    if (!quote) {
        return field;
    }
    QString doubled = field;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString JsonString(const QString& text) {
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        switch (c.unicode()) {
            case '"':
                out += QLatin1String("\\\"");
                break;
            case '\\':
                out += QLatin1String("\\\\");
                break;
            case '\n':
                out += QLatin1String("\\n");
                break;
            case '\r':
                out += QLatin1String("\\r");
                break;
            case '\t':
                out += QLatin1String("\\t");
                break;
            default:
                if (c.unicode() < 0x20) {
                    out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                } else {
                    out += c;
                }
        }
    }
    return out + QLatin1Char('"');
}

}  // namespace

QString RowPrinter::Printable(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        out += IsControl(c.unicode()) ? Escaped(c.unicode()) : QString(c);
    }
    return out;
}

QByteArray RowPrinter::Format(const ResultRow& row) const {
    const QStringList fields = Fields(row);
    QStringList parts;
    switch (format_) {
        case OutputFormat::Tsv:
            for (const QString& field : fields) {
                parts.append(TsvField(field));
            }
            return (parts.join(QLatin1Char('\t')) + QLatin1Char('\n')).toUtf8();
        case OutputFormat::Csv:
            for (const QString& field : fields) {
                parts.append(CsvField(field));
            }
            return (parts.join(QLatin1Char(',')) + QLatin1Char('\n')).toUtf8();
        case OutputFormat::JsonLines:
            for (qsizetype i = 0; i < fields.size(); ++i) {
                parts.append(JsonString(QLatin1String(kJsonKeys[i])) + QLatin1Char(':') +
                             JsonString(fields[i]));
            }
            return (QLatin1Char('{') + parts.join(QLatin1Char(',')) + QLatin1String("}\n"))
                .toUtf8();
    }
    return {};
}

void RowPrinter::Print(const ResultRow& row) {
    const QByteArray line = Format(row);
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out_);
}
