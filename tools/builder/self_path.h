#pragma once
// Where the running program's executable is, to find files shipped beside it (the
// default wizard stub). Empty when it cannot be told.

#include <filesystem>

std::filesystem::path RunningExecutablePath();
