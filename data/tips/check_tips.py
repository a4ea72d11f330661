#!/usr/bin/env python3
"""Checks the UTF-8 sources of the tip library.

Usage: check_tips.py [FOLDER]

FOLDER defaults to the folder of this script. Every FOLDER/*.txt is a
category (the file name is the category name); every FOLDER/upd/*.txt is
the source of a tip data file. Faults are printed as "file:line: message"
and make the script exit with status 1. On success it prints the tip
counts per category and the coverage facts of the library.
"""

import os
import re
import sys
from collections import Counter, defaultdict

FIELD_MARK = "\uf8f5"
JOIN_MARK = "\u4eaa"    # 亪
DELETE_MARK = "\u74e1"  # 瓡
MARKS = (FIELD_MARK, JOIN_MARK, DELETE_MARK)

DELETE = "<delete>"
DEFAULT_TAG = "(默认)"

TYPE_CODES = {"sz": 0, "binary": 1, "dword": 2, "expand_sz": 3}
DANGER_FLAGS = {"no": 1, "yes": 2}
ROOTS = ("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT",
         "HKEY_USERS", "HKEY_CURRENT_CONFIG")

# First subkeys that exist under the roots; anything else is a typo.
HKCU_TOP = {"appevents", "console", "control panel", "environment", "eudc",
            "keyboard layout", "network", "printers", "software", "system",
            "volatile environment"}
HKLM_TOP = {"bcd00000000", "hardware", "sam", "security", "software", "system"}
HKLM_SYSTEM_SECOND = re.compile(
    r"^(currentcontrolset|controlset\d{3}|setup|mounteddevices|select|"
    r"driverdatabase|hardwareconfig|wpa)$", re.I)
HKU_TOP = re.compile(r"^(\.default|s-1-[0-9-]+(_classes)?)$", re.I)

SINGLE_FIELDS = ("tip", "key", "value", "type", "desc", "source", "danger")
TIP_FIELDS = SINGLE_FIELDS + ("choice",)
HEADER_FIELDS = ("use", "author", "web", "email", "other")

BAD_FILE_CHARS = set('\\/:*?"<>|')
RESERVED_SECTIONS = ("数据",)
FAVOURITES = "收藏夹"

# Read limits of the program (bytes of code-page-936 text).
MAX_RECORD = 2022        # one TipRecord or OptionList
MAX_KEY_LIST = 2023      # the key names of one section, each with its NUL, plus a NUL
MAX_SECTION_LIST = 1023  # the section names of a category file, likewise

# Where a tip comes from: "source: <title> <address>" for Microsoft's own
# documentation (learn.microsoft.com, support.microsoft.com) or its policy
# templates ("<name>.admx" with a Microsoft download address); anything else
# starts with the marker and names the best public source there is.
UNOFFICIAL = "非官方:"
ADDRESS = re.compile(r"https://([A-Za-z0-9.-]+)(/[^\s]*)?")
MS_DOC_HOSTS = ("learn.microsoft.com", "support.microsoft.com")
MS_TEMPLATE_HOSTS = ("www.microsoft.com", "download.microsoft.com")
ADMX_NAME = re.compile(r"\b[\w.-]+\.admx\b", re.I)
# Community answers live under Microsoft's hosts but are no documentation.
NOT_DOCS = re.compile(r"^/([a-z]{2}-[a-z]{2}/)?answers/", re.I)
# Keys a standard user cannot write; their tips must say so.
ADMIN_KEY = re.compile(r"^(HKEY_LOCAL_MACHINE|HKEY_CLASSES_ROOT|HKEY_USERS|HKEY_CURRENT_CONFIG)\\"
                       r"|^HKEY_CURRENT_USER\\Software\\Policies\\", re.I)
ADMIN_NOTE = "需要管理员权限"

HEX_DWORD = re.compile(r"^[0-9A-Fa-f]{1,8}$")
HEX_BINARY = re.compile(r"^[0-9A-Fa-f]{2}( [0-9A-Fa-f]{2})*$")
SECTION_LINE = re.compile(r"^==(.*)==$")
FIELD_LINE = re.compile(r"^([A-Za-z_]+):(.*)$")


