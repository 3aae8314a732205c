// Opens a page of the HTML help beside the executable in the desktop's browser.
#pragma once

#include <QUrl>

// 6 = general settings, 7 = result columns; anything else gives the table of contents.
QUrl HelpTopicUrl(int topic);
void ShowHelpTopic(int topic);
