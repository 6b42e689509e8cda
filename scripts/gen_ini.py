#!/usr/bin/env python3
"""Generates data/ini/language.ini and data/ini/ParameterPLU.ini from scripts/ini/<name>.tsv.

Each table is UTF-8, tab-separated, one row per line:
    section                         declares a section; sections are written in the order declared
    section<TAB>key<TAB>English<TAB>Chinese
                                    one entry; entries keep their row order within their section
Rows may be appended anywhere after their section's declaration. Lines starting with "#" are remarks.

Each file gets three parallel blocks: <Standard> (English), <Chinese> (Chinese), <Other> (a copy of
Standard), so the translation editor can pair the blocks' lines by position. Every section is followed by
one empty line except the last section of the file; the file ends with the last entry's CR LF.
Encoding GB18030, CR LF line ends.

With --check nothing is written: the exit status tells whether the committed files are up to date.
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
FILES = ["language", "ParameterPLU"]
MAX_BLOCK_LINES = 1001


def fail(msg):
    sys.exit(f"gen_ini: {msg}")


def read_table(path):
    sections = {}  # name -> list of (key, english, chinese), in declaration order
    for n, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        if not raw.strip() or raw.startswith("#"):
            continue
        cols = raw.split("\t")
        where = f"{path.name}:{n}"
        if len(cols) == 1:
            if cols[0] in sections:
                fail(f"{where}: section {cols[0]} declared twice")
            sections[cols[0]] = []
            continue
        if len(cols) != 4:
            fail(f"{where}: expected section, key, English and Chinese")
        section, key, en, zh = cols
        if section not in sections:
            fail(f"{where}: section {section} is not declared above")
        for text in cols:
            if text != text.strip(" ") or "\r" in text or "\n" in text:
                fail(f"{where}: blanks at the ends or line breaks in {text!r}")
        if not key or "=" in key or key.startswith(("[", "<")):
            fail(f"{where}: bad key {key!r}")
        if any(k.lower() == key.lower() for k, _, _ in sections[section]):
            fail(f"{where}: key {key} twice in section {section}")
        if not en or not zh:
            fail(f"{where}: every entry needs an English and a Chinese text")
        sections[section].append((key, en, zh))
    return sections


def block(group, sections, column, last_block):
    lines = [f"<{group}>"]
    names = list(sections)
    for i, name in enumerate(names):
        lines.append(f"[{name}]")
        lines += [f"{key}={texts[column]}" for key, *texts in sections[name]]
        if i < len(names) - 1 or not last_block:
            lines.append("")
    return lines


def generate(name, check):
    sections = read_table(ROOT / "scripts" / "ini" / f"{name}.tsv")
    standard = block("Standard", sections, 0, False)
    if len(standard) > MAX_BLOCK_LINES:
        fail(f"{name}.ini: a block of {len(standard)} lines exceeds {MAX_BLOCK_LINES}")
    lines = standard + block("Chinese", sections, 1, False) + block("Other", sections, 0, True)
    data = "".join(line + "\r\n" for line in lines).encode("gb18030")
    out = ROOT / "data" / "ini" / f"{name}.ini"
    if check:
        if not out.exists() or out.read_bytes() != data:
            fail(f"{out.relative_to(ROOT)} is not what scripts/gen_ini.py makes of its table: run it")
        return
    out.write_bytes(data)
    print(f"{out.relative_to(ROOT)}: {len(lines)} lines")


if __name__ == "__main__":
    for f in FILES:
        generate(f, "--check" in sys.argv[1:])
