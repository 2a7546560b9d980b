#pragma once
// Writing a new resource section into a copy of an executable. The new section becomes the
// last one: it takes the place of the old resource section when nothing but discardable
// sections (such as .reloc) follows it, which move up unchanged; otherwise it is appended
// and the old one stays unused. Every other byte of the program keeps its value; the
// headers get the new sizes, the resource directory entry and a new checksum, and a
// signature (which the change invalidates) is dropped.

#include "tools/builder/byte_sequence.h"

class PeImage;
class ResourceTree;

ByteSequence ReplaceResources(const PeImage& image, const ResourceTree& resources);
