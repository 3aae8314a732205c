// The window's 16 x 16 command pictures, addressed by the indexes the actions use, and the
// program icon. All are drawn here with QPainter, so no picture files are shipped.
#pragma once

#include <QIcon>

class ImageList {
public:
    enum Index {
        Open = 0,
        SearchStart = 1,
        New = 2,
        SearchConditions = 6,
        Save = 7,
        ResultColumns = 8,
        StayOnTop = 9,
        BrowseFolder = 10,
        Cancel = 11,
    };

    // The picture for an index; a null icon for the unused indexes 3 to 5 and any other.
    static QIcon Icon(int index);
    // The program's own icon (window, notification area).
    static QIcon ProgramIcon();
};
