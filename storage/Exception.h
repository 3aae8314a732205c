// The program's one error base: every failure it raises carries a user-facing message text.
// Commands catch it at their top and show the message in a warning box.
#pragma once

#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(QString message)
        : message_(std::move(message)), utf8_(message_.toStdString()) {}

    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};
