// Single-threaded zlib level 9 over the files named on standard input, one stream each,
// written back to back to OUT: what stp pack's compression is measured against.
//   find SRC -type f | sort | deflate_baseline OUT
#include <zlib.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: deflate_baseline OUT < file-list\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    std::string path;
    std::vector<unsigned char> packed;
    while (std::getline(std::cin, path)) {
        std::ifstream in(path, std::ios::binary);
        const std::string data((std::istreambuf_iterator<char>(in)), {});
        uLongf size = compressBound(static_cast<uLong>(data.size()));
        packed.resize(size);
        if (compress2(packed.data(), &size, reinterpret_cast<const Bytef*>(data.data()),
                      static_cast<uLong>(data.size()), 9) != Z_OK) {
            std::cerr << "compress2 failed: " << path << "\n";
            return 1;
        }
        out.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(size));
    }
    return 0;
}
