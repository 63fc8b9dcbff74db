#!/usr/bin/env python3
"""The catalogue's check stops the build, naming file, line and text, on each fault it is there
to catch, and passes (generating what the programs take) a catalogue without one.

    catalogue_check_test.py SCRATCH
"""
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
GENERATOR = os.path.join(HERE, "..", "..", "..", "scripts", "text_catalogue.py")

LANGUAGES = "language ja Japanese _J _JAPANESE\nlanguage en English _E _ENGLISH\n"
GOOD_ROWS = """\
FileMenu      "ﾌｧｲﾙ(&F)"   "&File"
ExitCommand   "終了(&X)"   "E&xit"
AboutTitle    "ﾊﾞｰｼﾞｮﾝ情報"  "About"
FileCountOne  "%d 個のﾌｧｲﾙ"  "%d File"
ReplaceQuestion
    "%s は既に存在します。上書きしますか?"
    "'%s' already exist. Do you want to replace it?"
"""
GOOD_RC = """\
#pragma code_page(65001)
IDR_MENU_ENGLISH MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "E&xit", 109
        MENUITEM SEPARATOR
    END
END
IDR_MENU_JAPANESE MENU
BEGIN
    POPUP "ﾌｧｲﾙ(&F)"
    BEGIN
        MENUITEM "終了(&X)", 109
        MENUITEM SEPARATOR
    END
END
// The two templates differ in their caption only.
ABOUT_E DIALOG 0, 0, 100, 50
CAPTION "About"
FONT 9, "Tahoma"
BEGIN
    CONTROL "Tree1", 3001, "SysTreeView32",
            WS_CHILD | WS_VISIBLE, 4, 4, 72, 42
    DEFPUSHBUTTON "OK", 1, 80, 4, 16, 14
END
ABOUT_J DIALOG 0, 0, 100, 50
CAPTION "ﾊﾞｰｼﾞｮﾝ情報"
FONT 9, "Tahoma"
BEGIN
    CONTROL "Tree1", 3001, "SysTreeView32",
            WS_CHILD | WS_VISIBLE, 4, 4, 72, 42
    DEFPUSHBUTTON "OK", 1, 80, 4, 16, 14
END
STRINGTABLE
BEGIN
    1 "Only in English"
END
"""

scratch = sys.argv[1]
failures = 0


def run(name, catalogue, rc, command=("check",)):
    folder = os.path.join(scratch, name)
    os.makedirs(folder, exist_ok=True)
    paths = {}
    for file, content in (("catalogue.txt", catalogue), ("program.rc", rc)):
        paths[file] = os.path.join(folder, file)
        with open(paths[file], "w", encoding="utf-8") as out:
            out.write(content)
    result = subprocess.run([sys.executable, GENERATOR, *command,
                             "--catalogue", paths["catalogue.txt"],
                             "--resources", paths["program.rc"]],
                            capture_output=True, text=True, cwd=folder)
    return result, folder


def expect_break(name, expected, catalogue, rc=GOOD_RC):
    global failures
    result, _ = run(name, catalogue, rc)
    if result.returncode == 0:
        print(f"FAIL {name}: the check passed")
        failures += 1
    elif expected not in result.stderr:
        print(f"FAIL {name}: no line holds: {expected}\n{result.stderr}")
        failures += 1
    else:
        print(f"ok   {name}")


expect_break("missing-english", 'catalogue.txt:10: FileCountOther has no en form',
             LANGUAGES + GOOD_ROWS + 'FileCountOther "%d 個のﾌｧｲﾙ"\n')
expect_break("missing-form-on-a-long-row", "catalogue.txt:10: PathTooLong has no en form",
             LANGUAGES + GOOD_ROWS + 'PathTooLong\n    "ﾊﾟｽが長すぎます: %s"\n' +
             'RunFinished "変換終了" "Finished"\n')
expect_break("a-form-too-many", "Warning has 3 forms for 2 languages",
             LANGUAGES + GOOD_ROWS + 'Warning "警告" "Warning" "Warnung"\n')
expect_break("arguments-differ", "NotCamFile: the en form takes (number), the ja form (text)",
             LANGUAGES + GOOD_ROWS + 'NotCamFile "%s は CAM ﾌｧｲﾙではありません" "%d is no CAM file"\n')
expect_break("arguments-in-another-order", "Count: the en form takes (text, number)",
             LANGUAGES + GOOD_ROWS + 'Count "%d 個 %s" "%s: %d"\n')
expect_break("argument-missing", "Count: the en form takes (nothing)",
             LANGUAGES + GOOD_ROWS + 'Count "%d 個" "some"\n')
expect_break("stray-percent", "Memory (en): the % at character 4 is no conversion",
             LANGUAGES + GOOD_ROWS + 'Memory "(%d%%)" "(%d%)"\n')
