// Helpers shared by the window tests: answering modal boxes from inside their event loop, the
// engine with its viewer, and small workbook folders made on the fly.
#pragma once

#include "app/DesktopEngine.h"
#include "storage/Tconfig.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace formtest {

// Calls `answer` with the next modal widget as soon as one is shown (polling the event loop).
inline void AnswerNextModal(std::function<void(QWidget*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start();
}

// Accepts a file or folder dialog with `path` typed into its name box, as a user does:
// selectFile leaves the box alone once it has the focus, which it gets whenever the system
// activates the dialog first, and the dialog then takes its folder for the answer. False (and
// the dialog rejected) when the dialog has no name box.
inline bool AcceptFileDialogWith(QFileDialog* dialog, const QString& path) {
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name == nullptr) {
        dialog->reject();
        return false;
    }
    dialog->selectFile(path);
    name->setText(path);
    static_cast<QDialog*>(dialog)->accept();  // the file dialog's own accept is protected
    return true;
}

// What a message box showed before the helper pressed its OK button.
struct BoxSeen {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Dismisses the next message box with OK and records it in `seen`.
inline void AcceptNextBox(QList<BoxSeen>& seen) {
    AnswerNextModal([&seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            modal->close();
            return;
        }
        seen.append({box->windowTitle(), box->text(), box->icon()});
        box->button(QMessageBox::Ok)->click();
    });
}

// Writes a text file (the folder is made when missing).
inline void WriteFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    file.write(content);
}

// A fresh folder under the test's scratch folder.
inline QString FreshFolder(const QString& name) {
    const QString path = testsupport::ScratchDir() + QLatin1Char('/') + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

// Removes the settings file, so that the next window starts as on a first start.
inline void RemoveSettings() {
    QFile::remove(GetConfigFileName());
}

}  // namespace formtest
