#include "engine/readers/xlsx/XlsxReader.h"

#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/xlsx/CommentsPart.h"
#include "engine/readers/xlsx/PackageRelationships.h"
#include "engine/readers/xlsx/SharedStringsPart.h"
#include "engine/readers/xlsx/StylesPart.h"
#include "engine/readers/xlsx/WorkbookPart.h"
#include "engine/readers/xlsx/WorksheetPart.h"
#include "engine/readers/xlsx/WorksheetSplit.h"
#include "engine/readers/xlsx/XmlStream.h"
#include "engine/readers/xlsx/ZipArchive.h"

#include <QSet>

namespace engine {

XlsxReader::XlsxReader(const QString& path, ReadPolicy policy) : path_(path), policy_(policy) {
    zip_ = std::make_unique<ZipArchive>(path_, policy_);
}

XlsxReader::~XlsxReader() = default;

void XlsxReader::ReadWorkbook(Workbook& book) {
    const auto package = PackageRelationships::Read(*zip_, QString());
    const auto* document = PackageRelationships::FindType(package, u"officeDocument");
    // Other zip-based formats: binary workbooks (.xlsb) and OpenDocument spreadsheets.
    if ((document && document->target.endsWith(u".bin", Qt::CaseInsensitive)) ||
        (!document && zip_->Find(u"mimetype"))) {
        throw ReadError(ReadErrorCode::NotSpreadsheetMl);
    }
    if (!document || !zip_->Find(document->target)) {
        throw ReadError(ReadErrorCode::NoWorkbookPart);
    }
    const QString workbookPath = document->target;
    WorkbookPart workbook;
    XmlStream::ParsePart(*zip_, workbookPath, workbook);
    book.SetDate1904(workbook.Date1904());
    date1904_ = workbook.Date1904();
    fullCalcOnLoad_ = workbook.FullCalcOnLoad();

    const auto relationships = PackageRelationships::Read(*zip_, workbookPath);
    for (const WorkbookPart::SheetEntry& entry : workbook.Sheets()) {
        for (const auto& relationship : relationships) {
            // Chart, dialog and macro sheets are not worksheets.
            if (relationship.id == entry.relationshipId &&
                relationship.type.compare(u"worksheet", Qt::CaseInsensitive) == 0) {
                sheets_.push_back({entry.name, relationship.target});
                book.AddSheetName(entry.name);
                break;
            }
        }
    }
    // A styles or shared-strings part that the relationships name but the package lacks
    // reads as an empty part, as other readers take it.
    const auto present = [this](const PackageRelationships::Relationship* part) {
        return part && zip_->Find(part->target);
    };
    if (const auto* styles = PackageRelationships::FindType(relationships, u"styles");
        present(styles)) {
        StylesPart part;
        XmlStream::ParsePart(*zip_, styles->target, part);
        for (const QString& code : part.CellFormatCodes()) {
            cellFormats_.push_back(book.AddFormat(code));
        }
    }
    if (const auto* strings = PackageRelationships::FindType(relationships, u"sharedStrings");
        present(strings)) {
        SharedStringsPart::Read(*zip_, strings->target, book, sharedStrings_);
    }
}

void XlsxReader::ReadWorksheet(int index, Workbook& book, Worksheet& sheet) {
    if (index < 0 || static_cast<size_t>(index) >= sheets_.size()) {
        throw ReadError(ReadErrorCode::NoWorksheetPart,
                        {.expected = int64_t(sheets_.size()), .found = index});
    }
    const QString& partName = sheets_[static_cast<size_t>(index)].path;
    const ZipArchive::Entry* entry = zip_->Find(partName);
    if (!entry) {
        throw ReadError(ReadErrorCode::NoWorksheetPart, {.part = partName});
    }
    const WorksheetPart::Context context{sharedStrings_, cellFormats_, date1904_,
                                         entry->uncompressedSize, fullCalcOnLoad_};
    ZipArchive::Inflated xml;
    if (entry->uncompressedSize >= WorksheetSplit::MinimumSize &&
        entry->uncompressedSize <= WorksheetSplit::MaximumSize && zip_->ReadWhole(*entry, xml)) {
        if (policy_.MayUseSecondThread()) {
            WorksheetSplit::Read(book, sheet, context, partName, xml.View());
        } else {
            WorksheetPart part(book, sheet, context, partName);
            part.FeedInPieces(xml.View());
            part.Finish();
        }
    } else {
        WorksheetPart part(book, sheet, context, partName);
        zip_->Read(*entry, [&part](std::string_view chunk) { part.Feed(chunk); });
        part.Finish();
    }
    ReadNotes(partName, sheet);
}

void XlsxReader::ReadNotes(const QString& partName, Worksheet& sheet) {
    const auto relationships = PackageRelationships::Read(*zip_, partName);
    QSet<qint64> noted;
    const auto key = [](const CellNote& note) {
        return (static_cast<qint64>(note.row) << 20) | note.column;
    };
    for (const auto& relationship : relationships) {
        const bool legacy = relationship.type.compare(u"comments", Qt::CaseInsensitive) == 0;
        if (!legacy || !zip_->Find(relationship.target)) {
            continue;
        }
        CommentsPart comments(CommentsPart::Kind::Legacy);
        XmlStream::ParsePart(*zip_, relationship.target, comments);
        for (CellNote& note : comments.Notes()) {
            noted.insert(key(note));
            sheet.AddNote(std::move(note));
        }
    }
    // Threaded comments count only where a cell has no legacy note.
    for (const auto& relationship : relationships) {
        if (relationship.type.compare(u"threadedComment", Qt::CaseInsensitive) != 0 ||
            !zip_->Find(relationship.target)) {
            continue;
        }
        CommentsPart threads(CommentsPart::Kind::Threaded);
        XmlStream::ParsePart(*zip_, relationship.target, threads);
        for (CellNote& note : threads.Notes()) {
            if (!noted.contains(key(note))) {
                sheet.AddNote(std::move(note));
            }
        }
    }
}

}  // namespace engine
