// stp resources: a product definition into a resource script and its files, for builds
// that link the wizard with a resource compiler instead of using `stp build`.

#include "tools/builder/output_file.h"
#include "tools/builder/package_pack.h"
#include "tools/builder/path_text.h"
#include "tools/builder/resource_script.h"
#include "tools/stp/build_options.h"
#include "tools/stp/command.h"

#include <cstdio>

namespace fs = std::filesystem;

namespace {
const char kUsage[] =
    "usage: stp resources PRODUCT.ini -o DIR [--threads N]\n"
    "\n"
    "Writes the product's resources as DIR/product.rc with the files it names (the two\n"
    "left-hand pictures, the header bitmap, the icon and the packed setup package), for\n"
    "linking the wizard with a resource compiler together with app/stub.rc. The pictures\n"
    "are checked as by `stp build`.\n"
    "\n"
    "options:\n"
    "  -o, --output DIR    the folder to write (created when missing)\n"
    "  --threads N         compression threads (default: one per core)\n";

int Run(const std::vector<std::string>& args) {
    const BuildOptions options = ParseBuildOptions(args, false, "DIR");
    std::error_code ec;
    fs::create_directories(options.output, ec);
    if (!fs::is_directory(options.output, ec)) {
        throw EFileError(PathToUtf8(options.output) + ": the output folder cannot be created");
    }
    ProductDefinition product = LoadProductDefinition(options.definition);
    for (const auto& warning : product.warnings) {
        std::fprintf(stderr, "stp resources: warning: %s\n", warning.c_str());
    }
    const UString requiredSpace =
        WriteResourceFolder(std::move(product), options.output,
                            PackWithPackageWriter(TemporaryBeside(options.output / "setup.stp", "package"), options.threads));
    std::printf("%s: %s and its files; required space shown: %s\n", PathToUtf8(options.output).c_str(),
                kResourceScriptName, Utf16ToUtf8(requiredSpace).c_str());
    return 0;
}

const CommandRegistration kRegistration({"resources", "write a product's resources as a resource script", kUsage,
                                         &Run});
} // namespace
