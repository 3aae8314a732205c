#include "engine/readers/xls/XlsReader.h"

#include "engine/model/ReadError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/WorkbookFile.h"
#include "engine/readers/xls/CompoundFile.h"
#include "engine/readers/xls/XlsGlobals.h"
#include "engine/readers/xls/XlsSheetReader.h"

namespace engine {
namespace {

// Larger files are refused before they are read into memory.
constexpr qint64 MaxFileSize = qint64(1) << 30;

}  // namespace

bool XlsReader::IsBareBiff(QByteArrayView head) {
    if (head.size() < 4 || CompoundFile::HasSignature(head)) {
        return false;
    }
    const uint16_t id = uint16_t(uchar(head[0]) | (uchar(head[1]) << 8));
    const uint16_t length = uint16_t(uchar(head[2]) | (uchar(head[3]) << 8));
    const bool bofId = id == 0x0009 || id == 0x0209 || id == 0x0409 || id == 0x0809;
    return bofId && length >= 4 && length <= 20;
}

XlsReader::XlsReader(const QString& path) : path_(path) {
    QByteArray data = WorkbookFile::ReadAll(path_, MaxFileSize);
    if (IsBareBiff(data)) {
        throw ReadError(ReadErrorCode::OldBiffWorksheet);
    }
    const CompoundFile container(std::move(data));
    // An encrypted .xlsx package travels inside a compound file too.
    if (container.HasStream(u"EncryptedPackage") || container.HasStream(u"EncryptionInfo")) {
        throw ReadError(ReadErrorCode::EncryptedPackage);
    }
    // Files saved in both formats carry both streams; the newer one is complete.
    const QStringView name = container.HasStream(u"Workbook") ? QStringView(u"Workbook")
                             : container.HasStream(u"Book")   ? QStringView(u"Book")
                                                              : QStringView();
    if (name.isNull()) {
        throw ReadError(ReadErrorCode::NoWorkbookStream);
    }
    globals_ = std::make_unique<XlsGlobals>(container.ReadStream(name));
}

XlsReader::~XlsReader() = default;

void XlsReader::ReadWorkbook(Workbook& book) {
    globals_->FillWorkbook(book);
}

void XlsReader::ReadWorksheet(int index, Workbook& book, Worksheet& sheet) {
    XlsSheetReader reader(*globals_, book, sheet);
    reader.Read(globals_->WorksheetOffset(index));
}

}  // namespace engine
