#!/usr/bin/env python3
"""Builds the three numbered language tables from their readable sources.

Each source (resources/lang/source/BG.txt, DE.txt, EN.txt) is UTF-8 text with
one text per line, "N=text", where N is a number from 1 to 234. Lines that are
empty or start with "#" are comments. Everything after the first "=" up to the
end of the line is the text, trailing blanks included. Numbers a source does
not list get an empty text.

Each table (resources/lang/BG, DE, EN, no extension) is written in the form the
program embeds and reads: UTF-16 little-endian with the byte-order mark FF FE,
lines "N=text" for N = 1 to 234 joined by CR LF. The English and the German
table end with CR LF and one NUL character; the Bulgarian table ends right
after its last text. Both endings read as 234 entries, and the program keeps
both forms readable, so the tables keep the endings they have always had.

Usage: generate_language_tables.py [--source-dir DIR] [--output-dir DIR]
Exits with status 1 and a message naming file and line when a source is bad;
no table is written then.
"""

import argparse
import os
import sys

TEXT_COUNT = 234

# Language name -> what follows the last text.
ENDINGS = {
    "BG": "",
    "DE": "\r\n\0",
    "EN": "\r\n\0",
}

FORBIDDEN = {"=": "an equals sign", "\r": "a CR", "\0": "a NUL",
             "\u2028": "a line separator"}


class SourceError(Exception):
    pass


def read_source(path):
    """Returns {number: text} of one source file."""
    with open(path, "r", encoding="utf-8-sig", newline="") as f:
        content = f.read()
    texts = {}
    for index, line in enumerate(content.split("\n"), start=1):
        if line.endswith("\r"):
            line = line[:-1]
        if not line or line.startswith("#"):
            continue
        where = f"{path}:{index}"
        number, sep, text = line.partition("=")
        if not sep:
            raise SourceError(f"{where}: no '=' in the line")
        if not number.isascii() or not number.isdigit() or number[0] == "0" and number != "0":
            raise SourceError(f"{where}: '{number}' is not a text number without leading zeros")
        n = int(number)
        if not 1 <= n <= TEXT_COUNT:
            raise SourceError(f"{where}: text number {n} is outside 1 to {TEXT_COUNT}")
        if n in texts:
            raise SourceError(f"{where}: text number {n} appears twice")
        for char, name in FORBIDDEN.items():
            if char in text:
                raise SourceError(f"{where}: text {n} contains {name}")
        texts[n] = text
    return texts


def table_bytes(texts, ending):
    lines = [f"{n}={texts.get(n, '')}" for n in range(1, TEXT_COUNT + 1)]
    return b"\xff\xfe" + ("\r\n".join(lines) + ending).encode("utf-16-le")


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    lang_dir = os.path.join(os.path.dirname(here), "resources", "lang")
    parser = argparse.ArgumentParser(description="Build the language tables.")
    parser.add_argument("--source-dir", default=os.path.join(lang_dir, "source"))
    parser.add_argument("--output-dir", default=lang_dir)
    args = parser.parse_args(argv)

    try:
        tables = {}
        for name, ending in ENDINGS.items():
            texts = read_source(os.path.join(args.source_dir, name + ".txt"))
            tables[name] = table_bytes(texts, ending)
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
