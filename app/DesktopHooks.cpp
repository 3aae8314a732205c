#include "app/DesktopHooks.h"

#include "app/WarningDialog.h"
#include "storage/Tcursorhourglass.h"
#include "storage/WarningBox.h"

#include <QApplication>

void DesktopHooks::Install() {
    WarningBox::SetHandler(
        [](const QString& message) { WarningDialog::Show(QApplication::activeWindow(), message); });
    TCursorHourGlass::SetHooks([] { QApplication::setOverrideCursor(Qt::WaitCursor); },
                               [] { QApplication::restoreOverrideCursor(); });
}

void DesktopHooks::Remove() {
    WarningBox::SetHandler({});
    TCursorHourGlass::SetHooks({}, {});
}