expect_break("identifier-twice", "catalogue.txt:10: FileMenu is given twice (first on line 3)",
             LANGUAGES + GOOD_ROWS + 'FileMenu "ﾌｧｲﾙ" "File"\n')
expect_break("no-language", "no language line", GOOD_ROWS)
expect_break("unquoted-form", "Help: Help: forms are in double quotes",
             LANGUAGES + GOOD_ROWS + 'Help "ﾍﾙﾌﾟ" Help\n')
expect_break("menu-text-not-in-the-catalogue",
             'program.rc:14: IDR_MENU: ja "終了(&X)" (line 14), en "&Quit" (line 6) is no row of '
             "the catalogue; rows with one of these forms: ExitCommand",
             LANGUAGES + GOOD_ROWS, GOOD_RC.replace('"E&xit"', '"&Quit"'))
expect_break("dialog-translation-of-another-row",
             'program.rc:28: ABOUT: ja "終了(&X)" (line 28), en "About" (line 20) is no row',
             LANGUAGES + GOOD_ROWS, GOOD_RC.replace('CAPTION "ﾊﾞｰｼﾞｮﾝ情報"', 'CAPTION "終了(&X)"'))
expect_break("variant-missing", "ABOUT: no variant for ja",
             LANGUAGES + GOOD_ROWS, GOOD_RC[:GOOD_RC.index("ABOUT_J")] + "STRINGTABLE\nBEGIN\nEND\n")
expect_break("variants-of-different-length", "IDR_MENU: its variants show different numbers of "
             "texts ja 2, en 3", LANGUAGES + GOOD_ROWS,
             GOOD_RC.replace('MENUITEM "E&xit", 109', 'MENUITEM "E&xit", 109\n MENUITEM "&Help", 9'))
expect_break("template-of-no-language", "OTHER: its name ends in no language's ending (_J, _JAPANESE, _E, _ENGLISH)", LANGUAGES + GOOD_ROWS,
             GOOD_RC + 'OTHER DIALOG 0, 0, 9, 9\nCAPTION "Other"\nBEGIN\nEND\n')

# A catalogue without faults passes and is generated as the programs take it.
result, folder = run("keeps-the-rules", LANGUAGES + GOOD_ROWS, GOOD_RC,
                     ("cpp", "--header", "ids.h", "--source", "table.cpp"))
if result.returncode != 0:
    print(f"FAIL keeps-the-rules: {result.stderr}")
    failures += 1
else:
    with open(os.path.join(folder, "ids.h"), encoding="utf-8") as header:
        ids = header.read()
    with open(os.path.join(folder, "table.cpp"), encoding="utf-8") as source:
        table = source.read()
    order = [ids.find(f"    {name},") for name in
             ("FileMenu", "ExitCommand", "AboutTitle", "FileCountOne", "ReplaceQuestion")]
    utf8 = "".join(f"\\{b:03o}" for b in "ﾌｧｲﾙ(&F)".encode("utf-8")[:3])
    if -1 in order or order != sorted(order) or "kTextCount = 5" not in ids:
        print(f"FAIL keeps-the-rules: the identifiers are not the rows in order:\n{ids}")
        failures += 1
    elif utf8 not in table or "L\"'%s' already exist. Do you want to replace it\\?\"" not in table:
        print(f"FAIL keeps-the-rules: the forms are not written as the catalogue has them")
        failures += 1
    else:
        print("ok   keeps-the-rules")

# A JSON file filled from the catalogue: a text in place of its @Identifier@, escaped for a
# JSON string; an identifier that names no text fails.
template = os.path.join(scratch, "keeps-the-rules", "manifest.in")
with open(template, "w", encoding="utf-8") as out:
    out.write('{"question": "@ReplaceQuestion@", "title": "@AboutTitle@"}')
for name, language, expected in (("fill-english", "en", "'%s' already exist. Do you want"),
                                  ("fill-japanese", "ja", "ﾊﾞｰｼﾞｮﾝ情報")):
    result, folder = run("keeps-the-rules", LANGUAGES + GOOD_ROWS, GOOD_RC,
                         ("fill", language, "--input", template, "--output", "filled.json"))
    with open(os.path.join(folder, "filled.json"), encoding="utf-8") as filled:
        text = filled.read()
    if result.returncode != 0 or expected not in text:
        print(f"FAIL {name}: {result.stderr}{text}")
        failures += 1
    else:
        print(f"ok   {name}")
with open(template, "w", encoding="utf-8") as out:
    out.write('{"title": "@NoSuchText@"}')
result, _ = run("keeps-the-rules", LANGUAGES + GOOD_ROWS, GOOD_RC,
                ("fill", "en", "--input", template, "--output", "unfilled.json"))
if result.returncode == 0 or "no text NoSuchText in en" not in result.stderr:
    print(f"FAIL fill-unknown-text: {result.returncode} {result.stderr}")
    failures += 1
else:
    print("ok   fill-unknown-text")

sys.exit(1 if failures else 0)
