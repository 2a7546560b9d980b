#pragma once
// Reading the test vectors kept beside the tests (STP_SOURCE_DIR/tests/shell/data).

#include <string>
#include <vector>

// The tab-separated fields of every line of a data file, skipping blank and # lines.
std::vector<std::vector<std::string>> ReadDataFile(const std::string& name);
