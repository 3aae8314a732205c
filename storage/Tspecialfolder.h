// The shell's special folders, mapped on this platform to their XDG or home-folder counterparts.
#pragma once

#include <QString>

// Values 0..29 in the order of the shell folder identifiers; the program uses only sfAppData.
enum TSpecialFolder {
    sfAltStartup,
    sfAppData,
    sfBitBucket,
    sfCommonAltStartup,
    sfCommonDesktopDirectory,
    sfCommonFavorites,
    sfCommonPrograms,
    sfCommonStartMenu,
    sfCommonStartup,
    sfControls,
    sfCookies,
    sfDesktop,
    sfDesktopDirectory,
    sfDrives,
    sfFavorites,
    sfFonts,
    sfHistory,
    sfInternet,
    sfInternetCache,
    sfNetHood,
    sfNetwork,
    sfPersonal,
    sfPrinters,
    sfPrintHood,
    sfPrograms,
    sfRecent,
    sfSendTo,
    sfStartMenu,
    sfStartup,
    sfTemplates,
};

// The folder's path without a trailing "/", or "" when the platform has no counterpart (or the
// home folder is unknown). Raises Exception for a value outside 0..29.
QString GetSpecialFolderPath(int folder);
