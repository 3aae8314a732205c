// Connects the lower layers' user-facing seams to the desktop: storage's warnings become the
// program's warning box, and its wait cursor becomes the application's override cursor.
#pragma once

class DesktopHooks {
public:
    static void Install();
    static void Remove();
};
