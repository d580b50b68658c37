#!/usr/bin/env python3
"""The calculation book from tamsor-batch --pdf, read back with poppler-utils.

    check_pdf_book.py TAMSOR_BATCH PROJECT.wvd

Writes the HTML report and the PDF of one project in one run and checks that
the PDF holds every text and every number of the report in the report's
order, the book's own sections after them and the footer last, the title
block, numbered pages that agree with the page count, and
embedded fonts; that a title block the window remembered is used when the
command line gives none; that refused and failing targets leave no file.
Exits 77 (skipped) and names the tool when pdftotext, pdffonts or pdfinfo is
missing.
"""

import datetime
import html
import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def run(args, env):
    return subprocess.run(args, env=env, capture_output=True, text=True, timeout=120)


def pdf_text(path):
    return subprocess.run(["pdftotext", "-enc", "UTF-8", path, "-"], capture_output=True,
                          text=True, check=True).stdout


def squeezed(text):
    return re.sub(r"\s+", "", text)


def in_order(needles, haystack):
    """The needles that are not found in haystack after the one before."""
    missing, pos = [], 0
    for needle in needles:
        found = haystack.find(needle, pos)
        if found < 0:
            missing.append(needle)
        else:
            pos = found + len(needle)
    return missing


def subsequence(items, sequence):
    """The first item of items that does not follow in sequence, or None."""
    it = iter(sequence)
    for item in items:
        if not any(item == other for other in it):
            return item
    return None


NUMBER = re.compile(r"-?\d+\.\d+(?:E[+-]\d+)?")


