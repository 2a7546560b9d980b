#include "tests/builder/pe_fixture.h"

#include "tools/builder/string_table.h"

#include <algorithm>
#include <functional>
#include <map>

namespace {
constexpr std::uint32_t kFileAlign = 0x200;
constexpr std::uint32_t kSectionAlign = 0x1000;
constexpr std::uint32_t kHeaders = 0x400;
constexpr std::size_t kPeOffset = 0x40;
constexpr std::size_t kOptional = kPeOffset + 24;
constexpr std::size_t kSectionTable = kOptional + 240;

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

void PutName(Bytes& out, const char* name) {
    for (int i = 0; i < 8; ++i) {
        out.push_back(static_cast<std::uint8_t>(*name ? *name++ : 0));
    }
}

struct Section {
    const char* name;
    std::uint32_t characteristics;
    Bytes data;
    std::uint32_t rva = 0;
    std::uint32_t pointer = 0;
};

// Names before ids, names by code units (they are upper-case here), ids ascending.
bool Before(const ResourceId& a, const ResourceId& b) {
    if (a.IsName() != b.IsName()) {
        return a.IsName();
    }
    return a.IsName() ? a.NameText() < b.NameText() : a.Id() < b.Id();
}
} // namespace

std::vector<FixtureResource> FixtureStubResources() {
    StringBlock strings;
    strings[1000 % 16] = u"stub string 1000";
    return {
        {ResourceId::Number(24), ResourceId::Number(1), 1033,
         Text("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
              "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"/>\n")},
        {ResourceId::Number(14), ResourceId::Name(u"MAINICON"), 1033,
         Bytes{0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 8, 0, 0, 0, 1, 0}},
        {ResourceId::Number(3), ResourceId::Number(1), 1033, Bytes{1, 2, 3, 4, 5, 6, 7, 8}},
        {ResourceId::Number(6), ResourceId::Number(StringBlockId(1000)), 1033, EncodeStringBlock(strings)},
        {ResourceId::Number(23), ResourceId::Number(1), 1033, Text("<html><body>stub</body></html>")},
    };
}

Bytes FixtureResourceSection(const std::vector<FixtureResource>& input, std::uint32_t rva) {
    std::vector<const FixtureResource*> sorted;
    for (const auto& r : input) {
        sorted.push_back(&r);
    }
    std::sort(sorted.begin(), sorted.end(), [](const FixtureResource* a, const FixtureResource* b) {
        if (!(a->type == b->type)) {
            return Before(a->type, b->type);
        }
        if (!(a->name == b->name)) {
            return Before(a->name, b->name);
        }
        return a->language < b->language;
    });

    Bytes dirs;
    std::vector<std::pair<std::size_t, UString>> namePatches; // entry offset, name
    std::vector<std::pair<std::size_t, const FixtureResource*>> leafPatches;
    // Writes one directory over `items` at level `level` and, right after it, its children.
    std::function<void(std::vector<const FixtureResource*>, int)> write = [&](std::vector<const FixtureResource*> items,
                                                                              int level) {
        const auto key = [level](const FixtureResource* r) -> ResourceId {
            return level == 0 ? r->type : level == 1 ? r->name : ResourceId::Number(r->language);
        };
        std::vector<std::vector<const FixtureResource*>> groups;
        for (const auto* r : items) {
            if (groups.empty() || !(key(groups.back().front()) == key(r))) {
                groups.emplace_back();
            }
            groups.back().push_back(r);
        }
        const std::size_t start = dirs.size();
        const auto named = std::count_if(groups.begin(), groups.end(), [&](const auto& g) { return key(g.front()).IsName(); });
        PutU32(dirs, 0);
        PutU32(dirs, 0x12345678); // a time stamp, which the builder does not keep
        PutU16(dirs, 4);
        PutU16(dirs, 0);
        PutU16(dirs, static_cast<std::uint16_t>(named));
        PutU16(dirs, static_cast<std::uint16_t>(groups.size() - static_cast<std::size_t>(named)));
        const std::size_t entries = dirs.size();
        dirs.resize(dirs.size() + 8 * groups.size());
        for (std::size_t i = 0; i < groups.size(); ++i) {
            const ResourceId id = key(groups[i].front());
            const std::size_t entry = entries + 8 * i;
            if (id.IsName()) {
                namePatches.emplace_back(entry, id.NameText());
            } else {
                WriteU32At(dirs, entry, id.Id());
            }
            if (level == 2) {
                leafPatches.emplace_back(entry + 4, groups[i].front());
            } else {
                WriteU32At(dirs, entry + 4, 0x80000000u | static_cast<std::uint32_t>(dirs.size()));
                write(groups[i], level + 1);
            }
        }
        (void)start;
    };
    write(sorted, 0);

    Bytes out = dirs;
    std::map<UString, std::uint32_t> names;
    for (const auto& [entry, name] : namePatches) {
        if (!names.contains(name)) {
            names[name] = static_cast<std::uint32_t>(out.size());
            PutU16(out, static_cast<std::uint16_t>(name.size()));
            for (const char16_t c : name) {
                PutU16(out, c);
            }
        }
        WriteU32At(out, entry, 0x80000000u | names[name]);
    }
    out.resize(AlignUp(out.size(), 4));
    std::vector<std::size_t> dataEntries;
    for (const auto& [field, r] : leafPatches) {
        WriteU32At(out, field, static_cast<std::uint32_t>(out.size()));
        dataEntries.push_back(out.size());
        out.resize(out.size() + 16);
    }
    for (std::size_t i = 0; i < leafPatches.size(); ++i) {
        out.resize(AlignUp(out.size(), 4));
        const FixtureResource* r = leafPatches[i].second;
        WriteU32At(out, dataEntries[i], rva + static_cast<std::uint32_t>(out.size()));
        WriteU32At(out, dataEntries[i] + 4, static_cast<std::uint32_t>(r->data.size()));
        WriteU32At(out, dataEntries[i] + 8, 1252);
        out.insert(out.end(), r->data.begin(), r->data.end());
    }
    return out;
}

Fixture MakeFixture(const FixtureOptions& options) {
    Fixture fixture;
    std::vector<Section> sections;
    Bytes code(0x200, 0xCC);
    code[0] = 0x31; // xor eax, eax
    code[1] = 0xC0;
    code[2] = 0xC3; // ret
    for (int i = 0; i < 8; ++i) {
        code[0x10 + i] = 0; // an absolute address the relocation points at
    }
    sections.push_back({".text", 0x60000020, code});
    Bytes reloc;
    PutU32(reloc, 0x1000); // page
    PutU32(reloc, 12);     // block size
    PutU16(reloc, 0xA010); // DIR64 at 0x1010
    PutU16(reloc, 0);
    reloc.resize(kFileAlign, 0);
    fixture.relocations = reloc;
    const Section relocSection{".reloc", 0x42000040, reloc};
    const Section dataSection{".data2", 0xC0000040, Bytes(kFileAlign, 0x77)};
    if (!options.relocAfterResources) {
        sections.push_back(relocSection);
    }
    std::size_t rsrcIndex = 0;
    if (options.resources) {
        fixture.resources = FixtureStubResources();
        rsrcIndex = sections.size();
        sections.push_back({".rsrc", 0x40000040, {}});
    }
    if (options.relocAfterResources) {
        sections.push_back(relocSection);
    }
    if (options.dataAfterResources) {
        sections.push_back(dataSection);
    }

    std::uint32_t rva = kSectionAlign;
    std::uint32_t pointer = kHeaders;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        auto& s = sections[i];
        s.rva = rva;
        s.pointer = pointer;
        if (options.resources && i == rsrcIndex) {
            s.data = FixtureResourceSection(fixture.resources, rva);
        }
        const std::uint32_t size = static_cast<std::uint32_t>(s.data.size());
        rva += static_cast<std::uint32_t>(AlignUp(size, kSectionAlign));
        pointer += static_cast<std::uint32_t>(AlignUp(size, kFileAlign));
    }
    const std::uint32_t sectionsEnd = pointer;

    Bytes& f = fixture.file;
    f.assign(kHeaders, 0);
    f[0] = 'M';
    f[1] = 'Z';
    WriteU32At(f, 0x3C, kPeOffset);
    WriteU32At(f, kPeOffset, 0x00004550);
    WriteU16At(f, kPeOffset + 4, 0x8664);
    WriteU16At(f, kPeOffset + 6, static_cast<std::uint16_t>(sections.size()));
    WriteU32At(f, kPeOffset + 8, 0x5F000000);
    WriteU16At(f, kPeOffset + 20, 240);
    WriteU16At(f, kPeOffset + 22, 0x0022);
    WriteU16At(f, kOptional, 0x20B);
    WriteU32At(f, kOptional + 4, 0x200);
    std::uint32_t initialized = 0;
    for (const auto& s : sections) {
        if (s.characteristics & 0x40) {
            initialized += static_cast<std::uint32_t>(AlignUp(s.data.size(), kFileAlign));
        }
    }
    WriteU32At(f, kOptional + 8, initialized);
    WriteU32At(f, kOptional + 16, 0x1000);
    WriteU32At(f, kOptional + 20, 0x1000);
    WriteU32At(f, kOptional + 24, 0x40000000);
    WriteU32At(f, kOptional + 28, 0x1);
    WriteU32At(f, kOptional + 32, kSectionAlign);
    WriteU32At(f, kOptional + 36, kFileAlign);
    WriteU16At(f, kOptional + 40, 6);
    WriteU16At(f, kOptional + 48, 6);
    WriteU32At(f, kOptional + 56, rva);
    WriteU32At(f, kOptional + 60, kHeaders);
    WriteU16At(f, kOptional + 68, 3);
    WriteU16At(f, kOptional + 70, 0x8160);
    WriteU32At(f, kOptional + 72, 0x200000);
    WriteU32At(f, kOptional + 80, 0x1000);
    WriteU32At(f, kOptional + 88, 0x100000);
    WriteU32At(f, kOptional + 96, 0x1000);
    WriteU32At(f, kOptional + 108, 16);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const auto& s = sections[i];
        Bytes h;
        PutName(h, s.name);
        PutU32(h, static_cast<std::uint32_t>(s.data.size()));
        PutU32(h, s.rva);
        PutU32(h, static_cast<std::uint32_t>(AlignUp(s.data.size(), kFileAlign)));
        PutU32(h, s.pointer);
        PutU32(h, 0);
        PutU32(h, 0);
        PutU32(h, 0);
        PutU32(h, s.characteristics);
        std::copy(h.begin(), h.end(), f.begin() + static_cast<std::ptrdiff_t>(kSectionTable + 40 * i));
        if (std::string(s.name) == ".rsrc") {
            WriteU32At(f, kOptional + 112 + 8 * 2, s.rva);
            WriteU32At(f, kOptional + 112 + 8 * 2 + 4, static_cast<std::uint32_t>(s.data.size()));
        }
        if (std::string(s.name) == ".reloc") {
            WriteU32At(f, kOptional + 112 + 8 * 5, s.rva);
            WriteU32At(f, kOptional + 112 + 8 * 5 + 4, 12);
        }
        Bytes data = s.data;
        data.resize(AlignUp(data.size(), kFileAlign), 0);
        f.insert(f.end(), data.begin(), data.end());
    }
    if (options.symbolTable) {
        Bytes& sym = fixture.symbols;
        PutName(sym, "main");
        PutU32(sym, 0);  // value
        PutU16(sym, 1);  // section number
        PutU16(sym, 0x20);
        sym.push_back(2); // storage class: external
        sym.push_back(0);
        PutU32(sym, 4); // empty string table
        WriteU32At(f, kPeOffset + 12, sectionsEnd);
        WriteU32At(f, kPeOffset + 16, 1);
        f.insert(f.end(), sym.begin(), sym.end());
    }
    if (options.certificate) {
        f.resize(AlignUp(f.size(), 8), 0);
        Bytes& cert = fixture.certificate;
        PutU32(cert, 16);
        PutU16(cert, 0x0200);
        PutU16(cert, 0x0002);
        for (int i = 0; i < 8; ++i) {
            cert.push_back(static_cast<std::uint8_t>(0xA0 + i));
        }
        WriteU32At(f, kOptional + 112 + 8 * 4, static_cast<std::uint32_t>(f.size()));
        WriteU32At(f, kOptional + 112 + 8 * 4 + 4, 16);
        f.insert(f.end(), cert.begin(), cert.end());
    }
    return fixture;
}
