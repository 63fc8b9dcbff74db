#!/usr/bin/env python3
"""The catalogue of texts (conversion/texts/catalogue.txt): reads it, checks it, and writes what
the programs and the tests take from it.

The check fails, naming file and line, when a row lacks a language or has a form too many, when
the forms of a format text take different arguments, when an identifier is given twice, and when
a menu or dialog template of a resource script shows, in its variants for the languages, texts
that are not the forms of one row. Every command runs the whole check first and writes nothing
when it fails, so that a build which generates from the catalogue stops there.

    text_catalogue.py check [--catalogue FILE] [--resources RC...]
    text_catalogue.py cpp   [--catalogue FILE] [--resources RC...] --header H --source CPP
    text_catalogue.py js    [--catalogue FILE] [--resources RC...] --output JS
    text_catalogue.py shell [--catalogue FILE]     bash: one associative array per language,
                                                   TEXTS_ja[FatalTitle]=...
    text_catalogue.py text  [--catalogue FILE] IDENTIFIER LANGUAGE
    text_catalogue.py fill  [--catalogue FILE] LANGUAGE --input IN --output OUT
                            a JSON file with each @Identifier@ in a string replaced by the text
"""
import argparse
import json
import os
import re
import shlex
import sys

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
CATALOGUE = os.path.join(ROOT, "conversion", "texts", "catalogue.txt")
# The resource scripts whose menus and dialog templates are checked by default.
RESOURCE_SCRIPTS = [os.path.join(ROOT, "app", "glimmer.rc"),
                    os.path.join(ROOT, "dialogs", "dir_tree_dialog.rc")]

IDENTIFIER = re.compile(r"[A-Z][A-Za-z0-9]*$")
LANGUAGE_CODE = re.compile(r"[a-z]{2,3}$")

# One printf conversion: flags, width, precision, length and the conversion itself.
CONVERSION = re.compile(r"%(?P<flags>[-+ #0]*)(?P<width>\*|\d+)?(?:\.(?P<precision>\*|\d+))?"
                        r"(?P<length>hh|h|ll|l|j|z|t|L)?(?P<kind>[diouxXcspeEfFgGaA%])")
ARGUMENT_KINDS = {"d": "number", "i": "number", "o": "unsigned", "u": "unsigned", "x": "unsigned",
                  "X": "unsigned", "c": "character", "s": "text", "p": "pointer"}


class Problems:
    """The failures found, each with its place, in the order found."""

    def __init__(self):
        self.lines = []

    def add(self, path, line, message):
        self.lines.append(f"{os.path.relpath(path, ROOT) if path.startswith(ROOT) else path}:"
                          f"{line}: {message}")


class Language:
    def __init__(self, code, name, endings):
        self.code = code
        self.name = name
        self.endings = endings


class Row:
    def __init__(self, identifier, line):
        self.identifier = identifier
        self.line = line
        self.forms = []


class Catalogue:
    def __init__(self, path):
        self.path = path
        self.languages = []
        self.rows = []

    def row(self, identifier):
        for row in self.rows:
            if row.identifier == identifier:
                return row
        return None

    def text(self, identifier, code):
        row = self.row(identifier)
        codes = [language.code for language in self.languages]
        if row is None or code not in codes:
            return None
        return row.forms[codes.index(code)]


def tokens(text, path, number, problems):
    """The words and quoted forms of one line: (kind, value) with kind "word" or "form"."""
    found = []
    at = 0
    while at < len(text):
        if text[at].isspace():
            at += 1
        elif text[at] == '"':
            value = []
            at += 1
            while at < len(text) and text[at] != '"':
                if text[at] == "\\" and at + 1 < len(text):
                    escaped = text[at + 1]
                    if escaped not in '"\\n':
                        problems.add(path, number, f"unknown escape \\{escaped}")
                    value.append("\n" if escaped == "n" else escaped)
                    at += 2
                else:
                    value.append(text[at])
                    at += 1
            if at >= len(text):
                problems.add(path, number, "a form without its closing quote")
                return found
            at += 1
            found.append(("form", "".join(value)))
        else:
            end = at
            while end < len(text) and not text[end].isspace() and text[end] != '"':
                end += 1
            found.append(("word", text[at:end]))
            at = end
    return found


