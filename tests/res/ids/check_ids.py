#!/usr/bin/env python3
"""Every id in product code comes from res/resource.h, and every text exists in both languages.

Rejects, in the product's sources (not framework/, which keeps its own standard ids, nor tests):
- a number where a text, menu, icon, bitmap or cursor id belongs: LoadText(62513),
  FormatText(128, ...), MAKEINTRESOURCE(177), LoadTgaResource(358), ...;
- a number that res/resource.h names as a command or text (32768 and above), wherever it is
  written: `constexpr unsigned kPrintNote = 62519;`, `{0, 62448, 358, "local\\index.htm"}`;
- an id constant of its own: `constexpr unsigned kIdsExamining = 62704;`,
  `enum { ID_FILE_SAVE_LIST_TO_DISK = 32845 };`, `#define IDS_X 123` outside res/resource.h;
- a string-table id that only one of res/strings_en.rc and res/strings_fr.rc has.

Usage: check_ids.py PROJECT_ROOT
"""
import os
import re
import sys

# Top-level folders that are not product code.
NOT_PRODUCT = {"framework", "tests", "fuzz", "bench", "cmake", "res", "build", ".git"}
# Folders left out of the check (relative to the root, with a trailing slash).
ALLOWED: list[str] = []
SOURCE_SUFFIXES = (".cpp", ".h", ".hpp", ".cc", ".inl")

NUMBER = r"(?:0[xX][0-9a-fA-F]+|\d+)\b"
# Calls whose first argument is a text, menu or resource id.
ID_CALL = re.compile(
    r"\b(LoadText|FormatText|SetTextById|SetTextFormatted|LoadFrameworkString|LoadMenuInTextLanguage"
    r"|LoadTgaResource|LoadAlphaBitmapResource|LoadPictureResource|CPendingModuleView)>?\s*\(\s*" + NUMBER)
# Resource ids made from a number (resource types, which are below 25, are left alone).
MAKE_RESOURCE = re.compile(r"\bMAKEINTRESOURCE[AW]?\s*\(\s*(?:0[xX][0-9a-fA-F]+|\d{2,})\b")
# Loading a string, menu, icon, cursor, bitmap or accelerator table by number.
WIN32_LOAD = re.compile(
    r"\b(LoadString|LoadMenu|LoadIcon|LoadCursor|LoadBitmap|LoadAccelerators|LoadImage)[AW]?"
    r"\s*\([^,()]*,\s*" + NUMBER)
# A constant named as a resource id (kIdsFoo, kMenuId, kIconIds) set to a number or numbers.
RESOURCE_KIND = r"(?:Text|String|Str|Menu|Command|Cmd|Bitmap|Bmp|Icon|Cursor|Picture|Resource|Res|Dialog|Control)"
ID_CONSTANT = re.compile(r"\bk(?:Ids?[A-Z]\w*|IDS\w*|\w*" + RESOURCE_KIND + r"I[Dd]s?)\b"
                         r"\s*(?:\[[^\]]*\])?\s*=\s*\{?\s*" + NUMBER)
# An id name in the resource header's style given a value anywhere else.
ID_NAME_DEFINE = re.compile(r"^\s*#\s*define\s+(?:ID[A-Z]?|IDS|IDR|IDB|IDC|IDD|IDI|IDM)_\w+\s+" + NUMBER)
ID_NAME_ENUM = re.compile(r"\b(?:ID[A-Z]?|IDS|IDR|IDB|IDC|IDD|IDI|IDM)_\w+\s*=\s*" + NUMBER)


def strip_comments(line):
    """The line without a // comment and without string literals (kept as empty quotes)."""
    line = re.sub(r'"(?:\\.|[^"\\])*"', '""', line)
    cut = line.find("//")
    return line if cut < 0 else line[:cut]


# Five-digit numbers, not part of a name or of a longer number.
FIVE_DIGITS = re.compile(r"(?<![\w.])(\d{5})(?![\w.])")


def named_ids(header_text):
    """Numbers that the resource header names as commands or texts (32768 and above)."""
    return {int(m.group(1)) for m in re.finditer(r"^\s*#\s*define\s+\w+\s+(\d+)\b", header_text, re.M)
            if int(m.group(1)) >= 32768}


