#pragma once
// Errors of setup package reading and writing. File-system failures are EFileError
// (core/exceptions.h); a package whose bytes or table say something impossible, or input
// the package format cannot hold, is EPackageError.

#include "core/exceptions.h"

class EPackageError : public Exception {
public:
    using Exception::Exception;
};
