#!/usr/bin/env python3
"""INTERIM, until `stp build` writes a product's resources into a copy of Setup-stub.exe:
turns a product definition into a resource script that, compiled and linked with the wizard,
gives that product's Setup.exe.

    interim_product_rc.py PRODUCT.ini PACKAGE OUT.rc

PACKAGE is the setup package to embed (`stp pack` output).
"""
import configparser
import os
import sys

SETTINGS = [  # id, key, required
    (1001, "WindowClass", True), (1002, "TitleEn", True), (1003, "TitleCn", True),
    (1004, "NameEn", True), (1005, "NameCn", True), (1009, "Freeware", True),
    (1010, "ExeName", True), (1011, "Version", True), (1012, "RequiredSpace", True),
    (1013, "HomePageEn", False), (1014, "HomePageCn", False),
    (1015, "PaidClauseEn13", False), (1016, "PaidClauseEn15", False), (1017, "PaidClauseCn5", False),
]
PICTURES = [("IMAGELEFT0", "RCDATA", "ImageLeftCn"), ("IMAGELEFT2", "RCDATA", "ImageLeftEn"),
            ("IMAGEICON", "BITMAP", "ImageIcon"), ("APPICON", "ICON", "AppIcon")]


def rc_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '""') + '"'


def main():
    ini_path, package, out = sys.argv[1:4]
    ini = configparser.ConfigParser(comment_prefixes=(";", "#"), inline_comment_prefixes=(";",),
                                    interpolation=None)
    ini.read(ini_path, encoding="utf-8")
    base = os.path.dirname(os.path.abspath(ini_path))
    lines = ["#pragma code_page(65001)", '#include "app/stub.rc"', "", "LANGUAGE 4, 2", "STRINGTABLE", "BEGIN"]
    for sid, key, required in SETTINGS:
        value = ini.get("Product", key, fallback="").strip()
        if required and not value:
            sys.exit(f"{ini_path}: [Product] {key} is missing")
        if value:
            lines.append(f"    {sid} {rc_string(value)}")
    lines += ["END", ""]
    for name, rtype, key in PICTURES:
        path = os.path.join(base, ini.get("Pictures", key))
        lines.append(f"{name} {rtype} {rc_string(os.path.abspath(path).replace(os.sep, '/'))}")
    lines.append(f"SETUPPACKAGE STPFILE {rc_string(os.path.abspath(package).replace(os.sep, '/'))}")
    with open(out, "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
