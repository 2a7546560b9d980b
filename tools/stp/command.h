#pragma once
// The subcommands of `stp`. Each command lives in its own cmd_*.cpp file and registers
// itself with a static CommandRegistration; main.cpp only dispatches.

#include <string>
#include <vector>

struct Command {
    const char* name;
    const char* summary; // one line for `stp --help`
    const char* usage;   // the full help text for `stp help NAME` / `stp NAME --help`
    // Gets the arguments after the command name; returns the exit code.
    int (*run)(const std::vector<std::string>& args);
};

// Thrown for bad command-line input: main prints the message and exits with 2.
struct UsageError {
    std::string message;
};

class CommandRegistration {
public:
    explicit CommandRegistration(const Command& command);
};

const std::vector<Command>& Commands();
