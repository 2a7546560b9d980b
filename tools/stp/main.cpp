// stp: the vendor's tool for setup packages and setup executables.

#include "core/exceptions.h"
#include "tools/stp/command.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintHelp(FILE* out) {
    std::fputs("usage: stp COMMAND [ARGS...]\n\n"
               "Builds and inspects setup packages and setup executables.\n\n"
               "commands:\n",
               out);
    auto commands = Commands();
    std::sort(commands.begin(), commands.end(),
              [](const Command& a, const Command& b) { return std::strcmp(a.name, b.name) < 0; });
    for (const auto& c : commands) {
        std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
    }
    std::fputs("\nRun 'stp COMMAND --help' for the options of one command.\n", out);
}

const Command* Find(const std::string& name) {
    for (const auto& c : Commands()) {
        if (name == c.name) {
            return &c;
        }
    }
    return nullptr;
}
} // namespace

CommandRegistration::CommandRegistration(const Command& command) {
    Registry().push_back(command);
}

const std::vector<Command>& Commands() {
    return Registry();
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(stderr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        if (args.size() > 1) {
            if (const Command* c = Find(args[1])) {
                std::fputs(c->usage, stdout);
                return 0;
            }
        }
        PrintHelp(stdout);
        return 0;
    }
    const Command* command = Find(args[0]);
    if (!command) {
        std::fprintf(stderr, "stp: unknown command '%s' (see 'stp --help')\n", args[0].c_str());
        return 2;
    }
    args.erase(args.begin());
    if (std::find_if(args.begin(), args.end(), [](const std::string& a) {
            return a == "--help" || a == "-h";
        }) != args.end()) {
        std::fputs(command->usage, stdout);
        return 0;
    }
    try {
        return command->run(args);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "stp %s: %s\n", command->name, e.message.c_str());
        return 2;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stp %s: %s\n", command->name, e.what());
        return 1;
    }
}
