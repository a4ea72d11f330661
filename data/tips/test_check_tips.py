#!/usr/bin/env python3
"""Tests for check_tips.py: each broken source must be refused with its line."""

import io
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_tips  # noqa: E402

GOOD_TIP = """tip: 显示文件扩展名
key: HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced
value: HideFileExt
type: dword
desc: 显示已知文件类型的扩展名。
source: 非官方: 由“文件夹选项”写入 https://learn.microsoft.com/sysinternals/downloads/procmon
danger: no
choice: 显示 = 0
choice: 隐藏(默认) = 1
"""

HEADER = """use: 示例
author: a
web: https://example.com/
email: a@example.com
other: b

"""


class CheckerTest(unittest.TestCase):
    def run_checker(self, files):
        """files: {relative path: text}. Returns (status, output)."""
        with tempfile.TemporaryDirectory() as folder:
            for rel, text in files.items():
                path = os.path.join(folder, rel)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text)
            out = io.StringIO()
            status = check_tips.run(folder, out)
            return status, out.getvalue()

    def assert_fault(self, text, message, line, name="类别.txt"):
        status, out = self.run_checker({name: text})
        self.assertEqual(status, 1, out)
        self.assertIn(message, out)
        self.assertIn("%s:%d:" % (name, line), out)

    def test_good_source_passes(self):
        status, out = self.run_checker({"类别.txt": "== 子类 ==\n" + GOOD_TIP,
                                        "upd/示例.txt": HEADER + GOOD_TIP})
        self.assertEqual(status, 0, out)
        self.assertIn("total tips in categories: 1", out)

    def test_unknown_field(self):
        self.assert_fault(GOOD_TIP + "colour: red\n", "unknown field", 10)

    def test_missing_field(self):
        self.assert_fault(GOOD_TIP.replace("danger: no\n", ""), "lacks field 'danger'", 1)

    def test_one_choice(self):
        self.assert_fault(GOOD_TIP.replace("choice: 显示 = 0\n", ""), "fewer than 2 choices", 1)

    def test_no_default_label(self):
        self.assert_fault(GOOD_TIP.replace("隐藏(默认)", "隐藏"), "no choice labelled", 1)

    def test_bad_dword(self):
        self.assert_fault(GOOD_TIP.replace("显示 = 0", "显示 = 0x1"), "dword data", 8)
        self.assert_fault(GOOD_TIP.replace("显示 = 0", "显示 = 100000000"), "dword data", 8)
        self.assert_fault(GOOD_TIP.replace("显示 = 0", "显示 ="), "dword data", 8)

    def test_bad_binary(self):
        text = GOOD_TIP.replace("type: dword", "type: binary")
        text = text.replace("显示 = 0", "显示 = 01  02").replace("(默认) = 1", "(默认) = 01")
        self.assert_fault(text, "binary data", 8)
        text = GOOD_TIP.replace("type: dword", "type: binary").replace("显示 = 0", "显示 = 012")
        self.assert_fault(text.replace("(默认) = 1", "(默认) = 01"), "binary data", 8)

    def test_zero_length_binary_and_delete_pass(self):
        text = GOOD_TIP.replace("type: dword", "type: binary")
        text = text.replace("显示 = 0", "显示 =").replace("(默认) = 1", "(默认) = <delete>")
        status, out = self.run_checker({"类别.txt": text})
        self.assertEqual(status, 0, out)

    def test_duplicate_name_in_section_ignores_case(self):
        a = GOOD_TIP.replace("显示文件扩展名", "Show Ext")
        b = GOOD_TIP.replace("显示文件扩展名", "SHOW EXT")
        self.assert_fault(a + "\n" + b, "already used in this section", 11)

    def test_same_name_in_other_section_passes(self):
        status, out = self.run_checker({"类别.txt": GOOD_TIP + "\n== 子类 ==\n" + GOOD_TIP})
        self.assertEqual(status, 0, out)

    def test_bad_names(self):
        for name in ("a=b", "[x", ";x", "x]"):
            self.assert_fault(GOOD_TIP.replace("显示文件扩展名", name), "tip name", 1)

    def test_not_gbk(self):
        self.assert_fault(GOOD_TIP.replace("显示已知", "\U0001F600显示"), "code page 936", 5)
        self.assert_fault(GOOD_TIP.replace("显示 = 0", "\u0e01 = 0"), "code page 936", 8)

    def test_marks(self):
        self.assert_fault(GOOD_TIP.replace("显示 = 0", "显示亪 = 0"), "reserved mark", 8)
        self.assert_fault(GOOD_TIP.replace("显示 = 0", "显示 = \u74e1"), "reserved mark", 8)
        self.assert_fault(GOOD_TIP.replace("显示已知", "\uf8f5"), "reserved mark", 5)

    def test_bad_key(self):
        self.assert_fault(GOOD_TIP.replace("HKEY_CURRENT_USER\\", "HKCU\\"), "root key", 2)
        self.assert_fault(GOOD_TIP.replace("\\Advanced", "\\Advanced\\"), "ends with a backslash", 2)
        self.assert_fault(GOOD_TIP.replace("Software\\", "Sofware\\"), "no such subkey", 2)
        self.assert_fault(GOOD_TIP.replace("Windows\\Current", "Windows\\\\Current"), "double backslash", 2)

    def test_system_key_without_control_set(self):
        text = GOOD_TIP.replace(
            "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced",
            "HKEY_LOCAL_MACHINE\\SYSTEM\\Control\\FileSystem")
        self.assert_fault(text, "not a control set", 2)

    def test_type_conflict_between_tips(self):
        other = GOOD_TIP.replace("显示文件扩展名", "另一个").replace("type: dword", "type: sz")
        self.assert_fault(GOOD_TIP + "\n" + other, "is sz here but dword", 14)

    def test_unbalanced_percent(self):
        text = GOOD_TIP.replace("type: dword", "type: expand_sz")
        text = text.replace("显示 = 0", "显示 = %USERPROFILE\\Temp")
        self.assert_fault(text, "unbalanced", 8)

    def test_reserved_sub_category(self):
        self.assert_fault("== 数据 ==\n" + GOOD_TIP, "reserved", 1)

    def test_favourites_in_two_categories(self):
        fav = "== 收藏夹 ==\n" + GOOD_TIP + "\n== 子类 ==\n" + GOOD_TIP
        status, out = self.run_checker({"甲.txt": fav, "乙.txt": fav})
        self.assertEqual(status, 1, out)
        self.assertIn("favourites section already used", out)

    def test_data_file_header_and_sections(self):
        status, out = self.run_checker({"类别.txt": GOOD_TIP, "upd/示例.txt": GOOD_TIP})
        self.assertEqual(status, 1, out)
        self.assertIn("header field 'use' missing", out)
        status, out = self.run_checker({"类别.txt": GOOD_TIP,
                                        "upd/示例.txt": HEADER + "== 子类 ==\n" + GOOD_TIP})
        self.assertEqual(status, 1, out)
        self.assertIn("no sub-categories", out)

    def test_record_longer_than_program_reads(self):
        text = GOOD_TIP.replace("显示已知文件类型的扩展名。", "很长" * 520)
        self.assert_fault(text, "tip record is", 1)

    def test_tips_without_blank_line(self):
        self.assert_fault(GOOD_TIP + GOOD_TIP.replace("显示文件扩展名", "另一个"),
                          "without a blank line", 10)

    def test_source_is_required_and_classified(self):
        self.assert_fault(GOOD_TIP.replace(
            "source: 非官方: 由“文件夹选项”写入 https://learn.microsoft.com/sysinternals/downloads/procmon\n", ""),
            "lacks field 'source'", 1)
        cases = [
            # (source, fault or None, Microsoft-backed)
            ("Policy CSP - Start https://learn.microsoft.com/windows/client-management/mdm/policy-csp-start", None, True),
            ("KB https://support.microsoft.com/help/123", None, True),
            ("策略模板 word16.admx: VBA https://www.microsoft.com/download/details.aspx?id=49030", None, True),
            ("非官方: 某论坛教程 https://example.com/t/1", None, False),
            ("非官方: 社区回答 https://learn.microsoft.com/answers/questions/1", None, False),
            ("某论坛教程 https://example.com/t/1", "start the source with 非官方:", None),
            ("社区回答 https://learn.microsoft.com/answers/questions/1", "is not Microsoft's documentation", None),
            ("下载页 https://www.microsoft.com/download/details.aspx?id=1", "is not Microsoft's documentation", None),
            ("Policy CSP - Start（无地址）", "no https:// address", None),
            ("非官方: https://example.com/", "without a title", None),
        ]
        for source, fault, microsoft in cases:
            text = GOOD_TIP.replace(
                "非官方: 由“文件夹选项”写入 https://learn.microsoft.com/sysinternals/downloads/procmon", source)
            status, out = self.run_checker({"类别.txt": text})
            if fault:
                self.assertEqual(status, 1, source)
                self.assertIn(fault, out)
                self.assertIn("类别.txt:6:", out)
            else:
                self.assertEqual(status, 0, out)
                self.assertIn("sources: %d backed by Microsoft" % (1 if microsoft else 0), out)

    def test_admin_keys_must_say_so(self):
        for key in ("HKEY_LOCAL_MACHINE\\SOFTWARE\\Policies\\Microsoft\\Windows\\System",
                    "HKEY_CURRENT_USER\\Software\\Policies\\Microsoft\\Windows\\System"):
            text = GOOD_TIP.replace(
                "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", key)
            self.assert_fault(text, "需要管理员权限", 5)
            text = text.replace("扩展名。", "扩展名。需要管理员权限。")
            status, out = self.run_checker({"类别.txt": text})
            self.assertEqual(status, 0, out)

    def test_copy_must_match_its_original(self):
        fav = "== 子类 ==\n" + GOOD_TIP + "\n== 收藏夹 ==\n" + GOOD_TIP
        status, out = self.run_checker({"类别.txt": fav})
        self.assertEqual(status, 0, out)
        for old, new, what in (("扩展名。", "扩展名！", "desc differs"),
                               ("隐藏(默认) = 1", "隐藏(默认) = 2", "choices differ"),
                               ("由“文件夹选项”写入", "由“设置”写入", "source differs")):
            copy = GOOD_TIP.replace(old, new)
            status, out = self.run_checker({"类别.txt": "== 子类 ==\n" + GOOD_TIP,
                                            "upd/示例.txt": HEADER + copy})
            self.assertEqual(status, 1, out)
            self.assertIn(what + " from the original tip", out)

    def test_bad_category_file_name(self):
        status, out = self.run_checker({"a?b.txt": GOOD_TIP})
        self.assertEqual(status, 1, out)

    def test_shipped_library_passes(self):
        out = io.StringIO()
        folder = os.path.dirname(os.path.abspath(__file__))
        self.assertEqual(check_tips.run(folder, out), 0, out.getvalue())


if __name__ == "__main__":
    unittest.main()
