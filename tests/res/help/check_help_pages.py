#!/usr/bin/env python3
"""Checks the help pages kept in res/help/ as they will lie once installed: the language folders
(res/help/local/en, fr) become help\\local and res/help/files becomes help. Every page exists in
both languages, every page the module table names exists, each page uses the shared style sheet
and links back to the index, and every relative link and picture resolves (no dead links).
The online panel's pages (res/panel) are checked for dead links within their own folder.
Usage: check_help_pages.py SOURCE_ROOT; exit 1 with one line per problem."""
import html.parser
import os
import posixpath
import re
import sys
import urllib.parse

LANGUAGES = ("en", "fr")
REQUIRED_PAGES = ("index.htm", "filesselector.htm")
STYLE_SHEET = "../quenta.css"


class PageLinks(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []  # (tag, attribute, value)
        self.anchors = set()
        self.title = ""
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            if value is None:
                continue
            if name in ("href", "src"):
                self.links.append((tag, name, value))
            if name in ("id", "name") and tag != "meta":
                self.anchors.add(value)
        self._in_title = tag == "title"

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def parse(path):
    parser = PageLinks()
    with open(path, encoding="utf-8") as page:
        parser.feed(page.read())
    return parser


def module_table_pages(root):
    """The page names of the module table (the part after "local\\")."""
    with open(os.path.join(root, "app", "module_table_win.cpp"), encoding="utf-8") as table:
        text = table.read()
    return sorted(set(re.findall(r'"local\\\\([A-Za-z0-9_]+\.htm)"', text)))


def installed_file(help_root, language, installed):
    """The source file of an installed path below help\\ ("local/x.htm", "quenta.css")."""
    if installed.startswith("local/"):
        return os.path.join(help_root, "local", language, installed[len("local/"):])
    return os.path.join(help_root, "files", installed)


def is_external(value):
    scheme = urllib.parse.urlsplit(value).scheme
    return bool(scheme) and len(scheme) > 1  # a drive letter ("C:") is not a scheme


def check_links(page_path, parsed, resolve, problems, label):
    """resolve(link path) -> source file or None when it leaves the installed tree."""
    for tag, attribute, value in parsed.links:
        if is_external(value):
            continue
        parts = urllib.parse.urlsplit(value)
        if not parts.path:
            if parts.fragment and parts.fragment not in parsed.anchors:
                problems.append(f"{label}: anchor #{parts.fragment} does not exist")
            continue
        if parts.path.startswith(("/", "\\")) or re.match(r"^[A-Za-z]:", parts.path) or "\\" in parts.path:
            problems.append(f"{label}: {tag} {attribute}=\"{value}\" is not a relative link with \"/\"")
            continue
        target = resolve(urllib.parse.unquote(parts.path))
        if target is None or not os.path.isfile(target):
            problems.append(f"{label}: {tag} {attribute}=\"{value}\" leads nowhere")
        elif parts.fragment and target.endswith(".htm") and parts.fragment not in parse(target).anchors:
            problems.append(f"{label}: {value}: anchor #{parts.fragment} does not exist")


def check_help(root):
    problems = []
    help_root = os.path.join(root, "res", "help")
    pages = {}
    for language in LANGUAGES:
        folder = os.path.join(help_root, "local", language)
        pages[language] = sorted(name for name in os.listdir(folder) if name.endswith(".htm")) \
            if os.path.isdir(folder) else []
    wanted = set(REQUIRED_PAGES) | set(module_table_pages(root))
    for language in LANGUAGES:
        for name in sorted(wanted - set(pages[language])):
            problems.append(f"{language}/{name}: missing")
        other = [l for l in LANGUAGES if l != language][0]
        for name in sorted(set(pages[language]) - set(pages[other])):
            problems.append(f"{other}/{name}: missing (exists in {language})")
    for language in LANGUAGES:
        for name in pages[language]:
            label = f"{language}/{name}"
            path = os.path.join(help_root, "local", language, name)
            parsed = parse(path)
            if not parsed.title.strip():
                problems.append(f"{label}: no title")
            hrefs = [value for tag, attribute, value in parsed.links if attribute == "href"]
            if STYLE_SHEET not in hrefs:
                problems.append(f"{label}: does not use the style sheet {STYLE_SHEET}")
            if name != "index.htm" and "index.htm" not in hrefs:
                problems.append(f"{label}: no link back to index.htm")

            def resolve(link, language=language):
                installed = posixpath.normpath(posixpath.join("local", link))
                if installed.startswith(".."):
                    return None
                return installed_file(help_root, language, installed)
            check_links(path, parsed, resolve, problems, label)
    return problems


def check_panel(root):
    problems = []
    panel = os.path.join(root, "res", "panel")
    for base, _, files in os.walk(panel):
        for name in sorted(files):
            if not name.endswith((".htm", ".html")):
                continue
            path = os.path.join(base, name)
            label = "panel/" + os.path.relpath(path, panel).replace(os.sep, "/")

            def resolve(link, base=base):
                target = os.path.normpath(os.path.join(base, link))
                return target if os.path.commonpath([target, panel]) == panel else None
            check_links(path, parse(path), resolve, problems, label)
    return problems


def main(argv):
    if len(argv) != 2:
        print("usage: check_help_pages.py SOURCE_ROOT", file=sys.stderr)
        return 2
    problems = check_help(argv[1]) + check_panel(argv[1])
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
