#include "tools/builder/resource_script.h"

#include "app/ProductSettings.h"
#include "tools/builder/errors.h"
#include "tools/builder/path_text.h"

#include <fstream>

namespace fs = std::filesystem;

namespace {
// A resource-compiler string literal: quotes doubled, backslashes escaped, UTF-8 text
// (the script declares code page 65001).
std::string Literal(const UString& text) {
    std::string out = "\"";
    for (const char c : Utf16ToUtf8(text)) {
        if (c == '"') {
            out += "\"\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

void WriteFile(const fs::path& file, ByteView data) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out) {
        throw EFileError(PathToUtf8(file) + ": cannot be written");
    }
}

// A BMP file around the bitmap resource, so the compiler stores what `stp build` stores.
Bytes BitmapFile(const Bytes& resource) {
    const std::uint32_t infoSize = ReadU32(resource, 0);
    const std::uint32_t colors = ReadU32(resource, 32);
    Bytes file{'B', 'M'};
    PutU32(file, static_cast<std::uint32_t>(14 + resource.size()));
    PutU32(file, 0);
    PutU32(file, 14 + infoSize + 4 * colors);
    file.insert(file.end(), resource.begin(), resource.end());
    return file;
}

Bytes IconFile(const std::vector<IconImage>& images) {
    Bytes file;
    PutU16(file, 0);
    PutU16(file, 1);
    PutU16(file, static_cast<std::uint16_t>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const auto& image : images) {
        file.push_back(static_cast<std::uint8_t>(image.width >= 256 ? 0 : image.width));
        file.push_back(static_cast<std::uint8_t>(image.height >= 256 ? 0 : image.height));
        file.push_back(image.colorCount);
        file.push_back(0);
        PutU16(file, image.planes);
        PutU16(file, image.bitCount);
        PutU32(file, static_cast<std::uint32_t>(image.data.size()));
        PutU32(file, offset);
        offset += static_cast<std::uint32_t>(image.data.size());
    }
    for (const auto& image : images) {
        file.insert(file.end(), image.data.begin(), image.data.end());
    }
    return file;
}
} // namespace

std::string ResourceScriptText(const ProductDefinition& definition) {
    std::string rc = "// The product resources of " + PathToUtf8(definition.file.filename()) +
                     ", written by `stp resources`.\n"
                     "// Link them into the wizard together with app/stub.rc (manifest and default icon).\n"
                     "#pragma code_page(65001)\n"
                     "LANGUAGE 0x04, 0x02 // Chinese (PRC), 2052\n"
                     "\n"
                     "STRINGTABLE\n"
                     "BEGIN\n";
    for (const auto& [id, text] : definition.strings) {
        if (!text.empty()) {
            rc += "    " + std::to_string(id) + ", " + Literal(text) + "\n";
        }
    }
    rc += "END\n"
          "\n"
          "IMAGELEFT0 RCDATA \"left-cn.jpg\"\n"
          "IMAGELEFT2 RCDATA \"left-en.jpg\"\n"
          "IMAGEICON BITMAP \"header.bmp\"\n"
          "APPICON ICON \"app.ico\"\n"
          "SETUPPACKAGE STPFILE \"setup.stp\"\n";
    return rc;
}

UString WriteResourceFolder(ProductDefinition definition, const fs::path& folder, const PackFunction& pack) {
    const ProductPictures pictures = LoadPictures(definition);
    const PackedPackage package = PackProduct(definition, pictures, ByteView(), pack);
    SetDefaultRequiredSpace(definition, DefaultRequiredSpace(package.unpackedSize));
    WriteFile(folder / "left-cn.jpg", pictures.leftCn);
    WriteFile(folder / "left-en.jpg", pictures.leftEn);
    WriteFile(folder / "header.bmp", BitmapFile(pictures.headerBitmap));
    WriteFile(folder / "app.ico", IconFile(pictures.appIcon));
    WriteFile(folder / "setup.stp", *package.bytes);
    const std::string rc = ResourceScriptText(definition);
    WriteFile(folder / kResourceScriptName, ByteView(reinterpret_cast<const std::uint8_t*>(rc.data()), rc.size()));
    return definition.strings.at(kSettingRequiredSpace);
}