def read_catalogue(path, problems):
    catalogue = Catalogue(path)
    with open(path, encoding="utf-8") as source:
        lines = source.read().split("\n")
    row = None
    for number, line in enumerate(lines, 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        words = tokens(line, path, number, problems)
        if not words:
            continue
        if line[0].isspace():
            if row is None:
                problems.add(path, number, "an indented line belongs to no row")
                continue
            for kind, value in words:
                if kind != "form":
                    problems.add(path, number, f"{value}: a row goes on with quoted forms only")
                else:
                    row.forms.append(value)
            continue
        kind, first = words[0]
        if kind == "word" and first == "language":
            row = None
            values = [value for _, value in words[1:]]
            if catalogue.rows:
                problems.add(path, number, "language lines come before the first row")
            elif len(values) < 3 or not LANGUAGE_CODE.match(values[0]) or \
                    not IDENTIFIER.match(values[1]):
                problems.add(path, number, "a language line is: language CODE Name ENDING...")
            elif any(values[0] == other.code for other in catalogue.languages):
                problems.add(path, number, f"language {values[0]} is given twice")
            else:
                catalogue.languages.append(Language(values[0], values[1], values[2:]))
            continue
        if kind != "word" or not IDENTIFIER.match(first):
            problems.add(path, number, "a row starts with its identifier (letters and digits, "
                         "first a capital)")
            row = None
            continue
        if catalogue.row(first) is not None:
            problems.add(path, number, f"{first} is given twice (first on line "
                         f"{catalogue.row(first).line})")
        row = Row(first, number)
        catalogue.rows.append(row)
        for kind, value in words[1:]:
            if kind != "form":
                problems.add(path, number, f"{first}: {value}: forms are in double quotes")
            else:
                row.forms.append(value)
    if not catalogue.languages:
        problems.add(path, 1, "no language line")
    check_rows(catalogue, problems)
    return catalogue


def arguments_of(form):
    """The arguments a format text takes, in order, or a message on a stray %."""
    taken = []
    at = 0
    while True:
        at = form.find("%", at)
        if at < 0:
            return taken, None
        match = CONVERSION.match(form, at)
        if match is None:
            return taken, f"the % at character {at + 1} is no conversion (%% is a percent sign)"
        at = match.end()
        if match["kind"] == "%":
            if match.group(0) != "%%":
                return taken, f"{match.group(0)} is no conversion (%% is a percent sign)"
            continue
        taken.extend("width" for star in (match["width"], match["precision"]) if star == "*")
        kind = ARGUMENT_KINDS.get(match["kind"], "real number")
        taken.append(f"{match['length'] or ''}{kind}" if kind != "text" else kind)


def check_rows(catalogue, problems):
    languages = catalogue.languages
    for row in catalogue.rows:
        where = (catalogue.path, row.line)
        if len(row.forms) < len(languages):
            missing = ", ".join(language.code for language in languages[len(row.forms):])
            problems.add(*where, f"{row.identifier} has no {missing} form: every text has one "
                         f"form per language ({', '.join(l.code for l in languages)})")
            continue
        if len(row.forms) > len(languages):
            problems.add(*where, f"{row.identifier} has {len(row.forms)} forms for "
                         f"{len(languages)} languages")
            continue
        signatures = []
        for language, form in zip(languages, row.forms):
            if any(ord(c) < 0x20 and c != "\n" or 0x7F <= ord(c) < 0xA0 for c in form):
                problems.add(*where, f"{row.identifier} ({language.code}): a control "
                             "character (only \\n, a line break, is taken)")
            taken, stray = arguments_of(form)
            if stray:
                problems.add(*where, f"{row.identifier} ({language.code}): {stray}")
            signatures.append(taken)
        first = signatures[0]
        for language, taken in zip(languages[1:], signatures[1:]):
            if taken != first:
                problems.add(*where, f"{row.identifier}: the {language.code} form takes "
                             f"({', '.join(taken) or 'nothing'}), the {languages[0].code} form "
                             f"({', '.join(first) or 'nothing'}): every form takes the same "
                             "arguments in the same order")


# Resource scripts: the texts of menus and dialog templates.
RC_STRING = re.compile(r'L?"((?:[^"]|"")*)"')
RC_RESOURCE = re.compile(r"^\s*(\w+)\s+(MENU|MENUEX|DIALOG|DIALOGEX)\b")
# The statements whose first argument, when it is a string, is a text the user sees.
RC_TEXT_STATEMENTS = {"POPUP", "MENUITEM", "CAPTION", "LTEXT", "RTEXT", "CTEXT", "GROUPBOX",
                      "PUSHBUTTON", "DEFPUSHBUTTON", "CHECKBOX", "AUTOCHECKBOX", "STATE3",
                      "AUTO3STATE", "RADIOBUTTON", "AUTORADIOBUTTON", "PUSHBOX", "CONTROL"}
RC_ESCAPES = {"n": "\n", "t": "\t", "\\": "\\", '"': '"'}


def rc_string(raw):
    text = raw.replace('""', '"')
    return re.sub(r"\\(.)", lambda m: RC_ESCAPES.get(m.group(1), m.group(0)), text)


def resource_texts(path, problems):
    """Each menu and dialog template of the script: {name: [(line, text), ...]}."""
    resources = {}
    with open(path, encoding="utf-8") as source:
        lines = source.read().split("\n")
    current = None
    depth = 0
    for number, line in enumerate(lines, 1):
        code = line.split("//")[0] if '"' not in line.split("//")[0] else line
        stripped = code.strip()
        if current is None:
            match = RC_RESOURCE.match(code)
            if match:
                current = resources.setdefault(match.group(1).upper(), [])
                depth = 0
            continue
        words = stripped.split(None, 1)
        if not words:
            continue
        keyword = words[0].rstrip(",").upper()
        if keyword in ("BEGIN", "{"):
            depth += 1
            continue
        if keyword in ("END", "}"):
            depth -= 1
            if depth == 0:
                current = None
            continue
        if keyword in RC_TEXT_STATEMENTS and len(words) > 1:
            match = RC_STRING.match(words[1])
            if match:
                current.append((number, rc_string(match.group(1))))
    if current is not None:
        problems.add(path, len(lines), "a menu or dialog template does not end")
    return resources


def check_resources(catalogue, paths, problems):
    """Every menu and dialog template has a variant per language, named with the language's
    ending; item by item, the variants show the forms of one row (or one text in all)."""
    languages = catalogue.languages
    if not languages:
        return
    by_forms = {tuple(row.forms): row for row in catalogue.rows}
    for path in paths:
        families = {}
        for name, texts in resource_texts(path, problems).items():
            for index, language in enumerate(languages):
                ending = next((e for e in language.endings if name.endswith(e.upper())), None)
                if ending:
                    families.setdefault(name[:-len(ending)], {})[index] = texts
                    break
            else:
                problems.add(path, texts[0][0] if texts else 1,
                             f"{name}: its name ends in no language's ending "
                             f"({', '.join(e for l in languages for e in l.endings)})")
        for family, variants in sorted(families.items()):
            missing = [languages[i].code for i in range(len(languages)) if i not in variants]
            if missing:
                line = next(iter(variants.values()))[0][0] if next(iter(variants.values())) else 1
                problems.add(path, line, f"{family}: no variant for {', '.join(missing)}")
                continue
            counts = {len(texts) for texts in variants.values()}
            if len(counts) > 1:
                problems.add(path, variants[0][0][0] if variants[0] else 1,
                             f"{family}: its variants show different numbers of texts " +
                             ", ".join(f"{languages[i].code} {len(t)}"
                                       for i, t in sorted(variants.items())))
                continue
            for items in zip(*(variants[i] for i in range(len(languages)))):
                forms = tuple(text for _, text in items)
                if len(set(forms)) == 1 or forms in by_forms:
                    continue
                shown = ", ".join(f'{language.code} "{text}" (line {line})'
                                  for language, (line, text) in zip(languages, items))
                near = [row.identifier for row in catalogue.rows
                        if any(form == text for form, text in zip(row.forms, forms))]
                hint = f"; rows with one of these forms: {', '.join(near)}" if near else ""
                problems.add(path, items[0][0],
                             f"{family}: {shown} is no row of the catalogue{hint}")


def load(path=CATALOGUE, resources=()):
    """The catalogue, checked (with the resource scripts given); exits with the problems."""
    problems = Problems()
    catalogue = read_catalogue(path, problems)
    check_resources(catalogue, resources, problems)
    if problems.lines:
        for line in problems.lines:
            print(f"text catalogue: {line}", file=sys.stderr)
        print(f"text catalogue: {len(problems.lines)} problems", file=sys.stderr)
        sys.exit(1)
    return catalogue


def c_escaped(units, escape_other):
    """The characters of a C++ literal, ASCII only: quotes, backslashes, newlines and question
    marks (no trigraphs) escaped, every other unit outside printable ASCII by escape_other."""
    out = []
    for unit in units:
        char = chr(unit)
        if char in '"\\':
            out.append("\\" + char)
        elif char == "\n":
            out.append("\\n")
        elif char == "?":
            out.append("\\?")
        elif 0x20 <= unit < 0x7F:
            out.append(char)
        else:
            out.append(escape_other(unit))
    return "".join(out)


def c_narrow(text):
    """A narrow C++ literal of the UTF-8 bytes (octal escapes end after three digits, so a
    following digit stays itself)."""
    return '"' + c_escaped(text.encode("utf-8"), lambda byte: f"\\{byte:03o}") + '"'


def c_wide(text):
    def universal(code):
        return f"\\u{code:04x}" if code <= 0xFFFF else f"\\U{code:08x}"

    return 'L"' + c_escaped([ord(char) for char in text], universal) + '"'


GENERATED = "Generated from conversion/texts/catalogue.txt by scripts/text_catalogue.py: " \
            "edit the catalogue, not this file."


def cpp_header(catalogue):
    languages = ",\n    ".join(language.name for language in catalogue.languages)
    texts = ",\n    ".join(row.identifier for row in catalogue.rows)
    return f"""// {GENERATED}
// The identifiers of the texts and of the languages; text_catalogue.h looks them up.
#pragma once

#include <cstddef>

enum class Language {{
    {languages},
}};
constexpr size_t kLanguageCount = {len(catalogue.languages)};

enum class TextId {{
    {texts},
}};
constexpr size_t kTextCount = {len(catalogue.rows)};
"""


def cpp_source(catalogue):
    def table(kind, literal):
        blocks = []
        for index, language in enumerate(catalogue.languages):
            forms = "\n".join(f"        {literal(row.forms[index])},  // {row.identifier}"
                              for row in catalogue.rows)
            blocks.append(f"    {{\n{forms}\n    }},")
        return (f"const {kind}* const kForms{'Wide' if kind == 'wchar_t' else 'Utf8'}"
                f"[kLanguageCount][kTextCount] = {{\n" + "\n".join(blocks) + "\n};")

    names = "\n".join(f'    "{row.identifier}",' for row in catalogue.rows)
    codes = "\n".join(f'    "{language.code}",' for language in catalogue.languages)
    return f"""// {GENERATED}
#include "conversion/texts/text_catalogue.h"

namespace {{

{table("char", c_narrow)}

{table("wchar_t", c_wide)}

const char* const kNames[kTextCount] = {{
{names}
}};

const char* const kCodes[kLanguageCount] = {{
{codes}
}};

}}  // namespace

const char* TextUtf8(TextId text, Language language)
{{
    return kFormsUtf8[static_cast<size_t>(language)][static_cast<size_t>(text)];
}}

const wchar_t* TextWide(TextId text, Language language)
{{
    return kFormsWide[static_cast<size_t>(language)][static_cast<size_t>(text)];
}}

const char* TextName(TextId text)
{{
    return kNames[static_cast<size_t>(text)];
}}

const char* LanguageCode(Language language)
{{
    return kCodes[static_cast<size_t>(language)];
}}
"""


def javascript(catalogue):
    blocks = []
    for index, language in enumerate(catalogue.languages):
        forms = "\n".join(f"    {row.identifier}: {json.dumps(row.forms[index], ensure_ascii=False)},"
                          for row in catalogue.rows)
        blocks.append(f"  {language.code}: {{\n{forms}\n  }},")
    codes = ", ".join(json.dumps(language.code) for language in catalogue.languages)
    return (f"// {GENERATED}\n// Every text by language code and identifier.\n\n"
            f"export const LANGUAGES = [{codes}];\n\n"
            "export const TEXTS = {\n" + "\n".join(blocks) + "\n};\n")


def shell(catalogue):
    lines = [f"# {GENERATED}"]
    for index, language in enumerate(catalogue.languages):
        items = " ".join(f"[{row.identifier}]={shlex.quote(row.forms[index])}"
                         for row in catalogue.rows)
        lines.append(f"declare -gA TEXTS_{language.code}=({items})")
    return "\n".join(lines) + "\n"


PLACEHOLDER = re.compile(r"@([A-Z][A-Za-z0-9]*)@")


def fill(catalogue, code, template, where):
    """The JSON template with each @Identifier@ replaced by the text, escaped for a string."""
    def text_of(match):
        text = catalogue.text(match.group(1), code)
        if text is None:
            print(f"text catalogue: {where}: no text {match.group(1)} in {code}", file=sys.stderr)
            sys.exit(1)
        return json.dumps(text, ensure_ascii=False)[1:-1]
    return PLACEHOLDER.sub(text_of, template)


def write(path, content):
    """Writes the file only when its content changes, so that nothing rebuilds for nothing."""
    try:
        with open(path, encoding="utf-8") as existing:
            if existing.read() == content:
                return
    except FileNotFoundError:
        os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(content)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("command", choices=["check", "cpp", "js", "shell", "text", "fill"])
    parser.add_argument("words", nargs="*", help="text: IDENTIFIER LANGUAGE; fill: LANGUAGE")
    parser.add_argument("--input")
    parser.add_argument("--catalogue", default=CATALOGUE)
    parser.add_argument("--resources", nargs="*", default=None,
                        help="resource scripts to check (default: the program's)")
    parser.add_argument("--header")
    parser.add_argument("--source")
    parser.add_argument("--output")
    options = parser.parse_args()
    resources = RESOURCE_SCRIPTS if options.resources is None else options.resources
    catalogue = load(options.catalogue, resources)
    if options.command == "cpp":
        if not options.header or not options.source:
            parser.error("cpp writes --header and --source")
        write(options.header, cpp_header(catalogue))
        write(options.source, cpp_source(catalogue))
    elif options.command == "js":
        if not options.output:
            parser.error("js writes --output")
        write(options.output, javascript(catalogue))
    elif options.command == "shell":
        sys.stdout.write(shell(catalogue))
    elif options.command == "fill":
        if len(options.words) != 1 or not options.input or not options.output:
            parser.error("fill takes LANGUAGE --input IN --output OUT")
        with open(options.input, encoding="utf-8") as template:
            write(options.output, fill(catalogue, options.words[0], template.read(), options.input))
    elif options.command == "text":
        if len(options.words) != 2:
            parser.error("text takes IDENTIFIER LANGUAGE")
        text = catalogue.text(*options.words)
        if text is None:
            print(f"text catalogue: no text {options.words[0]} in {options.words[1]}",
                  file=sys.stderr)
            return 1
        sys.stdout.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
