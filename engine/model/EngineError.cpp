#include "engine/model/EngineError.h"

#include "engine/model/ReadError.h"

#include <QDir>

namespace engine {
namespace {

QString FileMessage(const ReadError& error, const QString& path) {
    const QString name = QDir::toNativeSeparators(path);
    if (error.Code() == ReadErrorCode::OldBiffWorksheet) {
        return QStringLiteral("ファイル「%1」は古い形式 (Excel 4.0 以前) のため開けません。")
            .arg(name);
    }
    switch (error.Kind()) {
        case EngineErrorKind::FileNotFound:
            return QStringLiteral("ファイル「%1」が見つかりません。").arg(name);
        case EngineErrorKind::CannotRead:
            return QStringLiteral("ファイル「%1」を読み込めません。").arg(name);
        case EngineErrorKind::Encrypted:
            return QStringLiteral("ファイル「%1」はパスワードで保護されているため開けません。")
                .arg(name);
        case EngineErrorKind::Unsupported:
            return QStringLiteral("ファイル「%1」は対応していない形式のため開けません。").arg(name);
        case EngineErrorKind::TooLarge:
            return QStringLiteral("ファイル「%1」は大きすぎるため開けません。").arg(name);
        case EngineErrorKind::Damaged:
        case EngineErrorKind::InvalidCall:
            break;
    }
    return QStringLiteral("ファイル「%1」は壊れているため開けません。").arg(name);
}

}  // namespace

EngineError EngineError::ForFile(const ReadError& error, const QString& path) {
    EngineError result(error.Kind(), FileMessage(error, path));
    result.code_ = error.Code();
    result.detail_ = error.Detail();
    return result;
}

}  // namespace engine
