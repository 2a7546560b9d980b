#pragma once
// Independent readers of the executables the builder writes: pefile (python3-pefile) and
// wrestool (icoutils), run as programs. Native builds only.

#include "tools/builder/byte_io.h"
#include "tools/builder/resource_tree.h"

#include <filesystem>
#include <set>
#include <string>

// The output of a shell command; `ok` is false when it could not run or failed.
struct CommandResult {
    bool ok = false;
    int exitCode = -1;
    std::string output;
};
CommandResult RunCommand(const std::string& command);

bool HaveOracleTools();

// pe_oracle.py's lines for `exe`.
std::set<std::string> PefileFacts(const std::filesystem::path& exe);
// The line pe_oracle.py prints for a resource.
std::string PefileResourceLine(const Resource& r);

// `wrestool -l` of `exe`, without the offsets, one line per resource:
// "--type=3 --name=1 --language=2052".
std::set<std::string> WrestoolList(const std::filesystem::path& exe);
// The line wrestool -l prints for `r` (see the .cpp for its one quirk).
std::string WrestoolLine(const Resource& r);
// `wrestool -x --raw` of one resource.
Bytes WrestoolExtract(const std::filesystem::path& exe, const Resource& r);
