#pragma once
// The packer of package/ as the builder's package source: packs the folder into the file
// `temporaryPackage`, reads it back and removes it.

#include "core/text.h"
#include "tools/builder/package_source.h"

// `threads`: compression threads, 0 for one per core. The packer seeds its salt and IV
// from the file table, so its packages are deterministic by themselves; the random source
// is not drawn from.
PackFunction PackWithPackageWriter(const std::filesystem::path& temporaryPackage, unsigned threads = 0);

// A path in the packer's form: UTF-16 with "\" separators.
UString InstallerPath(const std::filesystem::path& path);
