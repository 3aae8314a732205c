#include "app/SorvaneApplication.h"

#include "storage/Exception.h"

#include <QMessageBox>

SorvaneApplication::SorvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool SorvaneApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception& error) {
        ShowException(error.Message());
    } catch (const std::exception& error) {
        ShowException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        // Anything thrown that is not an exception object shows with an empty message.
        ShowException(QString());
    }
    return false;
}

void SorvaneApplication::ShowException(const QString& message) {
    QMessageBox box(QMessageBox::Critical, applicationDisplayName(), message, QMessageBox::Ok,
                    activeWindow());
    box.exec();
}
