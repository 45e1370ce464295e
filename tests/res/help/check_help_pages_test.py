#!/usr/bin/env python3
"""The help page check finds what it is meant to find, on a small tree made for each case."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_help_pages  # noqa: E402

PAGE = ('<html><head><title>T</title><link rel="stylesheet" href="../quenta.css"></head>'
        '<body><a href="index.htm">Index</a>{body}</body></html>')


class CheckHelpPages(unittest.TestCase):
    def setUp(self):
        self.temp = tempfile.TemporaryDirectory()
        self.root = self.temp.name
        os.makedirs(os.path.join(self.root, "app"))
        with open(os.path.join(self.root, "app", "module_table_win.cpp"), "w") as table:
            table.write('{13, 1, 2, "local\\\\qnexplorer.htm", CreateExplorerView},\n')
        self.write("res/help/files/quenta.css", "")
        self.write("res/help/files/pictures/a.png", "png")
        os.makedirs(os.path.join(self.root, "res", "panel"))
        for language in ("en", "fr"):
            for page in ("index.htm", "filesselector.htm", "qnexplorer.htm"):
                self.write(f"res/help/local/{language}/{page}", PAGE.format(body=""))

    def tearDown(self):
        self.temp.cleanup()

    def write(self, relative, text):
        path = os.path.join(self.root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as target:
            target.write(text)

    def problems(self):
        return check_help_pages.check_help(self.root) + check_help_pages.check_panel(self.root)

    def test_a_complete_tree_passes(self):
        self.write("res/help/local/en/qnexplorer.htm", PAGE.format(
            body='<img src="../pictures/a.png"><a href="qnfinder.htm#x">x</a>'
                 '<a href="http://example.com/">web</a><a href="#top">top</a><a name="top"></a>'))
        self.write("res/help/local/en/qnfinder.htm", PAGE.format(body='<a id="x"></a>'))
        self.write("res/help/local/fr/qnfinder.htm", PAGE.format(body=""))
        self.assertEqual(self.problems(), [])

    def test_dead_links_and_missing_pictures_are_reported(self):
        self.write("res/help/local/en/qnexplorer.htm", PAGE.format(
            body='<img src="../pictures/b.png"><a href="nothere.htm">x</a>'
                 '<a href="../../outside.htm">y</a><a href="C:\\x.htm">z</a>'))
        problems = "\n".join(self.problems())
        self.assertIn("../pictures/b.png", problems)
        self.assertIn("nothere.htm", problems)
        self.assertIn("../../outside.htm", problems)
        self.assertIn("C:\\x.htm", problems)

    def test_a_page_missing_in_one_language_or_from_the_table_is_reported(self):
        os.remove(os.path.join(self.root, "res/help/local/fr/qnexplorer.htm"))
        self.write("res/help/local/en/extra.htm", PAGE.format(body=""))
        problems = self.problems()
        self.assertIn("fr/qnexplorer.htm: missing", problems)
        self.assertIn("fr/extra.htm: missing (exists in en)", problems)

    def test_a_page_without_style_sheet_or_way_back_is_reported(self):
        self.write("res/help/local/fr/qnexplorer.htm", "<html><head><title>T</title></head><body></body></html>")
        problems = self.problems()
        self.assertIn("fr/qnexplorer.htm: does not use the style sheet ../quenta.css", problems)
        self.assertIn("fr/qnexplorer.htm: no link back to index.htm", problems)

    def test_panel_links_stay_inside_the_panel(self):
        self.write("res/panel/index.htm", '<a href="news.htm">n</a><img src="../help/files/quenta.css">')
        problems = "\n".join(self.problems())
        self.assertIn("panel/index.htm: a href=\"news.htm\" leads nowhere", problems)
        self.assertIn("../help/files/quenta.css", problems)


if __name__ == "__main__":
    unittest.main()
