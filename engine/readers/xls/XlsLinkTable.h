// The names a formula refers to outside its own cell: the workbook's sheets (for 3-D
// references), the external books and add-ins (SUPBOOK, EXTERNSHEET, EXTERNNAME) and the
// defined names (LBL). The globals reader fills it; the formula decompiler asks it for the
// text of a sheet prefix or a name.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace engine {

class XlsLinkTable {
public:
    enum class BookKind { Self, AddIns, External };

    // Filling, in file order.
    void AddSheet(const QString& name) { sheets_.push_back(name); }
    void AddSupBook(BookKind kind, const QString& fileName = {}, const QStringList& sheets = {});
    void AddExternName(const QString& name);  // belongs to the last SUPBOOK
    void AddXti(uint16_t supBook, int16_t firstSheet, int16_t lastSheet);
    void AddDefinedName(const QString& name) { definedNames_.push_back(name); }
    void AddExternSheet(const QString& name) { externSheets_.push_back(name); }  // BIFF5

    // "Sheet1!", "'My Sheet'!", "Sheet1:Sheet3!", "[Book.xls]Sheet1!" or "#REF!".
    QString SheetPrefix(uint16_t xti) const;
    // BIFF5: a negative `externSheet` means this workbook's sheets `first`..`last`.
    QString Biff5SheetPrefix(int16_t externSheet, int16_t first, int16_t last) const;
    // 1-based, as formulas store them; "#NAME?" for an index that names nothing.
    QString DefinedName(uint32_t index) const;
    QString ExternName(uint16_t xti, uint32_t index) const;
    // BIFF5: external names are counted over the whole workbook.
    QString Biff5ExternName(uint32_t index) const;

    // The sheet name as a formula writes it: in single quotes (inner quotes doubled) when
    // it holds anything but letters, digits, "_" and ".", starts with a digit, or reads
    // as a cell reference.
    static QString QuoteSheetName(const QString& name);

private:
    struct Book {
        BookKind kind = BookKind::Self;
        QString fileName;
        QStringList sheets;
        QStringList names;
    };
    struct Xti {
        uint16_t book = 0;
        int16_t first = 0;
        int16_t last = 0;
    };

    QString InternalPrefix(int first, int last) const;

    QStringList sheets_;
    std::vector<Book> books_;
    std::vector<Xti> xtis_;
    QStringList definedNames_;
    QStringList externSheets_;
    QStringList allExternNames_;
};

}  // namespace engine
