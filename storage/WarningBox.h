// The seam through which storage shows a warning to the user without depending on widgets: the
// main window installs a handler that shows a modal box; without one the text goes to stderr.
#pragma once

#include <QString>
#include <functional>

class WarningBox {
public:
    // An empty handler restores the default one.
    static void SetHandler(std::function<void(const QString& message)> handler);
    // Returns after the handler has returned (for a modal box: after it was closed).
    static void Show(const QString& message);
};
