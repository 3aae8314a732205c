#include "engine/model/ReadError.h"

namespace engine {

EngineErrorKind KindOf(ReadErrorCode code) {
    using C = ReadErrorCode;
    switch (code) {
        case C::FileNotFound:
            return EngineErrorKind::FileNotFound;
        case C::FileUnreadable:
        case C::NotRegularFile:
        case C::FileShrank:
        case C::ZipInflateUnavailable:
            return EngineErrorKind::CannotRead;
        case C::EncryptedPackage:
        case C::ZipMemberEncrypted:
        case C::BiffEncrypted:
            return EngineErrorKind::Encrypted;
        case C::OldBiffWorksheet:
        case C::NoWorkbookStream:
        case C::NotSpreadsheetMl:
        case C::ZipMethodUnsupported:
        case C::BiffVersion:
            return EngineErrorKind::Unsupported;
        case C::FileTooLarge:
        case C::OutOfMemory:
        case C::ZipTooManyMembers:
        case C::ZipInflatesTooLarge:
        case C::XmlMarkupTooLong:
        case C::TooManyCells:
        case C::CsvFieldOutsideSheet:
            return EngineErrorKind::TooLarge;
        default:
            return EngineErrorKind::Damaged;
    }
}

ReadError::ReadError(ReadErrorCode code, Place place) : code_(code), place_(std::move(place)) {
    what_ = Detail().toStdString();
}

QString ReadError::Detail() const {
    QString text = QStringLiteral("read error %1").arg(int(code_));
    if (!place_.part.isEmpty()) {
        text += QStringLiteral(" in %1").arg(place_.part);
    }
    if (place_.record >= 0) {
        text += QStringLiteral(", record 0x%1").arg(place_.record, 4, 16, QLatin1Char('0'));
    }
    if (place_.offset >= 0) {
        text += QStringLiteral(", offset %1").arg(place_.offset);
    }
    if (place_.expected >= 0) {
        text += QStringLiteral(", expected %1").arg(place_.expected);
    }
    if (place_.found >= 0) {
        text += QStringLiteral(", found %1").arg(place_.found);
    }
    return text;
}

}  // namespace engine