def gbk_len(text):
    return len(text.encode("gbk"))


def not_gbk(text):
    """The first character of text that code page 936 cannot hold, or None."""
    for ch in text:
        if ch == FIELD_MARK:
            continue  # reported as a mark
        try:
            ch.encode("gbk")
        except UnicodeEncodeError:
            return ch
    return None


class Tip:
    def __init__(self, path, line, section):
        self.path = path
        self.line = line
        self.section = section
        self.fields = {}
        self.field_lines = {}
        self.choices = []  # (label, data, line)
        self.backing = None  # "microsoft" or "other", set by the source check

    def get(self, name):
        return self.fields.get(name)


class Source:
    """One parsed source file."""

    def __init__(self, path, is_data_file):
        self.path = path
        self.is_data_file = is_data_file
        self.header = {}
        self.sections = []        # names in file order ("" = the category's own)
        self.section_lines = {}
        self.tips = []


class Checker:
    def __init__(self):
        self.errors = []

    def error(self, path, line, message):
        self.errors.append("%s:%s: %s" % (path, line, message))

    # ---------------------------------------------------------------- parsing

    def parse(self, path, is_data_file):
        src = Source(path, is_data_file)
        try:
            with open(path, "rb") as f:
                raw = f.read()
        except OSError as e:
            self.error(path, 0, "cannot read: %s" % e)
            return src
        if raw.startswith(b"\xef\xbb\xbf"):
            self.error(path, 1, "file starts with a UTF-8 byte order mark")
            raw = raw[3:]
        try:
            text = raw.decode("utf-8")
        except UnicodeDecodeError as e:
            self.error(path, 0, "not UTF-8: %s" % e)
            return src

        section = ""
        src.sections.append("")
        tip = None
        seen_tip = False
        for number, line in enumerate(text.splitlines(), 1):
            line = line.rstrip()
            if line.startswith("#"):
                continue
            if not line.strip():
                tip = None
                continue
            m = SECTION_LINE.match(line)
            if m:
                tip = None
                name = m.group(1).strip()
                if is_data_file:
                    self.error(path, number, "a tip data file has no sub-categories")
                    continue
                self.check_section_name(path, number, name, src)
                section = name
                src.sections.append(name)
                src.section_lines[name] = number
                continue
            m = FIELD_LINE.match(line)
            if not m:
                self.error(path, number, "not a field line: %r" % line)
                continue
            field = m.group(1)
            value = m.group(2).strip()
            if field in HEADER_FIELDS:
                if not is_data_file:
                    self.error(path, number, "header field %r only belongs in a tip data file" % field)
                elif seen_tip or tip is not None:
                    self.error(path, number, "header field %r after the first tip" % field)
                elif field in src.header:
                    self.error(path, number, "header field %r given twice" % field)
                else:
                    src.header[field] = (value, number)
                    self.check_text(path, number, field, value)
                continue
            if field not in TIP_FIELDS:
                self.error(path, number, "unknown field %r" % field)
                continue
            if field == "tip":
                if tip is not None:
                    self.error(path, number, "tip starts without a blank line after the previous tip")
                tip = Tip(path, number, section)
                src.tips.append(tip)
                seen_tip = True
            elif tip is None:
                self.error(path, number, "field %r outside a tip (a tip starts with \"tip:\")" % field)
                continue
            if field == "choice":
                self.parse_choice(tip, number, value)
            elif field in tip.fields:
                self.error(path, number, "field %r given twice in one tip" % field)
            else:
                tip.fields[field] = value
                tip.field_lines[field] = number
        if is_data_file:
            for field in HEADER_FIELDS:
                if field not in src.header:
                    self.error(path, 1, "header field %r missing" % field)
        return src

    def parse_choice(self, tip, number, value):
        if "=" not in value:
            self.error(tip.path, number, "choice without \"=\": %r" % value)
            return
        label, data = value.split("=", 1)
        tip.choices.append((label.strip(), data.strip(), number))

    # ------------------------------------------------------------ text checks

    def check_text(self, path, line, what, text, forbid=MARKS):
        for mark in forbid:
            if mark in text:
                self.error(path, line, "%s holds the reserved mark U+%04X" % (what, ord(mark)))
        bad = not_gbk(text)
        if bad is not None:
            self.error(path, line, "%s holds %r (U+%04X), which code page 936 cannot hold"
                       % (what, bad, ord(bad)))
        if any(ord(c) < 32 for c in text):
            self.error(path, line, "%s holds a control character" % what)

    def check_section_name(self, path, line, name, src):
        if not name:
            self.error(path, line, "empty sub-category name")
            return
        if name in RESERVED_SECTIONS:
            self.error(path, line, "sub-category name %r is reserved" % name)
        if "]" in name or "[" in name:
            self.error(path, line, "sub-category name holds a bracket")
        self.check_text(path, line, "sub-category name", name)
        for other in src.sections:
            if other and other.upper() == name.upper():
                self.error(path, line, "sub-category %r given twice" % name)

    def check_name(self, tip):
        name = tip.get("tip")
        line = tip.line
        if not name:
            self.error(tip.path, line, "empty tip name")
            return
        if "=" in name:
            self.error(tip.path, line, "tip name holds \"=\"")
        if name[0] in "[;":
            self.error(tip.path, line, "tip name starts with %r" % name[0])
        if "]" in name:
            self.error(tip.path, line, "tip name holds \"]\"")
        self.check_text(tip.path, line, "tip name", name)

    def check_key(self, tip):
        key = tip.get("key")
        line = tip.field_lines.get("key", tip.line)
        self.check_text(tip.path, line, "key", key)
        root, sep, rest = key.partition("\\")
        if root not in ROOTS or not sep:
            self.error(tip.path, line, "key does not start with a root key and a backslash: %r" % key)
            return
        if not rest or key.endswith("\\"):
            self.error(tip.path, line, "key ends with a backslash or has no subkey")
            return
        parts = rest.split("\\")
        if any(not p for p in parts):
            self.error(tip.path, line, "key holds an empty subkey name (double backslash)")
            return
        if any(p != p.strip() for p in parts):
            self.error(tip.path, line, "a subkey name in the key starts or ends with a blank")
        top = parts[0].lower()
        if root == "HKEY_CURRENT_USER" and top not in HKCU_TOP:
            self.error(tip.path, line, "no such subkey directly under HKEY_CURRENT_USER: %r" % parts[0])
        if root == "HKEY_LOCAL_MACHINE":
            if top not in HKLM_TOP:
                self.error(tip.path, line, "no such subkey directly under HKEY_LOCAL_MACHINE: %r" % parts[0])
            elif top == "system" and len(parts) > 1 and not HKLM_SYSTEM_SECOND.match(parts[1]):
                self.error(tip.path, line, "HKEY_LOCAL_MACHINE\\SYSTEM\\%s is not a control set; "
                           "did you mean CurrentControlSet\\%s?" % (parts[1], parts[1]))
        if root == "HKEY_USERS" and not HKU_TOP.match(parts[0]):
            self.error(tip.path, line, "no such subkey directly under HKEY_USERS: %r" % parts[0])

    def check_data(self, tip, kind, label, data, line):
        if data == DELETE:
            return
        for mark in (JOIN_MARK, DELETE_MARK, FIELD_MARK):
            if mark in data:
                self.error(tip.path, line, "data holds the reserved mark U+%04X" % ord(mark))
                return
        self.check_text(tip.path, line, "data", data)
        if kind == "dword":
            if not HEX_DWORD.match(data):
                self.error(tip.path, line, "dword data must be 1 to 8 hex digits without 0x: %r" % data)
        elif kind == "binary":
            if data and not HEX_BINARY.match(data):
                self.error(tip.path, line, "binary data must be hex byte pairs separated by single blanks: %r" % data)
        elif kind == "expand_sz":
            if data.count("%") % 2:
                self.error(tip.path, line, "unbalanced %% in expandable string: %r" % data)

    def check_tip(self, tip):
        for field in SINGLE_FIELDS:
            if field not in tip.fields:
                self.error(tip.path, tip.line, "tip %r lacks field %r" % (tip.get("tip") or "", field))
        if any(f not in tip.fields for f in SINGLE_FIELDS):
            return False
        self.check_name(tip)
        self.check_key(tip)
        value = tip.get("value")
        vline = tip.field_lines["value"]
        if not value:
            self.error(tip.path, vline, "empty value name (write @ for the default value)")
        else:
            self.check_text(tip.path, vline, "value name", value)
        kind = tip.get("type")
        if kind not in TYPE_CODES:
            self.error(tip.path, tip.field_lines["type"], "unknown type %r (sz, binary, dword, expand_sz)" % kind)
        desc = tip.get("desc")
        if not desc:
            self.error(tip.path, tip.field_lines["desc"], "empty description")
        else:
            self.check_text(tip.path, tip.field_lines["desc"], "description", desc)
        if ADMIN_KEY.match(tip.get("key")) and desc and ADMIN_NOTE not in desc:
            self.error(tip.path, tip.field_lines["desc"],
                       "a standard user cannot write this key: the description must say %s" % ADMIN_NOTE)
        self.check_tip_source(tip)
        if tip.get("danger") not in DANGER_FLAGS:
            self.error(tip.path, tip.field_lines["danger"], "danger must be yes or no")

        if len(tip.choices) < 2:
            self.error(tip.path, tip.line, "tip %r has fewer than 2 choices" % tip.get("tip"))
        defaults = 0
        labels = set()
        datas = set()
        for label, data, line in tip.choices:
            if not label:
                self.error(tip.path, line, "empty choice label")
            self.check_text(tip.path, line, "choice label", label)
            if DEFAULT_TAG in label:
                defaults += 1
            if label.upper() in labels:
                self.error(tip.path, line, "choice label %r given twice" % label)
            labels.add(label.upper())
            if data in datas:
                self.error(tip.path, line, "two choices write the same data %r" % data)
            datas.add(data)
            if kind in TYPE_CODES:
                self.check_data(tip, kind, label, data, line)
        if tip.choices and defaults == 0:
            self.error(tip.path, tip.line, "no choice labelled %s (the Windows default)" % DEFAULT_TAG)
        elif defaults > 1:
            self.error(tip.path, tip.line, "more than one choice labelled %s" % DEFAULT_TAG)
        if kind in TYPE_CODES and tip.choices:
            self.check_record_size(tip)
        return True

    def check_tip_source(self, tip):
        """Sets tip.backing to "microsoft" or "other"; reports a source of no kind."""
        text = tip.get("source")
        line = tip.field_lines["source"]
        tip.backing = None
        if not text:
            self.error(tip.path, line, "empty source")
            return
        self.check_text(tip.path, line, "source", text)
        addresses = ADDRESS.findall(text)
        if not addresses:
            self.error(tip.path, line, "source gives no https:// address")
            return
        unofficial = text.startswith(UNOFFICIAL)
        title = ADDRESS.sub("", text[len(UNOFFICIAL):] if unofficial else text).strip()
        if not title:
            self.error(tip.path, line, "source without a title")
            return
        if unofficial:
            tip.backing = "other"
            return
        for host, path in addresses:
            host = host.lower()
            if host in MS_DOC_HOSTS and not NOT_DOCS.match(path or ""):
                continue
            if host in MS_TEMPLATE_HOSTS and ADMX_NAME.search(text):
                continue
            self.error(tip.path, line, "source %s is not Microsoft's documentation or policy template; "
                       "start the source with %s" % (host + (path or ""), UNOFFICIAL))
            return
        tip.backing = "microsoft"

    def check_record_size(self, tip):
        try:
            value = "" if tip.get("value") == "@" else tip.get("value")
            label, data, _ = tip.choices[0]
            data = DELETE_MARK if data == DELETE else data
            record = (gbk_len(tip.get("key")) + 1 + gbk_len(value) + 1 + gbk_len(label)
                      + 2 + gbk_len(data) + 1 + 1 + 1 + gbk_len(tip.get("desc")) + 1 + 1)
            options = 1 + 2 + 1
            for label, data, _ in tip.choices:
                data = DELETE_MARK if data == DELETE else data
                options += gbk_len(label) + 1 + gbk_len(data) + 1
        except UnicodeEncodeError:
            return  # already reported
        if record > MAX_RECORD:
            self.error(tip.path, tip.line, "tip record is %d bytes in code page 936; the program reads only %d"
                       % (record, MAX_RECORD))
        if options > MAX_RECORD:
            self.error(tip.path, tip.line, "choice list is %d bytes in code page 936; the program reads only %d"
                       % (options, MAX_RECORD))

    # ---------------------------------------------------------- file checks

    def check_source(self, src):
        by_section = defaultdict(list)
        for tip in src.tips:
            if self.check_tip(tip):
                by_section[tip.section].append(tip)
        for section, tips in by_section.items():
            seen = {}
            total = 1
            for tip in tips:
                name = tip.get("tip")
                upper = name.upper()
                if upper in seen:
                    self.error(tip.path, tip.line, "tip name %r already used in this section at line %d"
                               % (name, seen[upper]))
                else:
                    seen[upper] = tip.line
                try:
                    total += gbk_len(name) + 1
                except UnicodeEncodeError:
                    pass
            if total > MAX_KEY_LIST:
                self.error(src.path, src.section_lines.get(section, 1),
                           "the tip names of section %r take %d bytes; the program lists only %d"
                           % (section or "数据", total, MAX_KEY_LIST))
        for name in src.sections:
            if name and not by_section.get(name):
                self.error(src.path, src.section_lines[name], "sub-category %r holds no tips" % name)
        if not src.is_data_file:
            names = ["数据" if not s else s for s in src.sections if by_section.get(s) or s]
            total = 1
            for name in names:
                try:
                    total += 2 * gbk_len(name) + 2 + 2
                except UnicodeEncodeError:
                    pass
            if total > MAX_SECTION_LIST:
                self.error(src.path, 1, "section names take %d bytes; the program lists only %d"
                           % (total, MAX_SECTION_LIST))
        elif not src.tips:
            self.error(src.path, 1, "tip data file holds no tips")

    def check_category_name(self, path, name):
        if not name.strip() or name != name.strip():
            self.error(path, 0, "category name is empty or starts or ends with a blank")
        bad = sorted(set(name) & BAD_FILE_CHARS)
        if bad:
            self.error(path, 0, "category name holds %s" % " ".join(bad))
        self.check_text(path, 0, "category name", name)


