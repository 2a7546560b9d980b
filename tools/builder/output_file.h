#pragma once
// Writing a build's result so that a failed build leaves no file behind: the bytes go to a
// temporary file in the output's folder, which replaces the output only once complete.

#include "tools/builder/byte_sequence.h"

#include <filesystem>

void WriteOutputFile(const std::filesystem::path& output, const ByteSequence& contents);

// The temporary name used beside `output` for a part of the build named `what`.
std::filesystem::path TemporaryBeside(const std::filesystem::path& output, const char* what);
