// Errors of the embedded engine as the automation layer sees them. `Message()` is the Japanese
// text the user sees (for a file it names the file and the problem); a file's error also
// keeps the reader's code and technical detail, so tests can assert the specific failure.
#pragma once

#include "automation/AutomationError.h"

#include <optional>

namespace engine {

class ReadError;
enum class ReadErrorCode;

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

    // The one place a reader's failure becomes the user's text, naming the file.
    static EngineError ForFile(const ReadError& error, const QString& path);

    EngineErrorKind Kind() const { return kind_; }
    // For a file's error: what the reader found wrong.
    std::optional<ReadErrorCode> Code() const { return code_; }
    const QString& Detail() const { return detail_; }

private:
    EngineErrorKind kind_;
    std::optional<ReadErrorCode> code_;
    QString detail_;
};

}  // namespace engine
