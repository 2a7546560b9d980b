#pragma once
// Errors of the window layer.

#include "core/exceptions.h"

// A window that could not be created.
class EWindowError : public Exception {
public:
    using Exception::Exception;
};

// A picture resource that is missing or cannot be decoded.
class EPictureError : public Exception {
public:
    using Exception::Exception;
};
