#include "engine/model/EngineError.h"

#include <QDir>

namespace engine {
namespace {

QString FileMessage(EngineErrorKind kind, const QString& path) {
    const QString name = QDir::toNativeSeparators(path);
    switch (kind) {
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

EngineError EngineError::ForFile(EngineErrorKind kind, const QString& path, QString detail) {
    return EngineError(kind, FileMessage(kind, path), std::move(detail));
}

}  // namespace engine
