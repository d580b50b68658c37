#!/usr/bin/env python3
"""Checks the independent values of docs/verification.md against its script.

    check_verification_script.py SOURCE_DIR

Runs the python block of the page on every project file its headings name
and fails when an "independent" cell of its tables is not the script's value
rounded to the digits shown. (VerificationPageTest.cpp checks the same
tables against the program.) Standard library only.
"""
import os
import re
import subprocess
import sys
import tempfile


def main(source):
    page = open(os.path.join(source, "docs", "verification.md"), encoding="utf-8").read()
    script = re.search(r"^```python\n(.*?)^```$", page, re.S | re.M)
    if not script:
        print("FAIL: no python block on the page")
        return 1
    projects = sorted(set(re.findall(r"^#.*`([^`]+\.wvd)`", page, re.M)))
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "independent.py")
        with open(path, "w", encoding="utf-8") as f:
            f.write(script.group(1))
        run = subprocess.run([sys.executable, path] + [os.path.join(source, p) for p in projects],
                             stdout=subprocess.PIPE, text=True, check=True)
    values = {}
    for line in run.stdout.splitlines():
        name, edition, key, row, value = line.split()
        values[(name, edition, key, row)] = float(value)

    failures = checked = 0
    name = edition = None
    columns = []
    for line in page.splitlines():
        if line.startswith("#"):
            project = re.search(r"`([^`]+\.wvd)`", line)
            name = os.path.basename(project.group(1)) if project else "-"
            found = re.search(r"GB50009-(201X|2001)", line)
            edition = found.group(1) if found else None
            continue
        if not line.startswith("|"):
            columns = []
            continue
        cells = [c.strip() for c in line.strip().strip("|").split("|")]
        if not columns:
            columns = [re.fullmatch(r"`([\w.]+)` independent", c) for c in cells]
            continue
        if cells[0].startswith("---") or edition is None:
            continue
        row = "-" if cells[0] == "—" else cells[0]
        for column, text in zip(columns, cells):
            if not column:
                continue
            checked += 1
            key = (name, edition, column.group(1), row)
            decimals = len(text.split(".")[1]) if "." in text else 0
            if key not in values or f"{values[key]:.{decimals}f}" != text:
                failures += 1
                print("FAIL:", key, "page", text, "script", values.get(key))
    print(f"{checked} independent values checked, {failures} differ from the script")
    return 1 if failures or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
