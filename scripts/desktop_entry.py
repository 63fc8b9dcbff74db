#!/usr/bin/env python3
"""Writes Glimmer's desktop entry for the place its menu start is installed at, escaped as
freedesktop.org's desktop entry format asks, whatever characters that path holds.

    scripts/desktop_entry.py TEMPLATE MENU_START OUTPUT

TEMPLATE is packaging/glimmer.desktop.in, MENU_START the absolute path of the installed
start-from-menu. scripts/installation calls menu_entry() for the PREFIX it installs into.
"""
import sys

# Characters that make an Exec argument need double quotes.
EXEC_RESERVED = set(" \t\n\"'\\><~|&;$*?#()`")
# Characters that need a backslash inside the double quotes of an Exec argument.
EXEC_QUOTED_ESCAPES = set('"`$\\')


class UnsuitablePath(ValueError):
    """A path that no desktop entry can name."""


def string_value(text):
    """A value of type string: backslash, line break, tab and carriage return escaped, and a
    leading space kept as \\s."""
    value = text.replace("\\", "\\\\").replace("\n", "\\n").replace("\t", "\\t").replace("\r", "\\r")
    if value.startswith(" "):
        value = "\\s" + value[1:]
    return value


def exec_argument(path):
    """One argument of an Exec line, before the string escaping: quoted when it holds a reserved
    character, with % written as %%."""
    if any(c in EXEC_RESERVED for c in path):
        path = '"' + "".join("\\" + c if c in EXEC_QUOTED_ESCAPES else c for c in path) + '"'
    return path.replace("%", "%%")


def check_path(path):
    if not path.startswith("/"):
        raise UnsuitablePath("'%s' is not an absolute path" % path)
    try:
        path.encode("utf-8")
    except UnicodeEncodeError:
        raise UnsuitablePath("'%s' is not UTF-8 text, which a desktop entry must be" % path)
    if any(ord(c) < 0x20 and c not in "\n\t\r" or ord(c) == 0x7F for c in path):
        raise UnsuitablePath("'%s' holds a control character, which a desktop entry cannot hold" % path)


def menu_entry(template, menu_start):
    """The desktop entry of TEMPLATE text for the menu start at MENU_START."""
    check_path(menu_start)
    # GLib-based menus look for the program of an Exec line before they turn %% into %, so they
    # would never find a program whose path holds a %. bash runs the same script from its path
    # as an argument, which is expanded first.
    command = exec_argument(menu_start)
    if "%" in menu_start:
        command = "bash " + command
    return template.replace("@GLIMMER_MENU_START_TRYEXEC@", string_value(menu_start)).replace(
        "@GLIMMER_MENU_START_EXEC@", string_value(command))


def main(argv):
    if len(argv) != 4:
        sys.stderr.write("usage: desktop_entry.py TEMPLATE MENU_START OUTPUT\n")
        return 2
    with open(argv[1], encoding="utf-8") as template:
        text = template.read()
    try:
        entry = menu_entry(text, argv[2])
    except UnsuitablePath as problem:
        sys.stderr.write("desktop_entry.py: %s\n" % problem)
        return 1
    with open(argv[3], "w", encoding="utf-8") as output:
        output.write(entry)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
