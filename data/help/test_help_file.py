#!/usr/bin/env python3
"""Checks the built help.chm against its sources.

The file is unpacked with extract_chmLib (Debian libchm-bin). Every page and the
table of contents must be stored byte for byte as the code-page-936 conversion
of its UTF-8 source; every page in the source folder must be part of the file;
every internal link (href, src, the contents' Local entries) must name a topic
of the file, and an anchor must exist in its page; the language must be 0x804
and the window definition's caption the one the project names.

Usage: test_help_file.py PATH_TO_HELP_CHM
"""

import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import build_help  # noqa: E402

CHM = None
LINK = re.compile(r'''(?:href|src)\s*=\s*"([^"]*)"|<param\s+name="Local"\s+value="([^"]*)"''', re.I)
ANCHOR = re.compile(r'''(?:name|id)\s*=\s*"([^"]*)"''', re.I)


def window_caption_in_project():
    with open(os.path.join(build_help.SOURCE, build_help.PROJECT), encoding="utf-8") as f:
        for line in f:
            m = re.match(r'\s*main\s*=\s*"([^"]*)"', line)
            if m:
                return m.group(1)
    return None


class HelpFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp()
        out = os.path.join(cls.folder, "out")
        run = subprocess.run(["extract_chmLib", CHM, out], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        if run.returncode != 0 or not os.path.isdir(out):
            raise RuntimeError("extract_chmLib failed: " + run.stdout.decode(errors="replace"))
        cls.out = out
        cls.stored = {}
        for root, _, files in os.walk(out):
            for name in files:
                path = os.path.join(root, name)
                rel = os.path.relpath(path, out).replace(os.sep, "/")
                with open(path, "rb") as f:
                    cls.stored[rel] = f.read()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder, ignore_errors=True)

    def topics(self):
        return [n for n in build_help.project_files() if n != build_help.PROJECT]

    def test_every_topic_is_stored_as_its_code_page_936_conversion(self):
        # The conversion by the C library (iconv), beside the build's own.
        for name in self.topics():
            with self.subTest(name=name):
                run = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP936", os.path.join(build_help.SOURCE, name)],
                                     stdout=subprocess.PIPE)
                self.assertEqual(0, run.returncode)
                self.assertTrue(name in self.stored, "not stored")
                self.assertEqual(run.stdout, self.stored[name])
                self.assertEqual(build_help.converted(build_help.SOURCE, name), self.stored[name])

    def test_every_source_page_is_part_of_the_file(self):
        listed = set(self.topics())
        for name in os.listdir(build_help.SOURCE):
            if name.endswith((".html", ".css", ".hhc")):
                self.assertIn(name, listed, f"{name} is not named by the project")

    def test_pages_declare_the_code_page_they_are_stored_in(self):
        for name in self.topics():
            if name.endswith((".html", ".hhc")):
                with self.subTest(name=name):
                    self.assertIn(b'charset=gb2312', self.stored[name])

    def test_every_link_resolves_to_a_topic_and_anchor(self):
        links = 0
        for name in self.topics():
            if not name.endswith((".html", ".hhc")):
                continue
            text = self.stored[name].decode(build_help.CODEPAGE)
            for m in LINK.finditer(text):
                target = m.group(1) if m.group(1) is not None else m.group(2)
                links += 1
                with self.subTest(page=name, link=target):
                    self.assertNotRegex(target, r"^[A-Za-z][A-Za-z0-9+.-]*:", "a link leaving the help file")
                    path, _, anchor = target.partition("#")
                    base = os.path.dirname(name)
                    resolved = os.path.normpath(os.path.join(base, path)).replace(os.sep, "/") if path else name
                    self.assertTrue(resolved in self.stored, "no such topic in the file")
                    if anchor:
                        page = self.stored[resolved].decode(build_help.CODEPAGE)
                        self.assertIn(anchor, ANCHOR.findall(page), "no such anchor")
        self.assertGreater(links, len(self.topics()))

    def page(self, name):
        return re.sub(r"<[^>]+>", "", self.stored[name].decode(build_help.CODEPAGE))

    def test_balloon_is_described_as_the_program_builds_it(self):
        # The balloon's lines as the main window writes them, in their order.
        source = os.path.join(build_help.SOURCE, "..", "..", "src", "mainwindow", "RowTooltip.cpp")
        with open(source, encoding="utf-8") as f:
            labels = re.findall(r'L"([\u4e00-\u9fff]+)[:：] ?"', f.read())
        self.assertEqual(["键位", "类型", "键名", "键值", "命令"], labels)
        text = self.page("mainwindow.html")
        section = text[text.index("提示气球"):]
        section = section[:section.index("。", section.index("内容")) + 1]
        positions = [section.find(label) for label in labels]
        self.assertNotIn(-1, positions, section)
        self.assertEqual(sorted(positions), positions, section)
        self.assertNotIn("详细说明", section)

    def test_f3_in_the_category_window_honours_the_option(self):
        option = "全部勾选时不勾选具有危险性的技巧"
        self.assertIn(option, self.page("category.html"))
        self.assertIn(option, self.page("options.html"))
        for name in ("category.html", "keys.html"):
            with self.subTest(page=name):
                self.assertNotIn("包括危险的技巧", self.page(name))
                self.assertNotIn("包括具有危险性的技巧", self.page(name))

    def test_a_line_break_in_the_description_is_refused_not_dropped(self):
        text = self.page("properties.html")
        self.assertNotIn("不会被保存", text)
        self.assertIn("说明中不能换行", text)
        self.assertIn("不保存", text)

    def test_language_and_window_caption(self):
        system = self.stored["#SYSTEM"]
        lcid, pos = None, 4
        while pos + 4 <= len(system):
            code, size = struct.unpack_from("<HH", system, pos)
            if code == 4:
                lcid = struct.unpack_from("<I", system, pos + 4)[0]
            pos += 4 + size
        self.assertEqual(0x804, lcid)
        windows, strings = self.stored["#WINDOWS"], self.stored["#STRINGS"]
        count, size = struct.unpack_from("<II", windows, 0)
        self.assertEqual(1, count)
        caption_offset = struct.unpack_from("<I", windows, 8 + 0x14)[0]
        caption = strings[caption_offset:strings.index(b"\0", caption_offset)]
        expected = window_caption_in_project()
        self.assertEqual("Quorix 3.0 帮助", expected)
        self.assertEqual(expected.encode(build_help.CODEPAGE), caption)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    CHM = sys.argv.pop(1)
    unittest.main(verbosity=2)
