#include "dialogs/HelpViewer.h"

#include "dialogs/HelpWindow.h"

#include <QCoreApplication>

QUrl HelpTopicUrl(int topic) {
    const QString page = topic == 6 || topic == 7 ? QStringLiteral("topic%1.html").arg(topic)
                                                  : QStringLiteral("index.html");
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/help/") +
                               page);
}

void ShowHelpTopic(int topic, QWidget* from) {
    QWidget* owner = from->window();
    auto* help = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (help == nullptr) {
        help = new HelpWindow(owner);
    }
    help->ShowPage(HelpTopicUrl(topic));
}