def collect(folder):
    categories = sorted(os.path.join(folder, n) for n in os.listdir(folder)
                        if n.endswith(".txt") and os.path.isfile(os.path.join(folder, n)))
    upd = os.path.join(folder, "upd")
    data_files = []
    if os.path.isdir(upd):
        data_files = sorted(os.path.join(upd, n) for n in os.listdir(upd) if n.endswith(".txt"))
    return categories, data_files


def run(folder, out=sys.stdout):
    checker = Checker()
    categories, data_files = collect(folder)
    if not categories:
        checker.error(folder, 0, "no category files (*.txt)")
    sources = []
    for path in categories:
        checker.check_category_name(path, os.path.basename(path)[:-4])
        sources.append(checker.parse(path, False))
    for path in data_files:
        sources.append(checker.parse(path, True))
    for src in sources:
        checker.check_source(src)

    # Library-wide checks.
    fav_files = [s for s in sources if FAVOURITES in s.sections]
    if len(fav_files) > 1:
        for s in fav_files[1:]:
            checker.error(s.path, s.section_lines[FAVOURITES],
                          "favourites section already used in %s" % fav_files[0].path)
    types_of = {}
    originals = {}
    for src in sources:
        for tip in src.tips:
            if not all(f in tip.fields for f in SINGLE_FIELDS):
                continue
            ident = (tip.get("key").upper(), tip.get("value").upper())
            if tip.section != FAVOURITES and not src.is_data_file:
                originals.setdefault((tip.get("tip").upper(),) + ident, tip)
            kind = tip.get("type")
            if ident in types_of and types_of[ident][0] != kind:
                first = types_of[ident]
                checker.error(tip.path, tip.field_lines["type"],
                              "%s\\%s is %s here but %s at %s:%d" % (tip.get("key"), tip.get("value"),
                                                                    kind, first[0], first[1], first[2]))
            else:
                types_of.setdefault(ident, (kind, tip.path, tip.line))
    for src in sources:
        for tip in src.tips:
            if not all(f in tip.fields for f in SINGLE_FIELDS):
                continue
            if tip.section == FAVOURITES or src.is_data_file:
                ident = (tip.get("tip").upper(), tip.get("key").upper(), tip.get("value").upper())
                if ident not in originals:
                    checker.error(tip.path, tip.line, "tip %r is a copy of no tip in the categories"
                                  % tip.get("tip"))
                    continue
                original = originals[ident]
                for field in SINGLE_FIELDS:
                    if tip.get(field) != original.get(field):
                        checker.error(tip.path, tip.field_lines.get(field, tip.line),
                                      "%s differs from the original tip at %s:%d"
                                      % (field, original.path, original.line))
                if [c[:2] for c in tip.choices] != [c[:2] for c in original.choices]:
                    checker.error(tip.path, tip.line, "choices differ from the original tip at %s:%d"
                                  % (original.path, original.line))

    if checker.errors:
        for e in checker.errors:
            print(e, file=out)
        print("%d fault(s)" % len(checker.errors), file=out)
        return 1

    report(sources, out)
    return 0


