// An error raised by an automation call: carries the server's own description.
#pragma once

#include "storage/Exception.h"

class AutomationError : public Exception {
public:
    using Exception::Exception;
};
