// The application object. An exception that leaves a command (an event handler) is shown in
// a message box with its message, and the program goes on.
#pragma once

#include <QApplication>

class SorvaneApplication : public QApplication {
    Q_OBJECT

public:
    SorvaneApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The standard exception display: a message box with the text.
    static void ShowException(const QString& message);
    // Qt's own Japanese texts (file dialogs, standard buttons); false when they are not
    // installed, and the English ones stay.
    static bool InstallQtTranslation();
};
