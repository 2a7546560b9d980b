#pragma once
// Making a product's Setup.exe from the wizard stub: the product's settings, pictures,
// icon and package become resources of a copy of the stub.

#include "tools/builder/byte_sequence.h"
#include "tools/builder/package_source.h"
#include "tools/builder/pictures.h"
#include "tools/builder/product_definition.h"

class PeImage;
class ResourceTree;

inline constexpr char kPackageResourceType[] = "STPFILE";
inline constexpr char kPackageResourceName[] = "SETUPPACKAGE";

// The product's pictures, checked and in resource form.
struct ProductPictures {
    Bytes leftCn;       // RCDATA IMAGELEFT0
    Bytes leftEn;       // RCDATA IMAGELEFT2
    Bytes headerBitmap; // BITMAP IMAGEICON
    std::vector<IconImage> appIcon;
};

// Reads and checks the four pictures; throws EPictureError or EDefinitionError naming the
// file and its key.
ProductPictures LoadPictures(const ProductDefinition& definition);

// The product's resources, added to (or replacing those of) `tree`: the settings string
// table, IMAGELEFT0/IMAGELEFT2, IMAGEICON, APPICON with its icons and the package, all in
// language 2052.
void AddProductResources(ResourceTree& tree, const ProductDefinition& definition, const ProductPictures& pictures,
                         const PackedPackage& package);

// The whole build: validates the pictures, packs the files (PackProduct), fills in the
// default required space, and patches the stub.
// Packs the product's files, offering the packer a random source seeded from all inputs
// (definition, pictures, `stub`, files) so that equal inputs give equal packages.
PackedPackage PackProduct(const ProductDefinition& definition, const ProductPictures& pictures, ByteView stub,
                          const PackFunction& pack);

struct SetupBuild {
    ByteSequence file;
    UString requiredSpace; // the text shown to the user (given or derived)
    std::uint64_t packageSize = 0;
    std::uint64_t unpackedSize = 0;
};
SetupBuild BuildSetup(ProductDefinition definition, const PeImage& stub, const PackFunction& pack);

// The required-space text of a package of `bytes` unpacked bytes (FormatSize with a full
// stop as decimal separator, so the result does not depend on the vendor's locale).
UString DefaultRequiredSpace(std::uint64_t bytes);
