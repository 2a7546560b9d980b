#pragma once
// Errors of the setup builder. Every message names the field or file it is about, so a
// vendor can fix the product definition without reading code.

#include "core/exceptions.h"

// A product definition that cannot be read or is incomplete or contradictory.
class EDefinitionError : public Exception {
public:
    using Exception::Exception;
};

// A picture of the wrong kind or size.
class EPictureError : public Exception {
public:
    using Exception::Exception;
};

// A stub executable that is not a 64-bit Windows program this builder can patch, or a
// resource section that cannot be read.
class EImageFormatError : public Exception {
public:
    using Exception::Exception;
};
