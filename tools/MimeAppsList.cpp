#include "tools/MimeAppsList.h"

#include <QStringList>
#include <algorithm>
#include <optional>

namespace {

const QString kSection = QStringLiteral("[Default Applications]");

struct Lines {
    QStringList lines;
    bool endsWithNewline = false;
};

Lines SplitLines(const QString& text) {
    Lines result;
    result.endsWithNewline = text.isEmpty() || text.endsWith(QLatin1Char('\n'));
    result.lines = text.split(QLatin1Char('\n'));
    if (result.endsWithNewline) {
        result.lines.removeLast();
    }
    return result;
}

QString JoinLines(const Lines& lines) {
    if (lines.lines.isEmpty()) {
        return {};
    }
    return lines.lines.join(QLatin1Char('\n')) +
           (lines.endsWithNewline ? QStringLiteral("\n") : QString());
}

bool IsSectionHeader(const QString& line) {
    return line.trimmed().startsWith(QLatin1Char('['));
}

// The section's header line and the line after its last one.
struct SectionRange {
    qsizetype header;
    qsizetype end;
};

std::optional<SectionRange> FindSection(const QStringList& lines) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() == kSection) {
            qsizetype end = i + 1;
            while (end < lines.size() && !IsSectionHeader(lines[end])) {
                ++end;
            }
            return SectionRange{i, end};
        }
    }
    return std::nullopt;
}

std::optional<qsizetype> FindEntry(const QStringList& lines, const SectionRange& range,
                                   const QString& mimeType) {
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const qsizetype equals = lines[i].indexOf(QLatin1Char('='));
        if (equals > 0 && lines[i].left(equals).trimmed() == mimeType) {
            return i;
        }
    }
    return std::nullopt;
}

struct Entry {
    QStringList applications;
    bool trailingSeparator = false;
};

Entry ParseEntry(const QString& line) {
    const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    return {value.split(QLatin1Char(';'), Qt::SkipEmptyParts), value.endsWith(QLatin1Char(';'))};
}

QString FormatEntry(const QString& mimeType, const Entry& entry) {
    return mimeType + QLatin1Char('=') + entry.applications.join(QLatin1Char(';')) +
           (entry.trailingSeparator ? QStringLiteral(";") : QString());
}

}  // namespace

QString MimeAppsList::WithDefault(const QString& text, const QString& mimeType,
                                  const QString& desktopId) {
    Lines lines = SplitLines(text);
    const QString ours = mimeType + QLatin1Char('=') + desktopId;
    const auto range = FindSection(lines.lines);
    if (!range) {
        if (!lines.lines.isEmpty() && !lines.lines.back().trimmed().isEmpty()) {
            lines.lines.append(QString());
        }
        lines.lines.append({kSection, ours});
        lines.endsWithNewline = true;
        return JoinLines(lines);
    }
    if (const auto at = FindEntry(lines.lines, *range, mimeType)) {
        Entry entry = ParseEntry(lines.lines[*at]);
        if (entry.applications.value(0) == desktopId) {
            return text;
        }
        entry.applications.removeAll(desktopId);
        entry.applications.prepend(desktopId);
        lines.lines[*at] = FormatEntry(mimeType, entry);
        return JoinLines(lines);
    }
    // After the section's last entry, before the blank lines that part it from the next one.
    qsizetype insertAt = range->end;
    while (insertAt > range->header + 1 && lines.lines[insertAt - 1].trimmed().isEmpty()) {
        --insertAt;
    }
    lines.lines.insert(insertAt, ours);
    return JoinLines(lines);
}

QString MimeAppsList::WithoutDefault(const QString& text, const QString& mimeType,
                                     const QString& desktopId) {
    Lines lines = SplitLines(text);
    const auto range = FindSection(lines.lines);
    if (!range) {
        return text;
    }
    const auto at = FindEntry(lines.lines, *range, mimeType);
    if (!at) {
        return text;
    }
    Entry entry = ParseEntry(lines.lines[*at]);
    if (entry.applications.removeAll(desktopId) == 0) {
        return text;
    }
    if (!entry.applications.isEmpty()) {
        lines.lines[*at] = FormatEntry(mimeType, entry);
        return JoinLines(lines);
    }
    lines.lines.removeAt(*at);
    const bool sectionEmpty =
        std::all_of(lines.lines.begin() + range->header + 1, lines.lines.begin() + range->end - 1,
                    [](const QString& line) { return line.trimmed().isEmpty(); });
    if (sectionEmpty) {
        lines.lines.remove(range->header, range->end - 1 - range->header);
        // The blank line that parted the section from what came before it goes with it.
        while (!lines.lines.isEmpty() && lines.lines.back().trimmed().isEmpty()) {
            lines.lines.removeLast();
        }
    }
    return JoinLines(lines);
}
