// Errors of the embedded engine. `Message()` is the Japanese text the user sees (it names the
// file and the problem); `Detail()` keeps the reader's technical reason (offset, record,
// sector) so tests can assert the specific failure.
#pragma once

#include "automation/AutomationError.h"

namespace engine {

enum class EngineErrorKind {
    FileNotFound,
    CannotRead,   // I/O error, permission denied
    Damaged,      // structurally invalid or truncated
    Encrypted,    // password protected
    Unsupported,  // a format we do not read (xlsb, ods, BIFF2-4, ...)
    TooLarge,     // a limit on size, rows, columns or inflated bytes was reached
    InvalidCall,  // an object-model call with bad arguments or on a closed object
};

class EngineError : public AutomationError {
public:
    EngineError(EngineErrorKind kind, QString message, QString detail = {})
        : AutomationError(std::move(message)), kind_(kind), detail_(std::move(detail)) {}

    // The error for a file, with the user's text for its kind naming the file.
    static EngineError ForFile(EngineErrorKind kind, const QString& path, QString detail = {});

    EngineErrorKind Kind() const { return kind_; }
    const QString& Detail() const { return detail_; }

private:
    EngineErrorKind kind_;
    QString detail_;
};

}  // namespace engine