def main():
    for tool in ("pdftotext", "pdffonts", "pdfinfo"):
        if shutil.which(tool) is None:
            print(f"SKIPPED: {tool} (package poppler-utils) is not installed")
            return 77
    batch, project = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, LC_ALL="C.UTF-8", XDG_CONFIG_HOME=os.path.join(tmp, "config"))
        report, book = os.path.join(tmp, "报告.htm"), os.path.join(tmp, "计算书.pdf")
        done = run([batch, "--report", report, "--pdf", book, "--project-name", "江边电视塔",
                    "--calculated-by", "张工", "--checked-by", "李工", "--date", "2026-03-01",
                    project], env)
        check(done.returncode == 0, f"batch exit status {done.returncode}: {done.stderr}")
        if done.returncode != 0:
            return 1

        with open(report, "rb") as f:
            page = f.read().decode("gb2312")
        body = page[page.index("<body>"):]
        text = pdf_text(book)
        flat = squeezed(text)

        # Every text of the page, in order: each text between two tags, its
        # runs of white space squeezed out (the book shows them as a browser
        # does). A caption that wraps in its cell is read around its row's
        # values, so the numbers are taken out of both first; the numbers are
        # checked on their own below. The separator lines of hyphens are drawn
        # as rules.
        def words(text):
            return squeezed(re.sub(NUMBER.pattern + ";?", "", text))
        nodes = [html.unescape(t) for t in re.split(r"<[^>]*>", body)]
        texts = [words(t) for t in nodes if squeezed(t) and not re.fullmatch(r"-+", squeezed(t))]
        texts = [t for t in texts if t]
        check(len(texts) > 40, f"only {len(texts)} texts found in the report")
        missing = in_order(texts, words(text))
        check(not missing, f"texts of the page missing or out of order: {missing[:5]}")
        labels = [re.sub(r"<[^>]+>", "", m) for m in re.findall(r'align="right">(.*?)</td>', body)]
        check(len(labels) > 30, f"only {len(labels)} captions found in the report")
        check("(新规范GB50009-201X)" in flat, "the code edition's remark is missing")
        check("以上结果为软件计算，请谨慎校核" in flat, "the footer is missing")
        # After the page's results, the book's own: what the page does not
        # show (the acceleration with its note), the comparison with the codes
        # in force with every finding the batch command lists, the code's
        # closed form; then the page's footer.
        listed = run([batch, "--format", "text", project], env).stdout
        # The findings are the indented lines under their heading; the checks
        # beside the along-wind results follow them under headings of their own.
        findings = []
        if "与现行规范对照:" in listed:
            for line in listed.split("与现行规范对照:\n")[1].splitlines():
                if not line.startswith("  "):
                    break
                findings.append(line.strip())
        missing = in_order(["五其他计算结果", "顺风向加速度(m/s^2)", "舒适度验算", "六与现行规范对照"] +
                           [words(f) for f in findings] +
                           ["八规范公式对照与舒适度", "以上结果为软件计算"], words(text))
        check(not missing, f"additions missing or out of order: {missing}")

        # Every number of the report, in order (the plots and the additions add
        # their own).
        numbers = NUMBER.findall(body)
        check(len(numbers) > 30, f"only {len(numbers)} numbers found in the report")
        lost = subsequence(numbers, NUMBER.findall(text))
        check(lost is None, f"number {lost} of the report is missing or out of order")

        # The title block.
        missing = in_order(["工程名称", "江边电视塔", "日期", "2026-03-01", "计算", "张工", "校对",
                            "李工"], flat)
        check(not missing, f"title block entries missing: {missing}")

        # The text is what the page shows: ideographs, not radicals.
        check("风振计算报告书" in flat, "风振计算报告书 not found as text")
        check(not re.search("[\u2e80-\u2fdf]", text), "radicals instead of ideographs in the text")

        # Pages: the count, and every page's number at its foot.
        info = subprocess.run(["pdfinfo", book], capture_output=True, text=True).stdout
        pages = int(re.search(r"^Pages:\s+(\d+)", info, re.M).group(1))
        check(pages >= 2, f"{pages} pages")
        page_texts = text.split("\f")[:pages]
        for number, page_text in enumerate(page_texts, start=1):
            check(f"第{number}页共{pages}页" in squeezed(page_text),
                  f"page {number} does not say 第 {number} 页 共 {pages} 页")
        check("A4" in info or "595.28 x 841.89" in info, "the pages are not A4")

        # Fonts: all embedded, a CJK font among them, text mapped to Unicode.
        rows = subprocess.run(["pdffonts", book], capture_output=True,
                              text=True).stdout.splitlines()[2:]
        check(rows, "no fonts listed")
        for row in rows:
            fields = row.split()
            check(fields[-5] == "yes" and fields[-3] == "yes", f"font not embedded or unmapped: {row}")
        check(any("CJK" in row for row in rows), "no CJK font embedded")

        # Without title options: the names the window remembered, the
        # project file's name and today, never a name or date an older
        # settings file kept.
        settings = os.path.join(tmp, "config", "tamsor")
        os.makedirs(settings, exist_ok=True)
        with open(os.path.join(settings, "tamsor.conf"), "w", encoding="utf-8") as f:
            f.write("[titleBlock]\nprojectName=记住的工程\ncalculatedBy=王工\n"
                    "checkedBy=赵工\ndate=2025-12-31\n")
        remembered = os.path.join(tmp, "remembered.pdf")
        done = run([batch, "--pdf", remembered, "--checked-by", "钱工", project], env)
        check(done.returncode == 0, f"remembered block: exit status {done.returncode}")
        if done.returncode == 0:
            flat = squeezed(pdf_text(remembered))
            stem = os.path.splitext(os.path.basename(project))[0]
            today = datetime.date.today().isoformat()
            missing = in_order([squeezed(stem), today, "王工", "钱工"], flat)
            check(not missing, f"title block entries missing: {missing}")
            check("记住的工程" not in flat and "2025-12-31" not in flat,
                  "an older settings file's project name or date was used")

        # A target that is a folder or a pipe, or in a folder that does not
        # exist, is refused with a message and left alone (a pipe is never
        # waited on); a refused project writes no book.
        folder, pipe = os.path.join(tmp, "folder.pdf"), os.path.join(tmp, "pipe.pdf")
        os.mkdir(folder)
        os.mkfifo(pipe)
        for target in (folder, pipe, os.path.join(tmp, "missing", "b.pdf")):
            done = run([batch, "--pdf", target, project], env)
            check(done.returncode == 1 and done.stderr.strip(),
                  f"{target}: exit status {done.returncode}, message {done.stderr!r}")
        check(os.path.isdir(folder) and not os.listdir(folder), "the folder was changed")
        check(stat.S_ISFIFO(os.stat(pipe).st_mode), "the pipe was replaced")
        none = os.path.join(tmp, "none.pdf")
        done = run([batch, "--pdf", none, os.path.join(tmp, "missing.wvd")], env)
        check(done.returncode == 1 and not os.path.exists(none), "a refused project wrote a book")

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
