// The program's warning box: title "警告", warning icon, one button "OK", modal.
#pragma once

#include <QString>

class QWidget;

class WarningDialog {
public:
    static void Show(QWidget* parent, const QString& text);
};
