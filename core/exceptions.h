#pragma once
// The error classes shared by every layer. Messages are UTF-8; only the wizard and the
// command-line tool decide how a message is shown.

#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text that is not the number or boolean it was read as.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An index outside a list.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// A file or folder that could not be opened, created, read or written.
class EFileError : public Exception {
public:
    using Exception::Exception;
};
