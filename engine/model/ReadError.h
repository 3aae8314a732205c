// Why a workbook could not be read: which check failed (the code), where (the part, the
// record, the byte offset) and, for a count or a size, what was expected and what was found.
// Readers raise it without naming the file and without user text; EngineError::ForFile turns
// it into the message the user sees.
#pragma once

#include "engine/model/EngineError.h"

#include <QString>
#include <cstdint>
#include <exception>
#include <string>

namespace engine {

enum class ReadErrorCode {
    // The file
    FileNotFound,
    FileUnreadable,  // found: errno
    NotRegularFile,
    FileShrank,    // expected, found: bytes
    FileTooLarge,  // found: bytes
    OutOfMemory,
    // Recognising the format
    NotAWorkbook,      // text named as an .xlsx-family workbook
    OldBiffWorksheet,  // a BIFF2-4 file without a compound file
    EncryptedPackage,  // an encrypted .xlsx in a compound file
    NoWorkbookStream,
    NotSpreadsheetMl,  // .xlsb, OpenDocument
    // Zip container
    ZipTooShort,
    ZipNoEndRecord,
    ZipBadZip64Record,
    ZipTooManyMembers,  // found: members
    ZipBadDirectoryEntry,
    ZipRangePastEnd,  // offset, expected: bytes wanted, found: file size
    ZipNoLocalHeader,
    ZipMemberEncrypted,
    ZipMethodUnsupported,  // found: method
    ZipInflateUnavailable,
    ZipInvalidDeflate,
    ZipMemberTruncated,
    ZipInflateFailed,  // found: zlib status
    ZipInflatesTooLarge,
    ZipCrcMismatch,
    // Compound file
    CfbNoHeader,
    CfbSectorSize,  // expected: sector shift, found: mini sector shift
    CfbFatCount,    // expected: sectors in the file, found: FAT sectors
    CfbDifatBroken,
    CfbFatBeyondFile,
    CfbReadPastEnd,
    CfbNoRoot,
    CfbChainBeyondTable,
    CfbChainLoops,
    CfbStreamLongerThanChain,  // expected: bytes claimed, found: bytes in the chain
    CfbSectorBeyondFile,
    CfbMiniSectorBeyondStream,
    CfbNoStream,
    // BIFF records
    BiffEmptyStream,
    BiffEncrypted,
    BiffVersion,  // found: BOF version or id
    BiffNoBof,
    BiffSubstreamOutside,
    BiffRecordPastEnd,
    BiffRecordShort,  // expected: bytes wanted
    BiffContinueAlone,
    BiffContinueMissing,
    BiffNoEof,
    // Formulas in BIFF records
    FormulaMissingOperand,
    FormulaArgumentCount,  // expected, found: operands
    FormulaArrayPastData,
    FormulaValuesLeft,  // found: values left on the stack
    // XML parts
    XmlPartMissing,
    XmlMarkupTooLong,
    XmlEncoding,
    XmlEndsInMarkup,
    XmlNoRoot,
    XmlUnclosed,
    XmlTextOutsideRoot,
    XmlDoctype,
    XmlMalformedMarkup,
    XmlMalformedStartTag,
    XmlSecondRoot,
    XmlNestedTooDeeply,
    XmlMalformedEndTag,
    XmlEndTagMismatch,
    XmlEntityUnterminated,
    XmlBadCharacterReference,
    XmlUndefinedEntity,
    XmlMalformedAttributes,
    XmlParser,  // found: the parser's error code
    // Workbook and sheet contents
    NoWorkbookPart,
    NoWorksheetPart,
    CellOutsideSheet,  // expected: row, found: column (1-based)
    RowOutsideSheet,   // found: row
    TooManyRows,
    TooManyColumns,
    TooManyCells,
    SharedStringMissing,   // expected: strings, found: index
    CsvFieldOutsideSheet,  // expected: row, found: column
};

// The kind decides the message the user sees.
EngineErrorKind KindOf(ReadErrorCode code);

// Where a failure was found; -1 where it does not apply.
struct ReadErrorPlace {
    QString part = {};  // stream or member name
    int record = -1;
    int64_t offset = -1;
    int64_t expected = -1;
    int64_t found = -1;
};

class ReadError : public std::exception {
public:
    using Place = ReadErrorPlace;

    explicit ReadError(ReadErrorCode code, Place place = {});

    ReadErrorCode Code() const { return code_; }
    EngineErrorKind Kind() const { return KindOf(code_); }
    const Place& Where() const { return place_; }
    // The technical account: code number and place, for a developer reading a report.
    QString Detail() const;
    const char* what() const noexcept override { return what_.c_str(); }

private:
    ReadErrorCode code_;
    Place place_;
    std::string what_;
};

}  // namespace engine
