#pragma once
// The product's resources as a resource script for builds that link the wizard with a
// resource compiler (windres, rc) instead of patching the stub: product.rc plus the files
// it names, all in one folder. It declares the same resources `stp build` writes.

#include "tools/builder/package_source.h"
#include "tools/builder/product_definition.h"
#include "tools/builder/setup_builder.h"

#include <filesystem>

inline constexpr char kResourceScriptName[] = "product.rc";

// The text of product.rc for `definition` (with its required space filled in); the files
// are named as WriteResourceFolder writes them.
std::string ResourceScriptText(const ProductDefinition& definition);

// Writes product.rc, left-cn.jpg, left-en.jpg, header.bmp, app.ico and setup.stp into
// `folder` (which must exist). Returns the required-space text used.
UString WriteResourceFolder(ProductDefinition definition, const std::filesystem::path& folder, const PackFunction& pack);
