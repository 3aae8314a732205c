#include "storage/CommaList.h"

namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kDelimiter = u',';

// Blanks and every control character separate entries.
bool IsBlank(QChar c) {
    return c.unicode() <= u' ';
}

bool NeedsQuotes(const QString& entry) {
    for (QChar c : entry) {
        if (IsBlank(c) || c == kQuote || c == kDelimiter) {
            return true;
        }
    }
    return false;
}

QString Quoted(const QString& entry) {
    QString inner = entry;
    inner.replace(kQuote, QStringLiteral("\"\""));
    return kQuote + inner + kQuote;
}

// Reads a quoted entry starting at the opening quote at pos; leaves pos after the closing quote,
// or at the end when the quote is never closed.
QString TakeQuoted(const QString& text, qsizetype& pos) {
    QString entry;
    ++pos;
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c != kQuote) {
            entry += c;
        } else if (pos < text.size() && text[pos] == kQuote) {
            entry += kQuote;
            ++pos;
        } else {
            break;
        }
    }
    return entry;
}

void SkipBlanks(const QString& text, qsizetype& pos) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
}

}  // namespace

QString CommaList::Join(const QStringList& entries) {
    if (entries.size() == 1 && entries.front().isEmpty()) {
        return QString(2, kQuote);
    }
    QStringList parts;
    parts.reserve(entries.size());
    for (const QString& entry : entries) {
        parts.append(NeedsQuotes(entry) ? Quoted(entry) : entry);
    }
    return parts.join(kDelimiter);
}

QStringList CommaList::Split(const QString& text) {
    QStringList entries;
    qsizetype pos = 0;
    SkipBlanks(text, pos);
    while (pos < text.size()) {
        if (text[pos] == kQuote) {
            entries.append(TakeQuoted(text, pos));
        } else {
            const qsizetype start = pos;
            while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != kDelimiter) {
                ++pos;
            }
            entries.append(text.mid(start, pos - start));
        }
        SkipBlanks(text, pos);
        if (pos < text.size() && text[pos] == kDelimiter) {
            if (pos + 1 == text.size()) {
                entries.append(QString());
            }
            ++pos;
            SkipBlanks(text, pos);
        }
    }
    return entries;
}
