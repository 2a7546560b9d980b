#pragma once
// Errors raised by the shell and system services. Messages are UTF-8.

#include "core/exceptions.h"

#include <cstdint>
#include <string>

// A registry key that cannot be created, a value that cannot be stored, or a value that is
// not text.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// A COM call that failed; the message is the system's text for the result code.
class EOleSysError : public Exception {
public:
    EOleSysError(const std::string& message, int32_t errorCode)
        : Exception(message), errorCode_(errorCode) {}

    int32_t ErrorCode() const { return errorCode_; }

private:
    int32_t errorCode_;
};
