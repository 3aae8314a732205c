#include "app/Tcursorhourglass.h"

#include <QCursor>
#include <QGuiApplication>

TCursorHourGlass::TCursorHourGlass() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

TCursorHourGlass::~TCursorHourGlass() {
    QGuiApplication::restoreOverrideCursor();
}
