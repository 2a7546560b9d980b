#include "tools/builder/package_pack.h"

#include "package/FileSystem.h"
#include "package/PackageWriter.h"
#include "tools/builder/errors.h"
#include "tools/builder/path_text.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {
// Removes the temporary package on every way out.
class TemporaryFile final {
public:
    explicit TemporaryFile(fs::path path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        std::error_code ec;
        fs::remove(path_, ec);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

std::shared_ptr<const Bytes> ReadPackage(const fs::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in) {
        throw EFileError(PathToUtf8(file) + ": the packed package cannot be read back");
    }
    auto bytes = std::make_shared<Bytes>(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
    if (!in) {
        throw EFileError(PathToUtf8(file) + ": the packed package cannot be read back");
    }
    return bytes;
}
} // namespace

UString InstallerPath(const fs::path& path) {
    const std::u8string generic = path.generic_u8string();
    UString text = Utf8ToUtf16(std::string(generic.begin(), generic.end()));
    std::replace(text.begin(), text.end(), u'/', u'\\');
    return text;
}

PackFunction PackWithPackageWriter(const fs::path& temporaryPackage, unsigned threads) {
    return [temporaryPackage, threads](const fs::path& source, const RandomSource&) {
        const TemporaryFile temp(temporaryPackage);
        TPackOptions options;
        options.Threads = threads;
        const TPackSummary summary = WritePackage(CollectPackInput(InstallerPath(source)), InstallerPath(temp.Path()), options);
        return PackedPackage{ReadPackage(temp.Path()), static_cast<std::uint64_t>(summary.TotalUnpacked)};
    };
}
