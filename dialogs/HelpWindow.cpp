#include "dialogs/HelpWindow.h"

#include "dialogs/HelpViewer.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ヘルプ"));
    resize(720, 560);

    TextBrowserHelp = new QTextBrowser(this);
    TextBrowserHelp->setObjectName(QStringLiteral("TextBrowserHelp"));
    TextBrowserHelp->setOpenExternalLinks(true);

    auto* tools = new QToolBar(this);
    QAction* back =
        tools->addAction(QStringLiteral("戻る(&B)"), TextBrowserHelp, &QTextBrowser::backward);
    back->setObjectName(QStringLiteral("ActionHelpBack"));
    back->setShortcut(QKeySequence::Back);
    back->setEnabled(false);
    QAction* forward =
        tools->addAction(QStringLiteral("進む(&F)"), TextBrowserHelp, &QTextBrowser::forward);
    forward->setObjectName(QStringLiteral("ActionHelpForward"));
    forward->setShortcut(QKeySequence::Forward);
    forward->setEnabled(false);
    QAction* contents =
        tools->addAction(QStringLiteral("目次(&C)"), this, [this] { ShowPage(HelpTopicUrl(0)); });
    contents->setObjectName(QStringLiteral("ActionHelpContents"));
    QAction* close = new QAction(this);
    close->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence::Close});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    connect(TextBrowserHelp, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(TextBrowserHelp, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(TextBrowserHelp, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = TextBrowserHelp->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("ヘルプ") : title);
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(TextBrowserHelp);
}

void HelpWindow::ShowPage(const QUrl& page) {
    if (QFileInfo(page.toLocalFile()).isFile()) {
        TextBrowserHelp->setSource(page);
    } else {
        TextBrowserHelp->setHtml(QStringLiteral("<p>ヘルプのページ「%1」が見つかりません。</p>")
                                     .arg(page.toLocalFile().toHtmlEscaped()));
    }
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::Page() const {
    return TextBrowserHelp->source();
}
