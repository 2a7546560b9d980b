#include "tests/builder/oracle.h"

#include <sys/wait.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {
std::string Quote(const std::string& s) {
    std::string q = "'";
    for (const char c : s) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

std::string Label(const ResourceId& id) {
    return id.IsName() ? Utf16ToUtf8(id.NameText()) : std::to_string(id.Id());
}

std::string WrestoolSelector(const Resource& r) {
    const auto part = [](const char* key, const ResourceId& id) {
        std::string text = std::string("--") + key + "=";
        text += id.IsName() ? std::string("'") + Label(id) + "'" : Label(id);
        return text;
    };
    return part("type", r.type) + " " + part("name", r.name) + " --language=" + std::to_string(r.language);
}
} // namespace

CommandResult RunCommand(const std::string& command) {
    CommandResult result;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return result;
    }
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) {
        result.output.append(buffer, got);
    }
    const int status = pclose(pipe.release());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.ok = result.exitCode == 0;
    return result;
}

bool HaveOracleTools() {
    return RunCommand("/usr/bin/python3 -c 'import pefile' 2>/dev/null && command -v wrestool >/dev/null").ok;
}

std::set<std::string> PefileFacts(const fs::path& exe) {
    const char* root = std::getenv("STP_SOURCE_DIR");
    const fs::path script = fs::path(root ? root : ".") / "tests" / "builder" / "pe_oracle.py";
    const CommandResult r = RunCommand("/usr/bin/python3 " + Quote(script.string()) + " " + Quote(exe.string()));
    std::set<std::string> lines;
    std::istringstream in(r.output);
    for (std::string line; std::getline(in, line);) {
        lines.insert(line);
    }
    if (!r.ok) {
        lines.insert("pefile failed");
    }
    return lines;
}

std::string PefileResourceLine(const Resource& r) {
    const auto crc = crc32(0, r.data->data(), static_cast<uInt>(r.data->size()));
    std::string line = "resource ";
    line += Label(r.type) + " " + Label(r.name) + " " + std::to_string(r.language) + " ";
    line += std::to_string(r.data->size()) + " " + std::to_string(crc);
    return line;
}

std::set<std::string> WrestoolList(const fs::path& exe) {
    const CommandResult r = RunCommand("wrestool -l " + Quote(exe.string()) + " 2>&1");
    std::set<std::string> lines;
    std::istringstream in(r.output);
    for (std::string line; std::getline(in, line);) {
        lines.insert(line.substr(0, line.find(" [")));
    }
    if (!r.ok) {
        lines.insert("wrestool failed");
    }
    return lines;
}

std::string WrestoolLine(const Resource& r) {
    if (r.type.IsName()) {
        // icoutils 0.32 lists a resource of a named type with the type's name in place of
        // its own (windres output shows the same); extraction by the real name works.
        Resource listed = r;
        listed.name = r.type;
        return WrestoolSelector(listed);
    }
    return WrestoolSelector(r);
}

Bytes WrestoolExtract(const fs::path& exe, const Resource& r) {
    const CommandResult result = RunCommand("wrestool -x --raw " + WrestoolSelector(r) + " " + Quote(exe.string()));
    return Bytes(result.output.begin(), result.output.end());
}
