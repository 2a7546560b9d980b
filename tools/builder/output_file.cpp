#include "tools/builder/output_file.h"

#include "package/FileSystem.h"
#include "tools/builder/package_pack.h"
#include "tools/builder/path_text.h"

#include <fstream>

namespace fs = std::filesystem;

namespace {
class RemoveUnlessKept final {
public:
    explicit RemoveUnlessKept(fs::path path) : path_(std::move(path)) {}
    ~RemoveUnlessKept() {
        if (!kept_) {
            std::error_code ec;
            fs::remove(path_, ec);
        }
    }
    RemoveUnlessKept(const RemoveUnlessKept&) = delete;
    RemoveUnlessKept& operator=(const RemoveUnlessKept&) = delete;
    void Keep() { kept_ = true; }

private:
    fs::path path_;
    bool kept_ = false;
};
} // namespace

fs::path TemporaryBeside(const fs::path& output, const char* what) {
    fs::path name = output.filename();
    name += ".";
    name += what;
    name += ".tmp";
    return output.parent_path() / name;
}

void WriteOutputFile(const fs::path& output, const ByteSequence& contents) {
    const fs::path temp = TemporaryBeside(output, "part");
    RemoveUnlessKept guard(temp);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            throw EFileError(PathToUtf8(temp) + ": cannot be created");
        }
        contents.ForEach([&out](ByteView piece) {
            out.write(reinterpret_cast<const char*>(piece.data()), static_cast<std::streamsize>(piece.size()));
        });
        out.close();
        if (!out) {
            throw EFileError(PathToUtf8(temp) + ": writing failed (is the disk full?)");
        }
    }
    ReplaceFile(InstallerPath(temp), InstallerPath(output));
    guard.Keep();
}
