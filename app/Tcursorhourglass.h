// A scoped wait cursor: the application-wide override cursor, pushed on construction and popped
// on destruction, so nested objects unwind in reverse order and an error unwinding the scope
// restores the cursor too.
#pragma once

class TCursorHourGlass {
public:
    TCursorHourGlass();
    TCursorHourGlass(const TCursorHourGlass&) = delete;
    TCursorHourGlass& operator=(const TCursorHourGlass&) = delete;
    ~TCursorHourGlass();
};
