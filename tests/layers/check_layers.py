#!/usr/bin/env python3
"""The layers of src/: platform <- common <- engine <- the window folders <- app.

A file under src/platform, src/common or src/engine may include only its own
folder and the folders below it. Prints every include that breaks the rule and
fails when there is one. Run with --self-test to check the checker itself.
"""
import os
import re
import sys

# Each lower folder and the folders it may include.
ALLOWED = {
    "platform": {"platform"},
    "common": {"platform", "common"},
    "engine": {"platform", "common", "engine"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]', re.M)


def violations(folder, text):
    """The included paths of `text` (a file of `folder`) that break the layers."""
    bad = []
    for path in INCLUDE.findall(text):
        top = path.split("/", 1)[0] if "/" in path else None
        if top is None:
            continue  # a system or standard header
        if top not in ALLOWED[folder]:
            bad.append(path)
    return bad


def check(src):
    found = []
    for folder in ALLOWED:
        root = os.path.join(src, folder)
        for dirpath, _, names in os.walk(root):
            for name in sorted(names):
                if not name.endswith((".h", ".hpp", ".cpp", ".c", ".inl")):
                    continue
                path = os.path.join(dirpath, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for inc in violations(folder, f.read()):
                        found.append(f"{os.path.relpath(path, src)} includes {inc}")
    return found


def self_test():
    assert violations("engine", '#include "mainwindow/Form2.h"\n') == ["mainwindow/Form2.h"]
    assert violations("common", '#include "engine/General.h"\n') == ["engine/General.h"]
    assert violations("platform", '#include "common/Ini.h"\n#include <windows.h>\n') == ["common/Ini.h"]
    assert violations("engine", '#include "common/Ini.h"\n#include "platform/Text.h"\n#include <vector>\n') == []
    assert violations("common", '  #  include "library/frmShadow.h"\n') == ["library/frmShadow.h"]


def main():
    self_test()
    src = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src")
    found = check(os.path.normpath(src))
    for line in found:
        print(line)
    if found:
        print(f"{len(found)} include(s) reach above their layer")
        return 1
    print("layers hold: platform <- common <- engine")
    return 0


if __name__ == "__main__":
    sys.exit(main())
