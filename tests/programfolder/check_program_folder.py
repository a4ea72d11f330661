#!/usr/bin/env python3
"""The program folder the build makes (the one ./run.sh starts) holds what a new
user needs: the program, the tip library, and a Bak folder for the backups."""
import os
import sys

folder = sys.argv[1]
failures = []
if not os.path.isfile(os.path.join(folder, "Quorix.exe")):
    failures.append("Quorix.exe is missing")
if not os.path.isdir(os.path.join(folder, "Databak")):
    failures.append("Databak is missing")
bak = os.path.join(folder, "Bak")
if not os.path.isdir(bak):
    failures.append("Bak is missing: applied tips would get no backup")
for f in failures:
    print("FAIL:", f)
if not failures:
    print("program folder", folder, "holds Quorix.exe, Databak and Bak")
sys.exit(1 if failures else 0)
