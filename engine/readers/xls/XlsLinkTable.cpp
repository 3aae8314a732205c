#include "engine/readers/xls/XlsLinkTable.h"

#include <QRegularExpression>

namespace engine {
namespace {

const QString RefError = QStringLiteral("#REF!");
const QString NameError = QStringLiteral("#NAME?");

bool ReadsAsReference(const QString& name) {
    static const QRegularExpression a1(QStringLiteral("^[A-Za-z]{1,3}[0-9]+$"));
    static const QRegularExpression r1c1(QStringLiteral("^[Rr][0-9]*([Cc][0-9]*)?$|^[Cc][0-9]*$"));
    return a1.match(name).hasMatch() || r1c1.match(name).hasMatch();
}

}  // namespace

void XlsLinkTable::AddSupBook(BookKind kind, const QString& fileName, const QStringList& sheets) {
    books_.push_back(Book{kind, fileName, sheets, {}});
}

void XlsLinkTable::AddExternName(const QString& name) {
    if (books_.empty()) {
        books_.push_back(Book{BookKind::AddIns, {}, {}, {}});
    }
    books_.back().names.push_back(name);
    allExternNames_.push_back(name);
}

void XlsLinkTable::AddXti(uint16_t supBook, int16_t firstSheet, int16_t lastSheet) {
    xtis_.push_back(Xti{supBook, firstSheet, lastSheet});
}

QString XlsLinkTable::QuoteSheetName(const QString& name) {
    bool plain = !name.isEmpty() && !name.front().isDigit() && !ReadsAsReference(name);
    for (const QChar c : name) {
        if (!plain) {
            break;
        }
        plain = c.isLetterOrNumber() || c == u'_' || c == u'.';
    }
    if (plain) {
        return name;
    }
    QString quoted = name;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

QString XlsLinkTable::InternalPrefix(int first, int last) const {
    if (first < 0 || first >= sheets_.size() || last < 0 || last >= sheets_.size()) {
        return RefError;  // a deleted sheet
    }
    if (first == last) {
        return QuoteSheetName(sheets_[first]) + u'!';
    }
    const QString span = sheets_[first] + u':' + sheets_[last];
    const bool quote = QuoteSheetName(sheets_[first]) != sheets_[first] ||
                       QuoteSheetName(sheets_[last]) != sheets_[last];
    return (quote ? u'\'' + QString(span).replace(u'\'', QStringLiteral("''")) + u'\'' : span) +
           u'!';
}

QString XlsLinkTable::SheetPrefix(uint16_t xti) const {
    if (xti >= xtis_.size()) {
        return RefError;
    }
    const Xti& entry = xtis_[xti];
    if (entry.book >= books_.size() || books_[entry.book].kind == BookKind::Self) {
        return InternalPrefix(entry.first, entry.last);
    }
    const Book& book = books_[entry.book];
    if (entry.first < 0 || entry.first >= book.sheets.size()) {
        return QStringLiteral("[%1]").arg(book.fileName) + RefError;
    }
    return QuoteSheetName(QStringLiteral("[%1]%2").arg(book.fileName, book.sheets[entry.first])) +
           u'!';
}

QString XlsLinkTable::Biff5SheetPrefix(int16_t externSheet, int16_t first, int16_t last) const {
    if (externSheet < 0) {
        return InternalPrefix(first, last);
    }
    if (externSheet >= 1 && externSheet <= externSheets_.size()) {
        return QuoteSheetName(externSheets_[externSheet - 1]) + u'!';
    }
    return RefError;
}

QString XlsLinkTable::DefinedName(uint32_t index) const {
    if (index == 0 || index > uint32_t(definedNames_.size())) {
        return NameError;
    }
    return definedNames_[index - 1];
}

QString XlsLinkTable::ExternName(uint16_t xti, uint32_t index) const {
    if (xti >= xtis_.size() || xtis_[xti].book >= books_.size()) {
        return NameError;
    }
    const Book& book = books_[xtis_[xti].book];
    if (index == 0 || index > uint32_t(book.names.size())) {
        return NameError;
    }
    return book.names[index - 1];
}

QString XlsLinkTable::Biff5ExternName(uint32_t index) const {
    if (index == 0 || index > uint32_t(allExternNames_.size())) {
        return NameError;
    }
    return allExternNames_[index - 1];
}

}  // namespace engine
