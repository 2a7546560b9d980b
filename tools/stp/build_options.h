#pragma once
// The command line shared by `stp build` and `stp resources`: a product definition, an
// output, and the packer's thread count.

#include "package/FileSystem.h"
#include "tools/stp/command.h"

#include <filesystem>
#include <string>
#include <vector>

struct BuildOptions {
    std::filesystem::path definition;
    std::filesystem::path output;
    std::filesystem::path stub; // empty unless --stub was given (build only)
    unsigned threads = 0;       // 0: one per core
};

// Command-line text to a path without loss (UTF-8 natively, the ANSI code page on Windows).
inline std::filesystem::path PathArgument(const std::string& argument) {
    return std::filesystem::path(TextFromCommandLine(argument));
}

inline BuildOptions ParseBuildOptions(const std::vector<std::string>& args, bool allowStub, const char* outputName) {
    BuildOptions options;
    std::string definition, output, stub;
    const auto value = [&args](std::size_t& i) {
        if (i + 1 >= args.size()) {
            throw UsageError{args[i] + " needs a value"};
        }
        return args[++i];
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--output") {
            output = value(i);
        } else if (a == "--stub" && allowStub) {
            stub = value(i);
        } else if (a == "--threads") {
            const std::string n = value(i);
            if (n.empty() || n.size() > 4 || n.find_first_not_of("0123456789") != std::string::npos) {
                throw UsageError{"--threads needs a number"};
            }
            options.threads = static_cast<unsigned>(std::stoul(n));
        } else if (!a.empty() && a[0] == '-') {
            throw UsageError{"unknown option '" + a + "'"};
        } else if (definition.empty()) {
            definition = a;
        } else {
            throw UsageError{"more than one product definition"};
        }
    }
    if (definition.empty() || output.empty()) {
        throw UsageError{std::string("needs PRODUCT.ini and -o ") + outputName};
    }
    options.definition = PathArgument(definition);
    options.output = PathArgument(output);
    if (!stub.empty()) {
        options.stub = PathArgument(stub);
    }
    return options;
}
