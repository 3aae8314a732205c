// The help pages beside the executable, shown in the program's help window.
#pragma once

#include <QUrl>

class QWidget;

// 6 = general settings, 7 = result columns; anything else gives the table of contents.
QUrl HelpTopicUrl(int topic);
// Shows the topic in the help window of `from`'s window, made on first use.
void ShowHelpTopic(int topic, QWidget* from);
