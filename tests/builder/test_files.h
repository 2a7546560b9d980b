#pragma once
// Files for the builder tests: the checked-in pictures, temporary folders and whole-file
// reading and writing.

#include "tools/builder/byte_io.h"

#include <filesystem>
#include <string>

std::filesystem::path TestDataFile(const std::string& name);
Bytes ReadBytes(const std::filesystem::path& file);
std::string ReadText(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, ByteView data);
void WriteText(const std::filesystem::path& file, const std::string& text);

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempFolder final {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A product folder: pictures/ with the test pictures, files/app/ReadMe.txt (10 bytes),
// files/app/DemoPad.exe (11 bytes) and files/system/Shared.ini (10 bytes), and product.ini
// with `ini` as its text.
std::filesystem::path MakeProductFolder(const std::filesystem::path& folder, const std::string& ini);

// A complete, valid definition text for MakeProductFolder.
std::string ValidDefinitionText();