def literal_id_findings(text, known_ids=frozenset()):
    """(line number, line) of every numeric id in one source file's text; `known_ids` are the
    numbers the resource header names (named_ids)."""
    findings = []
    in_block_comment = False
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw
        if in_block_comment:
            end = line.find("*/")
            if end < 0:
                continue
            line = line[end + 2:]
            in_block_comment = False
        line = re.sub(r"/\*.*?\*/", "", line)
        start = line.find("/*")
        if start >= 0:
            line = line[:start]
            in_block_comment = True
        code = strip_comments(line)
        if any(rule.search(code) for rule in
               (ID_CALL, MAKE_RESOURCE, WIN32_LOAD, ID_CONSTANT, ID_NAME_DEFINE, ID_NAME_ENUM)) or \
                any(int(n) in known_ids for n in FIVE_DIGITS.findall(code)):
            findings.append((number, raw.strip()))
    return findings


def string_table_ids(text):
    """The ids (names or numbers, as written) of a .rc file's STRINGTABLE entries."""
    ids = []
    state = "outside"
    for raw in text.splitlines():
        line = raw.strip()
        if not line or line.startswith("//"):
            continue
        if state == "outside":
            if line.startswith("STRINGTABLE"):
                state = "header"
        elif state == "header":
            if line in ("BEGIN", "{"):
                state = "inside"
        elif line in ("END", "}"):
            state = "outside"
        else:
            match = re.match(r'^([A-Za-z_0-9]+)\s*,?\s*"', line)
            if match:
                ids.append(match.group(1))
    return ids


def one_language_ids(english_text, french_text):
    """Messages for ids that one table has and the other lacks, or that one table has twice."""
    english, french = string_table_ids(english_text), string_table_ids(french_text)
    problems = []
    for name, ids in (("strings_en.rc", english), ("strings_fr.rc", french)):
        twice = sorted({i for i in ids if ids.count(i) > 1})
        problems += [f"{name}: {i} appears twice" for i in twice]
    problems += [f"{i} has no French text" for i in english if i not in set(french)]
    problems += [f"{i} has no English text" for i in french if i not in set(english)]
    return problems


def product_sources(root):
    for top in sorted(os.listdir(root)):
        if top in NOT_PRODUCT or top.startswith((".", "build")) or not os.path.isdir(os.path.join(root, top)):
            continue
        for folder, subfolders, files in os.walk(os.path.join(root, top)):
            # Build trees configured inside a source folder are not sources.
            subfolders[:] = [s for s in subfolders
                             if not os.path.exists(os.path.join(folder, s, "CMakeCache.txt"))
                             and s != "CMakeFiles"]
            for name in sorted(files):
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, root).replace(os.sep, "/")
                if name.endswith(SOURCE_SUFFIXES) and not any(relative.startswith(a) for a in ALLOWED):
                    yield path, relative


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def main(argv):
    if len(argv) != 2:
        print(__doc__)
        return 2
    root = argv[1]
    problems = []
    header = os.path.join(root, "res", "resource.h")
    known_ids = named_ids(read(header)) if os.path.isfile(header) else set()
    if len(known_ids) < 50:
        problems.append("res/resource.h is missing or names too few ids")
    scanned = 0
    for path, relative in product_sources(root):
        scanned += 1
        for number, line in literal_id_findings(read(path), known_ids):
            problems.append(f"{relative}:{number}: a number where an id of res/resource.h belongs: {line}")
    if scanned < 50:
        problems.append(f"only {scanned} product sources found under {root}: wrong project root?")
    english = os.path.join(root, "res", "strings_en.rc")
    french = os.path.join(root, "res", "strings_fr.rc")
    if not (os.path.isfile(english) and os.path.isfile(french)):
        problems.append("res/strings_en.rc or res/strings_fr.rc is missing")
    else:
        english_text, french_text = read(english), read(french)
        if len(string_table_ids(english_text)) < 100:
            problems.append("res/strings_en.rc: the string table was not found")
        problems += one_language_ids(english_text, french_text)
    for problem in problems:
        print(problem)
    print(f"{scanned} product sources checked, {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
