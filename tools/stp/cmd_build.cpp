// stp build: a product definition and the wizard stub into the product's Setup.exe.

#include "package/FileSystem.h"
#include "shell/FormatSize.h"
#include "tools/builder/output_file.h"
#include "tools/builder/package_pack.h"
#include "tools/builder/path_text.h"
#include "tools/builder/pe_image.h"
#include "tools/builder/self_path.h"
#include "tools/builder/setup_builder.h"
#include "tools/stp/build_options.h"
#include "tools/stp/command.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {
const char kUsage[] =
    "usage: stp build PRODUCT.ini -o Setup.exe [--stub PATH] [--threads N]\n"
    "\n"
    "Builds the product's Setup.exe: packs the files the definition names, checks its\n"
    "pictures, and writes its settings, pictures, icon and package as resources into a\n"
    "copy of the wizard stub. No compiler is needed. See docs/product-definition.md.\n"
    "\n"
    "options:\n"
    "  -o, --output FILE   the Setup.exe to write (replaced only when the build succeeds)\n"
    "  --stub PATH         the wizard stub (default: Setup-stub.exe beside stp)\n"
    "  --threads N         compression threads (default: one per core)\n";

fs::path DefaultStub() {
    const fs::path self = RunningExecutablePath();
    const fs::path stub = self.empty() ? fs::path() : self.parent_path() / "Setup-stub.exe";
    std::error_code ec;
    if (stub.empty() || !fs::is_regular_file(stub, ec)) {
        throw UsageError{"no wizard stub: Setup-stub.exe is not beside stp" +
                         (self.empty() ? std::string() : " (" + PathToUtf8(self.parent_path()) + ")") +
                         "; pass --stub PATH"};
    }
    return stub;
}

std::shared_ptr<const Bytes> ReadStub(const fs::path& stub) {
    std::ifstream in(stub, std::ios::binary);
    if (!in) {
        throw EFileError(PathToUtf8(stub) + ": the wizard stub cannot be read");
    }
    auto bytes = std::make_shared<const Bytes>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw EFileError(PathToUtf8(stub) + ": reading the wizard stub failed");
    }
    return bytes;
}

std::string Size(std::uint64_t bytes) {
    return std::to_string(bytes) + " bytes (" + Utf16ToUtf8(FormatSize(static_cast<std::int64_t>(bytes))) + ")";
}

int Run(const std::vector<std::string>& args) {
    const BuildOptions options = ParseBuildOptions(args, true, "Setup.exe");
    const fs::path& outputPath = options.output;
    const fs::path outputFolder = outputPath.parent_path().empty() ? fs::path(".") : outputPath.parent_path();
    std::error_code ec;
    if (!fs::is_directory(outputFolder, ec)) {
        throw UsageError{PathToUtf8(outputFolder) + ": the output folder does not exist"};
    }
    const fs::path stubPath = options.stub.empty() ? DefaultStub() : options.stub;

    ProductDefinition product = LoadProductDefinition(options.definition);
    for (const auto& warning : product.warnings) {
        std::fprintf(stderr, "stp build: warning: %s\n", warning.c_str());
    }
    const PeImage stub(ReadStub(stubPath), PathToUtf8(stubPath));
    const SetupBuild build =
        BuildSetup(std::move(product), stub, PackWithPackageWriter(TemporaryBeside(outputPath, "package"), options.threads));
    WriteOutputFile(outputPath, build.file);
    std::printf("%s: %s; package %s of %s unpacked; required space shown: %s\n", PathToUtf8(outputPath).c_str(),
                Size(build.file.Size()).c_str(), Size(build.packageSize).c_str(), Size(build.unpackedSize).c_str(),
                Utf16ToUtf8(build.requiredSpace).c_str());
    return 0;
}

const CommandRegistration kRegistration({"build", "build a product's Setup.exe from its definition", kUsage, &Run});
} // namespace
