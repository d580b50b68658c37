#!/usr/bin/env python3
"""Compiles the Tamsor help file wind_Help.chm.

    build_help.py SOURCE_DIR STAGE_DIR OUTPUT_CHM CHMCMD

The sources in SOURCE_DIR (project, contents, index) and SOURCE_DIR/pages are
UTF-8. CHM viewers take the text encoding of the contents, the index and the
window title from the project's language (0x804, Chinese PRC = GB2312), so
every text file is staged in GB2312; characters outside GB2312 become numeric
character references, and the pages' charset declaration is changed to match.
"""
import os
import re
import shutil
import subprocess
import sys

PROJECT = "wind_Help.hhp"
CHARSET_RE = re.compile(r"charset=utf-8", re.IGNORECASE)


def to_gb2312(text: str, markup: bool) -> bytes:
    if markup:
        text = CHARSET_RE.sub("charset=gb2312", text)
        return text.encode("gb2312", errors="xmlcharrefreplace")
    # The project file is not markup: it must be representable as it is.
    return text.encode("gb2312")


def stage_text(src: str, dst: str, markup: bool) -> None:
    with open(src, encoding="utf-8") as f:
        text = f.read()
    # Windows help tools expect CR LF line ends.
    text = text.replace("\r\n", "\n").replace("\n", "\r\n")
    with open(dst, "wb") as f:
        f.write(to_gb2312(text, markup))


def main(argv):
    if len(argv) != 5:
        sys.stderr.write(__doc__)
        return 2
    source, stage, output, chmcmd = argv[1:]
    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(stage)

    stage_text(os.path.join(source, PROJECT), os.path.join(stage, PROJECT), markup=False)
    for name in ("wind_Help.hhc", "wind_Help.hhk"):
        stage_text(os.path.join(source, name), os.path.join(stage, name), markup=True)
    pages = os.path.join(source, "pages")
    for name in sorted(os.listdir(pages)):
        src = os.path.join(pages, name)
        if name.endswith((".htm", ".html")):
            stage_text(src, os.path.join(stage, name), markup=True)
        elif os.path.isfile(src):
            shutil.copyfile(src, os.path.join(stage, name))

    result = subprocess.run([chmcmd, "--no-html-scan", PROJECT], cwd=stage,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="replace")
    built = os.path.join(stage, "wind_Help.chm")
    # chmcmd reports some errors with exit status 0: judge by its output too.
    if result.returncode != 0 or not os.path.isfile(built) or "Error" in result.stdout:
        sys.stderr.write(result.stdout)
        sys.stderr.write("build_help.py: chmcmd failed\n")
        return 1
    shutil.copyfile(built, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
