// stp build: a product definition and the wizard stub into the product's Setup.exe.

#include "package/FileSystem.h"
#include "shell/FormatSize.h"
#include "tools/builder/output_file.h"
#include "tools/builder/package_pack.h"
#include "tools/builder/path_text.h"
#include "tools/builder/pe_image.h"
#include "tools/builder/self_path.h"
#include "tools/builder/setup_builder.h"
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

std::string Value(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) {
        throw UsageError{args[i] + " needs a value"};
    }
    return args[++i];
}

fs::path PathArgument(const std::string& argument) {
    return fs::path(TextFromCommandLine(argument));
}

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
    std::string definition, output, stubArgument;
    unsigned threads = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--output") {
            output = Value(args, i);
        } else if (a == "--stub") {
            stubArgument = Value(args, i);
        } else if (a == "--threads") {
            const std::string n = Value(args, i);
            if (n.empty() || n.size() > 4 || n.find_first_not_of("0123456789") != std::string::npos) {
                throw UsageError{"--threads needs a number"};
            }
            threads = static_cast<unsigned>(std::stoul(n));
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError{"unknown option '" + a + "'"};
        } else if (definition.empty()) {
            definition = a;
        } else {
            throw UsageError{"more than one product definition"};
        }
    }
    if (definition.empty() || output.empty()) {
        throw UsageError{"needs PRODUCT.ini and -o Setup.exe"};
    }
    const fs::path outputPath = PathArgument(output);
    const fs::path outputFolder = outputPath.parent_path().empty() ? fs::path(".") : outputPath.parent_path();
    std::error_code ec;
    if (!fs::is_directory(outputFolder, ec)) {
        throw UsageError{PathToUtf8(outputFolder) + ": the output folder does not exist"};
    }
    const fs::path stubPath = stubArgument.empty() ? DefaultStub() : PathArgument(stubArgument);

    ProductDefinition product = LoadProductDefinition(PathArgument(definition));
    const PeImage stub(ReadStub(stubPath), PathToUtf8(stubPath));
    const SetupBuild build =
        BuildSetup(std::move(product), stub, PackWithPackageWriter(TemporaryBeside(outputPath, "package"), threads));
    WriteOutputFile(outputPath, build.file);
    std::printf("%s: %s; package %s of %s unpacked; required space shown: %s\n", output.c_str(),
                Size(build.file.Size()).c_str(), Size(build.packageSize).c_str(), Size(build.unpackedSize).c_str(),
                Utf16ToUtf8(build.requiredSpace).c_str());
    return 0;
}

const CommandRegistration kRegistration({"build", "build a product's Setup.exe from its definition", kUsage, &Run});
} // namespace
