#include "storage/WarningBox.h"

#include <cstdio>

namespace {

void PrintToStderr(const QString& message) {
    std::fprintf(stderr, "警告: %s\n", message.toLocal8Bit().constData());
}

std::function<void(const QString&)>& Handler() {
    static std::function<void(const QString&)> handler = PrintToStderr;
    return handler;
}

}  // namespace

void WarningBox::SetHandler(std::function<void(const QString& message)> handler) {
    Handler() = handler ? std::move(handler) : PrintToStderr;
}

void WarningBox::Show(const QString& message) {
    Handler()(message);
}