def report(sources, out):
    total = 0
    print("tips per category (own / sub-categories / favourites):", file=out)
    for src in sources:
        if src.is_data_file:
            continue
        name = os.path.basename(src.path)[:-4]
        own = sum(1 for t in src.tips if t.section == "")
        fav = sum(1 for t in src.tips if t.section == FAVOURITES)
        subs = [s for s in src.sections if s and s != FAVOURITES]
        sub = len(src.tips) - own - fav
        total += own + sub
        print("  %-12s %3d  (%d / %d in %d / %d)" % (name, own + sub, own, sub, len(subs), fav), file=out)
    print("total tips in categories: %d (favourite copies not counted)" % total, file=out)
    for src in sources:
        if src.is_data_file:
            print("tip data file %s: %d tips" % (os.path.basename(src.path), len(src.tips)), file=out)

    tips = [t for s in sources if not s.is_data_file for t in s.tips if t.section != FAVOURITES]
    kinds = Counter(t.get("type") for t in tips)
    roots = Counter(t.get("key").split("\\", 1)[0] for t in tips)
    choices = [c for t in tips for c in t.choices]
    print("coverage:", file=out)
    print("  types: " + ", ".join("%s %d" % (k, kinds.get(k, 0)) for k in TYPE_CODES), file=out)
    print("  roots: " + ", ".join("%s %d" % (r, roots.get(r, 0)) for r in ROOTS), file=out)
    print("  default-value (@) tips: %d" % sum(1 for t in tips if t.get("value") == "@"), file=out)
    print("  zero-length binary choices: %d" % sum(
        1 for t in tips if t.get("type") == "binary" for c in t.choices if c[1] == ""), file=out)
    print("  delete choices: %d" % sum(1 for c in choices if c[1] == DELETE), file=out)
    print("  dangerous tips: %d" % sum(1 for t in tips if t.get("danger") == "yes"), file=out)
    backed = sum(1 for t in tips if t.backing == "microsoft")
    print("sources: %d backed by Microsoft's documentation or policy templates, %d by other sources "
          "(marked %s), %d tips" % (backed, len(tips) - backed, UNOFFICIAL, len(tips)), file=out)


def main(argv):
    folder = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    return run(folder)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
