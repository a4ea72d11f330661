#!/usr/bin/env python3
"""Builds help.chm from the readable sources beside this script.

The sources are UTF-8; the help viewer reads the pages and the project in the
file's language (0x804, code page 936). Every file named by the project, and the
project itself, is converted to code page 936 into a staging folder, where
chmcmd compiles it; help.chm is then put into the program folder.

Usage: build_help.py STAGING_FOLDER PROGRAM_FOLDER
"""

import os
import shutil
import subprocess
import sys

SOURCE = os.path.dirname(os.path.abspath(__file__))
PROJECT = "quorix.hhp"
CODEPAGE = "cp936"


def project_files(source=SOURCE):
    """The project and every file it names ([OPTIONS] contents file, [FILES])."""
    names = [PROJECT]
    section = None
    with open(os.path.join(source, PROJECT), encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("["):
                section = line.upper()
                continue
            if section == "[OPTIONS]" and line.lower().startswith("contents file="):
                names.append(line.split("=", 1)[1].strip())
            elif section == "[FILES]":
                names.append(line)
    return names


def converted(source, name):
    """The bytes of a source file in code page 936 (strict: a character the code
    page lacks is an error, never a question mark)."""
    with open(os.path.join(source, name), encoding="utf-8") as f:
        text = f.read()
    return text.encode(CODEPAGE)


def main(argv):
    if len(argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    staging, program = argv[1], argv[2]
    shutil.rmtree(staging, ignore_errors=True)
    os.makedirs(staging)
    for name in project_files():
        try:
            data = converted(SOURCE, name)
        except UnicodeEncodeError as e:
            print(f"{name}: not in code page 936: {e}", file=sys.stderr)
            return 1
        with open(os.path.join(staging, name), "wb") as f:
            f.write(data)
    run = subprocess.run(["chmcmd", "--verbosity", "1", PROJECT], cwd=staging,
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace")
    built = os.path.join(staging, "help.chm")
    if run.returncode != 0 or not os.path.isfile(built):
        print(run.stdout, file=sys.stderr)
        return 1
    os.makedirs(program, exist_ok=True)
    shutil.copyfile(built, os.path.join(program, "help.chm"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
