#!/usr/bin/env python3
"""Builds the numbered language tables from their readable sources.

Two tables per language, both generated here:

The main tables (resources/lang/BG, DE, EN, no extension) hold the program's
234 numbered texts, from the UTF-8 sources resources/lang/source/BG.txt,
DE.txt, EN.txt: one text per line, "N=text", N from 1 to 234. Lines that are
empty or start with "#" are comments. Everything after the first "=" up to the
end of the line is the text, trailing blanks included. Numbers a source does
not list get an empty text. Each table is written in the form the program
embeds and reads: UTF-16 little-endian with the byte-order mark FF FE, lines
"N=text" for N = 1 to 234 joined by CR LF. The English and the German table end
with CR LF and one NUL character; the Bulgarian table ends right after its last
text. Both endings read as 234 entries, and the program keeps both forms
readable, so the tables keep the endings they have always had, byte for byte.

The supplement tables (resources/lang/BG2, DE2, EN2) hold the texts added
since, numbered from 1001, from the sources BG2.txt, DE2.txt, EN2.txt in the
same form. They are stored like the main tables (UTF-16 LE with FF FE, "N=text"
lines joined by CR LF, a final CR LF) but hold only the numbers the sources
list, in ascending order. The program embeds them as :/LANG/BG2, :/LANG/DE2
and :/LANG/EN2, reads them with the same reader and looks a text up by its
number the same way: LanguageText(n) serves 1 to 234 from the main table and
1001 and above from the supplement.

Number ranges of the supplement. Each range has its own section in every
supplement source, opened by a header line of the form

    #== 1001-1199: Window, entry and catalog texts

and every text must lie in the range of the section it stands in. The ranges:

    1001-1199  window, entry and catalog texts
    1200-1399  uncertainty budget
    1400-1599  thread designations, limits and verdict

Add a text at the end of its own section (the next free number there), in all
three sources at once: a number one source lists must be listed by the other
two, a text may not be empty, and its placeholders (%1, %2, ...) must be the
same in every language. The blank comment lines between the sections keep
additions to different sections apart, so that they merge without conflict.
A number, once given out, keeps its meaning; a text no longer used is left in
place rather than its number reused.

Usage: generate_language_tables.py [--source-dir DIR] [--output-dir DIR]
Exits with status 1 and a message naming file and line when a source is bad;
no table is written then.
"""

import argparse
import os
import re
import sys

TEXT_COUNT = 234

# Language name -> what follows the last text of its main table.
ENDINGS = {
    "BG": "",
    "DE": "\r\n\0",
    "EN": "\r\n\0",
}

# The supplement of a language is named by this suffix: BG2.txt -> BG2.
SUPPLEMENT_SUFFIX = "2"

# The reserved ranges of the supplement, in order: (first, last, subject).
SECTIONS = [
    (1001, 1199, "window, entry and catalog texts"),
    (1200, 1399, "uncertainty budget"),
    (1400, 1599, "thread designations, limits and verdict"),
]

SECTION_HEADER = re.compile(r"#==\s*(\d+)\s*-\s*(\d+)\s*:")
PLACEHOLDER = re.compile(r"%(\d+)")

FORBIDDEN = {"=": "an equals sign", "\r": "a CR", "\0": "a NUL",
             "\u2028": "a line separator"}


class SourceError(Exception):
    pass


