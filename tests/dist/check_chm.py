#!/usr/bin/env python3
"""Checks the compiled help file wind_Help.chm.

    check_chm.py CHM HELP_SOURCE_DIR STAGE_DIR [CHMLS]

- the file is an ITSF container whose directory (PMGL chunks) can be walked;
- every file of the project's [FILES] section is in the directory, and every
  page in help/pages is in [FILES];
- #SYSTEM names the Chinese (PRC) language, the default topic and the title;
- with chmls: every page extracted from the file equals the GB2312 page that
  was compiled, and its title decodes as GB2312 to the source's title.
Standard library only.
"""
import html as htmllib
import os
import re
import struct
import subprocess
import sys
import tempfile

failures = []


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def read_directory(data):
    if data[:4] != b"ITSF":
        raise ValueError("no ITSF signature")
    version, header_len = struct.unpack_from("<II", data, 4)
    if version not in (2, 3):
        raise ValueError(f"ITSF version {version}")
    # Header section table: two (offset, length) pairs of 64-bit numbers.
    sec1_off, _sec1_len = struct.unpack_from("<QQ", data, 0x48)
    content_off = struct.unpack_from("<Q", data, 0x58)[0] if version == 3 else None
    if data[sec1_off:sec1_off + 4] != b"ITSP":
        raise ValueError("no ITSP directory header")
    itsp_len, = struct.unpack_from("<I", data, sec1_off + 8)
    chunk_size, = struct.unpack_from("<I", data, sec1_off + 0x10)
    num_chunks, = struct.unpack_from("<I", data, sec1_off + 0x2C)
    chunks_off = sec1_off + itsp_len
    if content_off is None:
        content_off = chunks_off + num_chunks * chunk_size
    entries = {}
    for n in range(num_chunks):
        chunk = data[chunks_off + n * chunk_size: chunks_off + (n + 1) * chunk_size]
        if chunk[:4] != b"PMGL":
            continue  # index chunk (PMGI)
        free_space, = struct.unpack_from("<I", chunk, 4)
        pos, end = 0x14, chunk_size - free_space
        while pos < end:
            name_len, pos = encint(chunk, pos)
            name = chunk[pos:pos + name_len].decode("utf-8")
            pos += name_len
            section, pos = encint(chunk, pos)
            offset, pos = encint(chunk, pos)
            length, pos = encint(chunk, pos)
            entries[name] = (section, offset, length)
    return entries, content_off


def project_files(hhp_path):
    files, in_files = [], False
    with open(hhp_path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                in_files = line.upper() == "[FILES]"
            elif in_files and line:
                files.append(line)
    return files


def system_records(data, entries, content_off):
    section, offset, length = entries["/#SYSTEM"]
    if section != 0:
        raise ValueError("#SYSTEM is not in the uncompressed section")
    raw = data[content_off + offset: content_off + offset + length]
    records, pos = {}, 4  # DWORD version
    while pos + 4 <= len(raw):
        code, size = struct.unpack_from("<HH", raw, pos)
        records[code] = raw[pos + 4: pos + 4 + size]
        pos += 4 + size
    return records


def title_of(html):
    m = re.search(r"<title>(.*?)</title>", html, re.S | re.I)
    return htmllib.unescape(m.group(1).strip()) if m else None


def main(argv):
    if len(argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    chm, source, stage = argv[1:4]
    chmls = argv[4] if len(argv) > 4 else ""
    with open(chm, "rb") as f:
        data = f.read()
    try:
        entries, content_off = read_directory(data)
    except (ValueError, struct.error, IndexError) as e:
        fail(f"{chm}: not a readable CHM: {e}")
        return 1

    listed = project_files(os.path.join(source, "wind_Help.hhp"))
    pages = sorted(n for n in os.listdir(os.path.join(source, "pages")) if n.endswith(".htm"))
    if len(pages) < 8:
        fail(f"only {len(pages)} help pages")
    for page in pages:
        if page not in listed:
            fail(f"{page} is not in the project's [FILES]")
    for name in listed + ["wind_Help.hhc", "wind_Help.hhk"]:
        if "/" + name not in entries:
            fail(f"/{name} is missing from the CHM directory")
        elif entries["/" + name][2] == 0:
            fail(f"/{name} is empty in the CHM")

    records = system_records(data, entries, content_off)
    lcid = struct.unpack_from("<I", records.get(4, b"\0\0\0\0"))[0]
    if lcid != 0x804:
        fail(f"language id {lcid:#x}, expected 0x804")
    if records.get(2, b"").rstrip(b"\0") != b"index.htm":
        fail(f"default topic {records.get(2)!r}")
    title = records.get(3, b"").rstrip(b"\0").decode("gb2312", errors="replace")
    if title != "Tamsor 风振计算 帮助":
        fail(f"title {title!r}")

    if chmls:
        with tempfile.TemporaryDirectory() as tmp:
            for page in pages:
                out = os.path.join(tmp, page)
                subprocess.run([chmls, "extract", chm, "/" + page, out],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
                if not os.path.isfile(out):
                    fail(f"chmls could not extract /{page}")
                    continue
                with open(out, "rb") as f:
                    got = f.read()
                with open(os.path.join(stage, page), "rb") as f:
                    if got != f.read():
                        fail(f"/{page} differs from the compiled page")
                try:
                    html = got.decode("gb2312")
                except UnicodeDecodeError as e:
                    fail(f"/{page} is not GB2312 text: {e}")
                    continue
                if "charset=gb2312" not in html:
                    fail(f"/{page} does not declare charset=gb2312")
                with open(os.path.join(source, "pages", page), encoding="utf-8") as f:
                    want = title_of(f.read())
                if title_of(html) != want:
                    fail(f"/{page}: title {title_of(html)!r}, expected {want!r}")

    print(f"{len(entries)} directory entries, {len(pages)} pages checked, "
          f"{len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
