#!/usr/bin/env python3
"""The rules of check_ids.py: what they reject and what they leave alone."""
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_ids  # noqa: E402


def flagged(code):
    return [line for _, line in check_ids.literal_id_findings(code)]


class LiteralIds(unittest.TestCase):
    def test_numbers_in_text_and_resource_calls_are_rejected(self):
        for line in ('std::string cancel = LoadText(62513);',
                     'title = FormatText(128, year);',
                     'sink.SetTextById(300);',
                     'm_hand = LoadCursorA(instance, MAKEINTRESOURCEA(177));',
                     'HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(0x80));',
                     'HICON icon = LoadIconA(instance, 147);',
                     'auto logo = LoadTgaResource(358);',
                     'return std::make_unique<CPendingModuleView>(62456);'):
            self.assertEqual(flagged(line), [line], line)

    def test_id_constants_of_their_own_are_rejected(self):
        for line in ('constexpr unsigned kIdsExaminingFile = 62704;',
                     'constexpr int kIconIds[CQuentaApp::kIconCount] = {147, 142, 177, 214, 213};',
                     'static constexpr UINT kMenuId = 187;',
                     'enum : UINT { ID_FILE_SAVE_LIST_TO_DISK = 32845 };',
                     '    IDC_PICTURE_OPEN_PREVIEW = 2001, // the area',
                     '#define IDS_SOMETHING 62999'):
            self.assertEqual(flagged(line), [line.strip()], line)

    def test_named_ids_and_other_numbers_pass(self):
        code = '\n'.join((
            'std::string cancel = LoadText(IDS_BUSY_CANCEL);',
            'sink.SetTextById(kStatusGeneratingHtml);',
            'HRSRC block = FindResourceExW(module, MAKEINTRESOURCEW(6) /* RT_STRING */, name, language);',
            'constexpr UINT_PTR kTimerId = 1;',
            'constexpr uint32_t kClipboardId = 0x0001C350;',
            'constexpr int kHighestModuleId = 18;',
            'constexpr size_t kTextBuffer = 260;',
            'ShowMessage(FormatText(IDS_CANNOT_LOAD_PICTURE, path));',
            'm_status.SetText("LoadText(62513) in a string is no call");',
            '// LoadText(62513) in a comment is no call either',
            '/* nor LoadText(62513)',
            '   across lines MAKEINTRESOURCE(177) */',
        ))
        self.assertEqual(flagged(code), [])

    def test_numbers_the_header_names_are_rejected_wherever_they_stand(self):
        known = check_ids.named_ids('#define IDS_PRINT_NOTE 62519\n#define IDS_MODULE_START 62448\n'
                                    '#define IDR_PIC_START 358\n')
        self.assertEqual(known, {62519, 62448})
        for line in ('constexpr unsigned kPrintNote = 62519;',
                     '    {0, 62448, 358, "local\\index.htm"},',
                     '    case 8: return 62448;'):
            self.assertEqual(len(check_ids.literal_id_findings(line, known)), 1, line)
        for line in ('constexpr int kMaxShowDelay = 60000;',
                     'constexpr unsigned kMaxDimension = 65535;',
                     'value = 162519;',
                     'double x = 62519.5;'):
            self.assertEqual(check_ids.literal_id_findings(line, known), [], line)

    def test_findings_carry_their_line_numbers(self):
        code = 'int a = 0;\n/* LoadText(1) */\nLoadText(62513);\n'
        self.assertEqual(check_ids.literal_id_findings(code), [(3, 'LoadText(62513);')])


ENGLISH = '''LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US
STRINGTABLE
BEGIN
    // a comment "with quotes"
    IDS_BOTH          "Cancel"
    IDS_ENGLISH_ONLY  "Ready"
    62513,            "Numbered"
END
'''
FRENCH = '''LANGUAGE LANG_FRENCH, SUBLANG_FRENCH
STRINGTABLE
BEGIN
    IDS_BOTH          "Annuler"
    IDS_FRENCH_ONLY   "Prêt"
    62513,            "Numéroté"
    62513,            "Deux fois"
END
'''


class OneLanguageIds(unittest.TestCase):
    def test_entries_are_read_with_names_and_numbers(self):
        self.assertEqual(check_ids.string_table_ids(ENGLISH), ['IDS_BOTH', 'IDS_ENGLISH_ONLY', '62513'])

    def test_an_id_in_one_language_only_or_twice_is_reported(self):
        problems = check_ids.one_language_ids(ENGLISH, FRENCH)
        self.assertIn('IDS_ENGLISH_ONLY has no French text', problems)
        self.assertIn('IDS_FRENCH_ONLY has no English text', problems)
        self.assertIn('strings_fr.rc: 62513 appears twice', problems)
        self.assertEqual(len(problems), 3)

    def test_matching_tables_pass(self):
        self.assertEqual(check_ids.one_language_ids(ENGLISH, ENGLISH), [])


if __name__ == '__main__':
    unittest.main()
