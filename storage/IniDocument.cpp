#include "storage/IniDocument.h"

#include "storage/AtomicFile.h"
#include "storage/Exception.h"

#include <QFile>
#include <QFileInfo>
#include <limits>

namespace {

// Far above any settings or project file (a few kilobytes); keeps a wrong or hostile file from
// exhausting memory, as each line costs some hundred bytes once parsed.
constexpr qint64 kMaxFileSize = qint64(1) * 1024 * 1024;

// Blanks and control characters count as surrounding space, as in the file format.
QStringView TrimLine(QStringView line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && line[begin].unicode() <= u' ') {
        ++begin;
    }
    while (end > begin && line[end - 1].unicode() <= u' ') {
        --end;
    }
    return line.sliced(begin, end - begin);
}

bool SameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A line break inside a value would split it into lines of its own on the next load.
QString SingleLine(const QString& text) {
    QString line = text;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    return line;
}

// Accumulates digits of the given base into magnitude; false on a non-digit, no digits at all,
// or a magnitude beyond limit.
bool ParseDigits(QStringView digits, int base, uint64_t limit, uint64_t& magnitude) {
    if (digits.isEmpty()) {
        return false;
    }
    magnitude = 0;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        int digit = 0;
        if (u >= u'0' && u <= u'9') {
            digit = u - u'0';
        } else if (base == 16 && u >= u'a' && u <= u'f') {
            digit = u - u'a' + 10;
        } else if (base == 16 && u >= u'A' && u <= u'F') {
            digit = u - u'A' + 10;
        } else {
            return false;
        }
        magnitude = magnitude * base + digit;
        if (magnitude > limit) {
            return false;
        }
    }
    return true;
}

}  // namespace

IniDocument::IniDocument(const QString& path) : path_(path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return;
    }
    const auto fail = [&path](const QString& reason) {
        return Exception(
            QStringLiteral("ファイルを読み込めませんでした。\n%1\n%2").arg(path, reason));
    };
    // A folder, device or pipe at the path could block or never end.
    if (!info.isFile()) {
        throw fail(QStringLiteral("通常のファイルではありません。"));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw fail(file.errorString());
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize) {
        throw fail(QStringLiteral("ファイルが大きすぎます。"));
    }
    if (file.error() != QFileDevice::NoError) {
        throw fail(file.errorString());
    }
    Parse(TextEncoding::Decode(bytes, encoding_));
}

void IniDocument::Parse(const QString& text) {
    Section* current = nullptr;
    const QStringView all(text);
    qsizetype pos = 0;
    while (pos < all.size()) {
        qsizetype end = pos;
        while (end < all.size() && all[end] != u'\r' && all[end] != u'\n') {
            ++end;
        }
        const QStringView line = TrimLine(all.sliced(pos, end - pos));
        pos = end;
        if (pos < all.size()) {
            const bool crlf = all[pos] == u'\r' && pos + 1 < all.size() && all[pos + 1] == u'\n';
            pos += crlf ? 2 : 1;
        }

        if (line.isEmpty() || line.startsWith(u';')) {
            continue;
        }
        if (line.size() >= 2 && line.startsWith(u'[') && line.endsWith(u']')) {
            sections_.push_back({TrimLine(line.sliced(1, line.size() - 2)).toString(), {}});
            current = &sections_.back();
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) {
            current->entries.push_back({line.toString(), QString(), false});
        } else {
            current->entries.push_back({TrimLine(line.first(equals)).toString(),
                                        TrimLine(line.sliced(equals + 1)).toString(), true});
        }
    }
}

const IniDocument::Entry* IniDocument::FindEntry(const QString& section, const QString& key) const {
    for (const Section& s : sections_) {
        if (!SameName(s.name, section)) {
            continue;
        }
        for (const Entry& e : s.entries) {
            if (e.hasValue && SameName(e.key, key)) {
                return &e;
            }
        }
    }
    return nullptr;
}

IniDocument::Section& IniDocument::SectionForWrite(const QString& section) {
    for (Section& s : sections_) {
        if (SameName(s.name, section)) {
            return s;
        }
    }
    sections_.push_back({SingleLine(section), {}});
    return sections_.back();
}

QString IniDocument::ReadString(const QString& section, const QString& key,
                                const QString& def) const {
    const Entry* entry = FindEntry(section, key);
    return entry != nullptr ? entry->value : def;
}

int32_t IniDocument::ReadInteger(const QString& section, const QString& key, int32_t def) const {
    const Entry* entry = FindEntry(section, key);
    int32_t value = 0;
    return entry != nullptr && ParseInteger(entry->value, value) ? value : def;
}

bool IniDocument::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void IniDocument::WriteString(const QString& section, const QString& key, const QString& value) {
    Section& s = SectionForWrite(section);
    for (Entry& e : s.entries) {
        if (e.hasValue && SameName(e.key, key)) {
            e.value = SingleLine(value);
            return;
        }
    }
    s.entries.push_back({SingleLine(key), SingleLine(value), true});
}

void IniDocument::WriteInteger(const QString& section, const QString& key, int32_t value) {
    WriteString(section, key, QString::number(value));
}

void IniDocument::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString IniDocument::Serialize() const {
    static const QString kEol = QStringLiteral("\r\n");
    QString text;
    for (const Section& s : sections_) {
        text += u'[' + s.name + u']' + kEol;
        for (const Entry& e : s.entries) {
            text += e.hasValue ? e.key + u'=' + e.value + kEol : e.key + kEol;
        }
        text += kEol;
    }
    return text;
}

void IniDocument::UpdateFile() {
    WriteFileAtomically(path_, encoding_.Encode(Serialize()));
}

bool IniDocument::ParseInteger(const QString& text, int32_t& result) {
    QStringView rest(text);
    const bool negative = rest.startsWith(u'-');
    if (negative || rest.startsWith(u'+')) {
        rest = rest.sliced(1);
    }
    int base = 10;
    if (rest.startsWith(u'$')) {
        base = 16;
        rest = rest.sliced(1);
    } else if (rest.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        base = 16;
        rest = rest.sliced(2);
    }
    const uint64_t limit = negative ? uint64_t(std::numeric_limits<int32_t>::max()) + 1
                                    : uint64_t(std::numeric_limits<int32_t>::max());
    uint64_t magnitude = 0;
    if (!ParseDigits(rest, base, limit, magnitude)) {
        return false;
    }
    result = negative ? int32_t(-int64_t(magnitude)) : int32_t(magnitude);
    return true;
}
