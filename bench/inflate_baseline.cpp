// The least a package extractor has to do, for comparison with stp extract: for each row of
// `stp list --tsv`, read the entry's stored bytes, inflate them with zlib in one call and
// write the file. No checks beyond zlib's own, no progress.
//   inflate_baseline PKG ROWS.tsv DEST SYSTEM
#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: inflate_baseline PKG ROWS.tsv DEST SYSTEM\n";
        return 2;
    }
    std::ifstream package(argv[1], std::ios::binary);
    std::ifstream rows(argv[2]);
    const std::filesystem::path dest = argv[3], system = argv[4];
    std::string line;
    std::vector<unsigned char> in, out;
    while (std::getline(rows, line)) {
        std::istringstream cells(line);
        std::string folder, name, offset, stored, unpacked;
        std::getline(cells, folder, '\t');
        std::getline(cells, name, '\t');
        std::getline(cells, offset, '\t');
        std::getline(cells, stored, '\t');
        std::getline(cells, unpacked, '\t');
        std::filesystem::path target = dest;
        if (folder.rfind("$System$", 0) == 0) {
            target = system;
            folder = folder.substr(8);
        }
        for (auto& c : folder) {
            if (c == '\\') {
                c = '/';
            }
        }
        target /= folder;
        std::filesystem::create_directories(target);
        in.resize(std::stoul(stored));
        out.resize(std::stoul(unpacked));
        package.seekg(std::stoll(offset));
        package.read(reinterpret_cast<char*>(in.data()), static_cast<std::streamsize>(in.size()));
        uLongf size = static_cast<uLongf>(out.size());
        if (!out.empty() && uncompress(out.data(), &size, in.data(), static_cast<uLong>(in.size())) != Z_OK) {
            std::cerr << "inflate failed: " << name << "\n";
            return 1;
        }
        std::ofstream file(target / name, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(size));
    }
    return 0;
}
