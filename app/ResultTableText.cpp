#include "app/ResultTableText.h"

#include "app/ResultListModel.h"

namespace {

void AppendField(QString& out, const QString& field, QChar separator) {
    const bool quote = field.contains(separator) || field.contains(u'"') || field.contains(u'\n') ||
                       field.contains(u'\r');
    if (!quote) {
        out += field;
        return;
    }
    QString doubled = field;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    out += u'"';
    out += doubled;
    out += u'"';
}

void AppendLine(QString& out, const std::vector<QString>& fields, QChar separator) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        AppendField(out, fields[i], separator);
    }
    out += QStringLiteral("\r\n");
}

}  // namespace

QString ResultTableText::Build(const ResultListModel& model, const std::vector<int>& rows,
                               const std::vector<int>& columns, Format format) {
    const QChar separator = format == Format::Csv ? u',' : u'\t';
    QString out;
    std::vector<QString> fields(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        fields[i] = ResultListModel::Captions().at(columns[i]);
    }
    AppendLine(out, fields, separator);
    for (const int row : rows) {
        for (size_t i = 0; i < columns.size(); ++i) {
            fields[i] = model.TextAt(row, columns[i]);
        }
        AppendLine(out, fields, separator);
    }
    return out;
}

QByteArray ResultTableText::FileBytes(const QString& text, Format format) {
    const QByteArray utf8 = text.toUtf8();
    return format == Format::Csv ? QByteArray("\xEF\xBB\xBF") + utf8 : utf8;
}
