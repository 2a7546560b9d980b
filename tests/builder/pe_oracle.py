"""Lists an executable's sections, checksum state and resources as pefile reads them.

One line per fact, so a test can compare with what it wrote:
  checksum ok|bad
  section NAME VA VSIZE RAWPTR RAWSIZE
  resource TYPE NAME LANG SIZE CRC32
  warning TEXT
"""
import sys
import zlib

import pefile


def label(entry):
    return str(entry.name) if entry.name is not None else str(entry.id)


pe = pefile.PE(sys.argv[1])
print("checksum", "ok" if pe.OPTIONAL_HEADER.CheckSum == pe.generate_checksum() else "bad")
for s in pe.sections:
    print("section", s.Name.rstrip(b"\0").decode(), s.VirtualAddress, s.Misc_VirtualSize,
          s.PointerToRawData, s.SizeOfRawData)
if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
    for t in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for n in t.directory.entries:
            for lang in n.directory.entries:
                data = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
                print("resource", label(t), label(n), lang.id, len(data), zlib.crc32(data))
for w in pe.get_warnings():
    print("warning", w)
