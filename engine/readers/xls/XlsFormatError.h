// What the .xls units raise when the bytes are not what they should be. It carries the kind
// of failure and the technical reason (record, offset, sector) but no file name: XlsReader
// turns it into the engine's error with the message the user sees.
#pragma once

#include "engine/model/EngineError.h"

#include <QString>
#include <exception>

namespace engine {

class XlsFormatError : public std::exception {
public:
    XlsFormatError(EngineErrorKind kind, QString detail)
        : kind_(kind), detail_(std::move(detail)), what_(detail_.toUtf8()) {}

    // The usual case: the structure is broken or truncated.
    explicit XlsFormatError(QString detail)
        : XlsFormatError(EngineErrorKind::Damaged, std::move(detail)) {}

    EngineErrorKind Kind() const { return kind_; }
    const QString& Detail() const { return detail_; }
    const char* what() const noexcept override { return what_.constData(); }

private:
    EngineErrorKind kind_;
    QString detail_;
    QByteArray what_;
};

}  // namespace engine