def read_source(path, supplement=False):
    """Returns {number: (text, line)} of one source file.

    In a supplement source every text must stand in the section whose range
    holds its number; in a main source numbers run from 1 to TEXT_COUNT.
    """
    with open(path, "r", encoding="utf-8-sig", newline="") as f:
        content = f.read()
    texts = {}
    section = None
    for index, line in enumerate(content.split("\n"), start=1):
        if line.endswith("\r"):
            line = line[:-1]
        where = f"{path}:{index}"
        if supplement:
            header = SECTION_HEADER.match(line)
            if header:
                bounds = (int(header.group(1)), int(header.group(2)))
                if bounds not in [(first, last) for first, last, _ in SECTIONS]:
                    raise SourceError(f"{where}: {bounds[0]}-{bounds[1]} is not one of the reserved ranges")
                section = bounds
                continue
        if not line or line.startswith("#"):
            continue
        number, sep, text = line.partition("=")
        if not sep:
            raise SourceError(f"{where}: no '=' in the line")
        if not number.isascii() or not number.isdigit() or number[0] == "0" and number != "0":
            raise SourceError(f"{where}: '{number}' is not a text number without leading zeros")
        n = int(number)
        if supplement:
            if section is None:
                raise SourceError(f"{where}: text number {n} stands before the first section header")
            if not section[0] <= n <= section[1]:
                raise SourceError(f"{where}: text number {n} is outside its section {section[0]}-{section[1]}")
            if not text:
                raise SourceError(f"{where}: text {n} is empty")
        elif not 1 <= n <= TEXT_COUNT:
            raise SourceError(f"{where}: text number {n} is outside 1 to {TEXT_COUNT}")
        if n in texts:
            raise SourceError(f"{where}: text number {n} appears twice")
        for char, name in FORBIDDEN.items():
            if char in text:
                raise SourceError(f"{where}: text {n} contains {name}")
        texts[n] = (text, where)
    return texts


def check_supplements_agree(supplements):
    """Every language lists the same numbers with the same placeholders."""
    names = list(supplements)
    reference = names[-1]
    for name in names:
        for other in names:
            missing = sorted(set(supplements[other]) - set(supplements[name]))
            if missing:
                _, where = supplements[other][missing[0]]
                raise SourceError(f"{where}: text number {missing[0]} has no text in {name}{SUPPLEMENT_SUFFIX}.txt")
    for n, (text, _) in supplements[reference].items():
        wanted = sorted(set(PLACEHOLDER.findall(text)))
        for name in names:
            own, where = supplements[name][n]
            if sorted(set(PLACEHOLDER.findall(own))) != wanted:
                raise SourceError(f"{where}: text {n} has other placeholders than in "
                                  f"{reference}{SUPPLEMENT_SUFFIX}.txt")


def table_bytes(texts, ending):
    lines = [f"{n}={texts[n][0] if n in texts else ''}" for n in range(1, TEXT_COUNT + 1)]
    return b"\xff\xfe" + ("\r\n".join(lines) + ending).encode("utf-16-le")


def supplement_bytes(texts):
    lines = "".join(f"{n}={texts[n][0]}\r\n" for n in sorted(texts))
    return b"\xff\xfe" + lines.encode("utf-16-le")


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    lang_dir = os.path.join(os.path.dirname(here), "resources", "lang")
    parser = argparse.ArgumentParser(description="Build the language tables.")
    parser.add_argument("--source-dir", default=os.path.join(lang_dir, "source"))
    parser.add_argument("--output-dir", default=lang_dir)
    args = parser.parse_args(argv)

    try:
        tables = {}
        supplements = {}
        for name, ending in ENDINGS.items():
            texts = read_source(os.path.join(args.source_dir, name + ".txt"))
            tables[name] = table_bytes(texts, ending)
        for name in ENDINGS:
            supplement = name + SUPPLEMENT_SUFFIX
            supplements[name] = read_source(os.path.join(args.source_dir, supplement + ".txt"), supplement=True)
        check_supplements_agree(supplements)
        for name, texts in supplements.items():
            tables[name + SUPPLEMENT_SUFFIX] = supplement_bytes(texts)
    except (OSError, UnicodeDecodeError, SourceError) as error:
        print(f"generate_language_tables: {error}", file=sys.stderr)
        return 1

    os.makedirs(args.output_dir, exist_ok=True)
    for name, data in tables.items():
        target = os.path.join(args.output_dir, name)
        temporary = target + ".tmp"
        with open(temporary, "wb") as f:
            f.write(data)
        os.replace(temporary, target)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
