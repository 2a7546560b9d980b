#include "tests/builder/test_files.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

fs::path TestDataFile(const std::string& name) {
    const char* root = std::getenv("STP_SOURCE_DIR");
    return fs::path(root ? root : ".") / "tests" / "builder" / "data" / name;
}

Bytes ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + file.string());
    }
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string ReadText(const fs::path& file) {
    const Bytes b = ReadBytes(file);
    return std::string(b.begin(), b.end());
}

void WriteBytes(const fs::path& file, ByteView data) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

void WriteText(const fs::path& file, const std::string& text) {
    WriteBytes(file, ByteView(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

TempFolder::TempFolder() {
    std::random_device device;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = fs::temp_directory_path() / ("stp-builder-test-" + std::to_string(device()));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

fs::path MakeProductFolder(const fs::path& folder, const std::string& ini) {
    for (const char* picture : {"left.jpg", "left-progressive.jpg", "header.bmp", "app.ico"}) {
        fs::create_directories(folder / "pictures");
        fs::copy_file(TestDataFile(picture), folder / "pictures" / picture, fs::copy_options::overwrite_existing);
    }
    WriteText(folder / "files" / "app" / "ReadMe.txt", "Read me.\r\n");
    WriteText(folder / "files" / "app" / "DemoPad.exe", "MZ stand-in");
    WriteText(folder / "files" / "system" / "Shared.ini", "[Shared]\r\n");
    WriteText(folder / "product.ini", ini);
    return folder / "product.ini";
}

std::string ValidDefinitionText() {
    return "[Product]\n"
           "WindowClass = TfrmMain\n"
           "TitleEn = DemoPad\n"
           "TitleCn = 演示记事本\n"
           "NameEn = Corvane DemoPad\n"
           "NameCn = 演示记事本\n"
           "Freeware = -1\n"
           "ExeName = DemoPad\n"
           "Version = 2.56\n"
           "\n"
           "[Pictures]\n"
           "ImageLeftCn = pictures/left.jpg\n"
           "ImageLeftEn = pictures/left-progressive.jpg\n"
           "ImageIcon = pictures/header.bmp\n"
           "AppIcon = pictures/app.ico\n"
           "\n"
           "[Files]\n"
           "Source = files\n";
}
