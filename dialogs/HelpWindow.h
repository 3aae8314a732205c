// The program's own help window: the HTML pages beside the executable in a browser pane with
// back, forward and contents, so help works on a desktop without a web browser.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    // A top-level window that closes with `owner`'s window.
    explicit HelpWindow(QWidget* owner);

    // Shows the page (a missing page says so in the pane) and brings the window forward.
    void ShowPage(const QUrl& page);
    QUrl Page() const;

private:
    QTextBrowser* TextBrowserHelp;
};
