#pragma once
// Small 64-bit Windows executables made byte by byte, for testing the resource writer where
// no Windows compiler is at hand. Their resource directory is laid out depth first (the
// builder writes breadth first), so reading it back tests the reader on another layout.

#include "tools/builder/byte_io.h"
#include "tools/builder/resource_tree.h"

#include <vector>

struct FixtureResource {
    ResourceId type;
    ResourceId name;
    std::uint16_t language = 0;
    Bytes data;
};

struct FixtureOptions {
    bool resources = true;
    bool relocAfterResources = true; // .reloc follows .rsrc, as GNU ld lays it out
    bool dataAfterResources = false; // a section that may not move follows .rsrc
    bool symbolTable = false;        // a COFF symbol table after the sections
    bool certificate = false;        // a signature at the end
};

struct Fixture {
    Bytes file;
    std::vector<FixtureResource> resources;
    Bytes relocations; // the .reloc section's data (its raw size)
    Bytes symbols;     // symbol and string table
    Bytes certificate;
};

// The stub's own resources: a manifest, MAINICON with one icon, an HTML page and a
// string block holding id 1000 in language 1033.
std::vector<FixtureResource> FixtureStubResources();

Fixture MakeFixture(const FixtureOptions& options);

// The resource directory of `resources` for a section at `rva`, depth first.
Bytes FixtureResourceSection(const std::vector<FixtureResource>& resources, std::uint32_t rva);
