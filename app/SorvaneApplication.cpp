#include "app/SorvaneApplication.h"

#include "storage/Exception.h"

#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

SorvaneApplication::SorvaneApplication(int& argc, char** argv) : QApplication(argc, argv) {
    InstallQtTranslation();
}

bool SorvaneApplication::InstallQtTranslation() {
    // The program speaks Japanese whatever the desktop's language, so Qt's own dialogs do too.
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

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
