// Single-threaded zlib level 9 over the files named in LIST (one path a line), one stream
// each, written back to back to OUT: what stp pack's compression is measured against.
//   deflate_baseline LIST OUT
#include <zlib.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: deflate_baseline LIST OUT\n";
        return 2;
    }
    std::ifstream list(argv[1]);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    std::string path;
    std::vector<unsigned char> packed;
    while (std::getline(list, path)) {
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
