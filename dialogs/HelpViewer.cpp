#include "dialogs/HelpViewer.h"

#include <QCoreApplication>
#include <QDesktopServices>

QUrl HelpTopicUrl(int topic) {
    const QString page = topic == 6 || topic == 7 ? QStringLiteral("topic%1.html").arg(topic)
                                                  : QStringLiteral("index.html");
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/help/") +
                               page);
}

void ShowHelpTopic(int topic) {
    // A missing page or browser is the desktop's to report, as with any help viewer.
    QDesktopServices::openUrl(HelpTopicUrl(topic));
}
