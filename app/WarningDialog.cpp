#include "app/WarningDialog.h"

#include <QMessageBox>

void WarningDialog::Show(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("警告"), text, QMessageBox::Ok, parent);
    box.exec();
}
