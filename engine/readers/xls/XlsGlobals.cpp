#include "engine/readers/xls/XlsGlobals.h"

#include "engine/format/BuiltinFormats.h"
#include "engine/model/Cell.h"
#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xls/BiffRecordStream.h"

namespace engine {
namespace {

namespace id {
constexpr uint16_t Bof = 0x0809;
constexpr uint16_t Eof = 0x000A;
constexpr uint16_t FilePass = 0x002F;
constexpr uint16_t CodePageId = 0x0042;
constexpr uint16_t DateMode = 0x0022;
constexpr uint16_t BoundSheet = 0x0085;
constexpr uint16_t Sst = 0x00FC;
constexpr uint16_t Format = 0x041E;
constexpr uint16_t Xf = 0x00E0;
constexpr uint16_t ExternSheet = 0x0017;
constexpr uint16_t SupBook = 0x01AE;
constexpr uint16_t ExternName = 0x0023;
constexpr uint16_t Lbl = 0x0018;
}  // namespace id

constexpr uint16_t Biff8Version = 0x0600;
constexpr uint16_t Biff5Version = 0x0500;
constexpr uint8_t WorksheetType = 0;

// The names of built-in defined names, which the file stores as a one-character code.
QString BuiltinName(const QString& code) {
    static const char* const names[] = {
        "Consolidate_Area", "Auto_Open",       "Auto_Close",   "Extract",        "Database",
        "Criteria",         "Print_Area",      "Print_Titles", "Recorder",       "Data_Form",
        "Auto_Activate",    "Auto_Deactivate", "Sheet_Title",  "_FilterDatabase"};
    const int index = code.isEmpty() ? -1 : code.front().unicode();
    return index >= 0 && index < int(std::size(names)) ? QLatin1String(names[index]) : code;
}

// An external book's path is encoded with control characters for drive and folder steps;
// the formula shows only the file name.
QString ExternalFileName(const QString& encoded) {
    QString name;
    for (const QChar c : encoded) {
        if (c.unicode() < 0x20 || c == u'\\' || c == u'/') {
            if (c.unicode() == 0x03 || c == u'\\' || c == u'/') {
                name.clear();
            }
            continue;
        }
        name.append(c);
    }
    return name;
}

}  // namespace

XlsGlobals::XlsGlobals(QByteArray stream) : stream_(std::move(stream)) {
    BiffRecordStream records(stream_, 0);
    if (!records.Next()) {
        throw ReadError(ReadErrorCode::BiffEmptyStream);
    }
    BiffPayload bof = records.Payload();
    ReadBof(records.Id(), bof);
    while (records.Next() && records.Id() != id::Eof) {
        BiffPayload body = records.Payload();
        switch (records.Id()) {
            case id::FilePass:
                throw ReadError(ReadErrorCode::BiffEncrypted, {.record = id::FilePass});
            case id::CodePageId:
                codePage_ = CodePage(body.U16());
                break;
            case id::DateMode:
                date1904_ = body.U16() == 1;
                break;
            case id::BoundSheet:
                ReadSheetEntry(body);
                break;
            case id::Sst:
                ReadSharedStrings(body);
                break;
            case id::Format: {
                const uint16_t format = body.U16();
                formatCodes_.insert(format, version_ == FormulaDecompiler::Version::Biff8
                                                ? body.UnicodeString16()
                                                : ReadString8(body));
                break;
            }
            case id::Xf:
                body.Skip(2);
                xfFormatIds_.push_back(body.U16());
                break;
            case id::ExternSheet:
                if (version_ == FormulaDecompiler::Version::Biff8) {
                    for (uint16_t n = body.U16(); n > 0; --n) {
                        const uint16_t book = body.U16();
                        const int16_t first = body.S16();
                        links_.AddXti(book, first, body.S16());
                    }
                } else {
                    QString name = ReadString8(body);
                    // A leading marker byte tells a sheet of this book from an external one.
                    if (!name.isEmpty() && name.front().unicode() <= 0x04) {
                        name.remove(0, 1);
                    }
                    links_.AddExternSheet(name);
                }
                break;
            case id::SupBook:
                ReadSupBook(body);
                break;
            case id::ExternName:
                body.Skip(6);
                links_.AddExternName(version_ == FormulaDecompiler::Version::Biff8
                                         ? body.UnicodeString8()
                                         : ReadString8(body));
                break;
            case id::Lbl:
                ReadDefinedName(body);
                break;
            default:
                break;
        }
    }
}

void XlsGlobals::ReadBof(uint16_t recordId, BiffPayload& body) {
    // BIFF2-4 files carry their own BOF ids; they have no workbook globals to read.
    if (recordId == 0x0009 || recordId == 0x0209 || recordId == 0x0409) {
        throw ReadError(ReadErrorCode::BiffVersion, {.record = recordId, .found = recordId});
    }
    if (recordId != id::Bof) {
        throw ReadError(ReadErrorCode::BiffNoBof, {.record = recordId, .offset = 0});
    }
    const uint16_t version = body.U16();
    if (version == Biff8Version) {
        version_ = FormulaDecompiler::Version::Biff8;
    } else if (version == Biff5Version) {
        version_ = FormulaDecompiler::Version::Biff5;
    } else {
        throw ReadError(ReadErrorCode::BiffVersion, {.record = recordId, .found = version});
    }
}

QString XlsGlobals::ReadString8(BiffPayload& body) {
    return body.ByteString(body.U8(), codePage_);
}

void XlsGlobals::ReadSheetEntry(BiffPayload& body) {
    const uint32_t offset = body.U32();
    body.Skip(1);  // visibility: hidden sheets are searched like the others
    const uint8_t type = body.U8();
    const QString name =
        version_ == FormulaDecompiler::Version::Biff8 ? body.UnicodeString8() : ReadString8(body);
    links_.AddSheet(name);
    if (type == WorksheetType) {
        worksheets_.push_back(Sheet{name, qsizetype(offset)});
    }
}

void XlsGlobals::ReadSharedStrings(BiffPayload& body) {
    body.Skip(4);  // total references
    const uint32_t unique = body.U32();
    // The count may lie in either direction: read what is there, allocate for what fits.
    sharedStrings_.reserve(std::min<size_t>(unique, size_t(body.Remaining() / 3)));
    for (uint32_t i = 0; i < unique && body.Remaining() > 0; ++i) {
        sharedStrings_.push_back(body.RichString());
    }
}

void XlsGlobals::ReadSupBook(BiffPayload& body) {
    const uint16_t sheets = body.U16();
    const uint16_t marker = body.U16();
    if (marker == 0x0401) {
        links_.AddSupBook(XlsLinkTable::BookKind::Self);
        return;
    }
    if (marker == 0x3A01) {
        links_.AddSupBook(XlsLinkTable::BookKind::AddIns);
        return;
    }
    const QString path = body.Chars(marker, (body.U8() & 0x01) != 0);
    QStringList names;
    for (uint16_t i = 0; i < sheets && body.Remaining() > 0; ++i) {
        names.push_back(body.UnicodeString16());
    }
    links_.AddSupBook(XlsLinkTable::BookKind::External, ExternalFileName(path), names);
}

void XlsGlobals::ReadDefinedName(BiffPayload& body) {
    const uint16_t flags = body.U16();
    body.Skip(1);
    const uint8_t length = body.U8();
    body.Skip(10);
    QString name = version_ == FormulaDecompiler::Version::Biff8
                       ? body.Chars(length, (body.U8() & 0x01) != 0)
                       : body.ByteString(length, codePage_);
    links_.AddDefinedName((flags & 0x0020) ? BuiltinName(name) : name);
}

void XlsGlobals::FillWorkbook(Workbook& book) {
    book.SetDate1904(date1904_);
    for (const Sheet& sheet : worksheets_) {
        book.AddSheetName(sheet.name);
    }
    sharedStringBase_ = uint32_t(book.StringCount());
    for (const QString& text : sharedStrings_) {
        book.AddString(text);
    }
    sharedStringCount_ = uint32_t(sharedStrings_.size());
    std::vector<QString>().swap(sharedStrings_);
    xfFormats_.clear();
    xfFormats_.reserve(xfFormatIds_.size());
    QHash<int, uint32_t> byId;
    for (uint16_t format : xfFormatIds_) {
        auto it = byId.constFind(format);
        if (it == byId.constEnd()) {
            // A code stored in the file wins over the built-in one of the same id.
            const auto stored = formatCodes_.constFind(format);
            const QString code =
                stored != formatCodes_.constEnd() ? stored.value() : BuiltinFormats::Code(format);
            it = byId.insert(format, book.AddFormat(code));
        }
        xfFormats_.push_back(it.value());
    }
}

qsizetype XlsGlobals::WorksheetOffset(int index) const {
    return worksheets_.at(size_t(index)).offset;
}

uint32_t XlsGlobals::SharedString(uint32_t index) const {
    return index < sharedStringCount_ ? sharedStringBase_ + index : NoString;
}

}  // namespace engine
