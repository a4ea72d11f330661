#!/usr/bin/env python3
"""Host check of the HTML export's sample page (written by test_transfer's
DocExport.SamplePageForTheHostCheck): it decodes as GBK, a browser's parser
sees only the page layout's elements, every tip paragraph shows exactly the
tip's texts, and libxml2's HTML parser reports no error."""
import os
import shutil
import subprocess
import sys
import tempfile
from html.parser import HTMLParser

START_TAGS = {"meta", "body", "p", "a", "br", "font"}
END_TAGS = {"head", "p", "a", "font", "body", "html"}


class Page(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.starts, self.ends = [], []
        self.paragraphs = []  # each: list of lines (text split at <br>)
        self.current = None

    def handle_starttag(self, tag, attrs):
        self.starts.append(tag)
        if tag == "p":
            self.current = [""]
            self.paragraphs.append(self.current)
        elif tag == "br" and self.current is not None:
            self.current.append("")

    def handle_endtag(self, tag):
        self.ends.append(tag)
        if tag == "p":
            self.current = None

    def handle_data(self, data):
        if self.current is not None:
            self.current[-1] += data

    def handle_comment(self, data):
        raise AssertionError("a comment reached the page: %r" % data)


def main(folder):
    page_path = os.path.join(folder, "transfer_sample.htm")
    with open(page_path, "rb") as f:
        raw = f.read()
    with open(os.path.join(folder, "transfer_sample.txt"), encoding="utf-8") as f:
        tips = [line.rstrip("\n").split("\t") for line in f if line.strip()]

    text = raw.decode("gbk")  # strict: any byte outside GBK fails here
    page = Page()
    page.feed(text)
    page.close()
    failures = []
    if set(page.starts) - START_TAGS:
        failures.append("unexpected elements: %s" % sorted(set(page.starts) - START_TAGS))
    if set(page.ends) - END_TAGS:
        failures.append("unexpected end tags: %s" % sorted(set(page.ends) - END_TAGS))
    if page.starts.count("a") != 2:
        failures.append("links: %d, expected the two of the head" % page.starts.count("a"))

    # The head's welcome paragraph, one per tip, the footer.
    if len(page.paragraphs) != len(tips) + 2:
        failures.append("paragraphs: %d, expected %d" % (len(page.paragraphs), len(tips) + 2))
    for tip, lines in zip(tips, page.paragraphs[1:-1]):
        name, key, value_name, data, description = tip
        expected = ["【%s】" % name, "键位：" + key, "键名：" + value_name, "键值数据：" + data,
                    "说明：" + description]
        shown = [line.strip("\r\n") for line in lines]
        if shown != expected:
            failures.append("tip shows %r, expected %r" % (shown, expected))

    xmllint = shutil.which("xmllint")
    if xmllint:
        # libxml2 reads a gb2312 label strictly (GBK-only characters fail), so
        # it gets a UTF-8 copy labelled as such.
        with tempfile.TemporaryDirectory() as tmp:
            copy = os.path.join(tmp, "page.htm")
            with open(copy, "w", encoding="utf-8", newline="") as f:
                f.write(text.replace("charset=gb2312", "charset=utf-8"))
            run = subprocess.run([xmllint, "--html", "--noout", copy], capture_output=True, text=True)
            if run.returncode != 0 or run.stderr.strip():
                failures.append("xmllint: %s" % run.stderr.strip())

    for f in failures:
        print("FAIL:", f)
    print("%d tips checked, %d failures" % (len(tips), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
