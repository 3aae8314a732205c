#include "engine/readers/xls/XlsReader.h"

#include "engine/model/EngineError.h"
#include "engine/model/Workbook.h"
#include "engine/readers/WorkbookFile.h"
#include "engine/readers/xls/CompoundFile.h"
#include "engine/readers/xls/XlsFormatError.h"
#include "engine/readers/xls/XlsGlobals.h"
#include "engine/readers/xls/XlsSheetReader.h"

namespace engine {
namespace {

// Larger files are refused before they are read into memory.
constexpr qint64 MaxFileSize = qint64(1) << 30;

// Runs a step of the reader and gives its failure the message the user sees.
template <typename Step>
void Guarded(const QString& path, Step step) {
    try {
        step();
    } catch (const XlsFormatError& error) {
        throw EngineError::ForFile(error.Kind(), path, error.Detail());
    } catch (const std::bad_alloc&) {
        throw EngineError::ForFile(EngineErrorKind::TooLarge, path,
                                   QStringLiteral("out of memory"));
    }
}

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
    Guarded(path_, [this] {
        QByteArray data = WorkbookFile::ReadAll(path_, MaxFileSize);
        if (IsBareBiff(data)) {
            throw XlsFormatError(EngineErrorKind::Unsupported,
                                 QStringLiteral("BIFF2-4 workbook without a compound file"));
        }
        const CompoundFile container(std::move(data));
        // An encrypted .xlsx package travels inside a compound file too.
        if (container.HasStream(u"EncryptedPackage") || container.HasStream(u"EncryptionInfo")) {
            throw XlsFormatError(EngineErrorKind::Encrypted,
                                 QStringLiteral("encrypted Office Open XML package"));
        }
        // Files saved in both formats carry both streams; the newer one is complete.
        const QStringView name = container.HasStream(u"Workbook") ? QStringView(u"Workbook")
                                 : container.HasStream(u"Book")   ? QStringView(u"Book")
                                                                  : QStringView();
        if (name.isNull()) {
            throw XlsFormatError(EngineErrorKind::Unsupported,
                                 QStringLiteral("compound file without a workbook stream"));
        }
        globals_ = std::make_unique<XlsGlobals>(container.ReadStream(name));
    });
}

XlsReader::~XlsReader() = default;

void XlsReader::ReadWorkbook(Workbook& book) {
    Guarded(path_, [&] { globals_->FillWorkbook(book); });
}

void XlsReader::ReadWorksheet(int index, Workbook& book, Worksheet& sheet) {
    Guarded(path_, [&] {
        XlsSheetReader reader(*globals_, book, sheet);
        reader.Read(globals_->WorksheetOffset(index));
    });
}

}  // namespace engine
