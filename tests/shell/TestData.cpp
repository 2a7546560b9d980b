#include "tests/shell/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

std::vector<std::vector<std::string>> ReadDataFile(const std::string& name) {
    // The test environment names the source tree; run by hand, the tree it was built from.
    const char* root = std::getenv("STP_SOURCE_DIR");
    const std::string folder =
        root ? std::string(root) + "/tests/shell/data" : std::string(STP_SHELL_TEST_DATA);
    const std::string path = folder + "/" + name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "cannot open " << path;
    std::vector<std::vector<std::string>> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<std::string> fields;
        size_t start = 0;
        for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
            fields.push_back(line.substr(start, tab - start));
        }
        fields.push_back(line.substr(start));
        rows.push_back(fields);
    }
    return rows;
}
