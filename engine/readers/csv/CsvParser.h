// Splits .csv text into records and fields: comma separated (or the character of a first
// line "sep=x"), records ending at CR LF, LF or CR outside quotes, RFC 4180 quoting with
// doubled quotes and line breaks inside quotes. Text after a closing quote is kept; an
// unclosed quote runs to the end of the text. Rows may have any number of fields.
#pragma once

#include <QString>
#include <QStringView>

namespace engine {

class CsvParser {
public:
    explicit CsvParser(QStringView text);

    // Reads the next field into `field`, which stays valid until the next call and as long
    // as the text. Returns false at the end of the text. `endsRecord` tells whether the
    // field was the last of its record.
    bool Next(QStringView& field, bool& endsRecord);

private:
    QStringView Quoted();
    void UnquoteInto(QString& field);
    void SkipLineBreak();

    QStringView text_;
    qsizetype at_ = 0;
    QChar separator_ = u',';
    QString unquoted_;  // a quoted field that is no plain slice of the text
};

}  // namespace engine
