// A failed SQLite call, with the result code that tells a damaged file from a busy one.
#pragma once

#include <stdexcept>
#include <string>

class SqliteError : public std::runtime_error {
public:
    SqliteError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int Code() const { return code_; }
    // The file is not a database or its pages do not hold together: it must be rebuilt.
    bool Damaged() const;

private:
    int code_;
};
