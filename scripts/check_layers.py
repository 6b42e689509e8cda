#!/usr/bin/env python3
"""Checks the layering of src/ and prints every include that breaks it.

  check_layers.py layers SRC
      A folder includes only itself and the folders below it, in the order of DESIGN.md's Layout. A ui/
      folder belongs to its area; core code (outside every ui/ folder) includes no ui/ header at all.
  check_layers.py widgets SRC QT_INCLUDE_DIR...
      No quorvane_core source (a file under SRC outside every ui/ folder, main.cpp aside) includes a header
      of Qt's widget modules; the Qt include folders are given so that their header names are known.
  check_layers.py handlers SRC
      A window's handler (a name such as cmdOK_Click or Form_Activate) that a ui/ source connects by hand
      (connect, QMetaObject::invokeMethod, QTimer::singleShot) runs inside a ui::HandlerRun: the call is a
      lambda that opens one, never the handler itself; ui::connectHandler opens it for a handler. The window
      kit (platform/ui) wires its tables' handlers through their runs and is not checked.

Exits 1 when it finds a breach, 2 when it cannot check.
"""

import os
import re
import sys

# Lowest first; src/main.cpp stands above them all.
ORDER = ["platform", "state", "settings", "records", "datafiles", "transfer", "plu", "otherfiles", "presetkeys",
         "reports", "mainwindow", "app"]
MAIN = "main.cpp"
WIDGET_MODULES = ("QtWidgets", "QtPrintSupport", "QtOpenGLWidgets")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def sources(src):
    for folder, dirs, files in os.walk(src):
        dirs.sort()
        for name in sorted(files):
            if name.endswith((".cpp", ".h")):
                path = os.path.join(folder, name)
                yield os.path.relpath(path, src).replace(os.sep, "/")


def includes(src, rel):
    with open(os.path.join(src, rel), encoding="utf-8", errors="replace") as f:
        for number, line in enumerate(f, 1):
            m = INCLUDE.match(line)
            if m:
                yield number, m.group(1), m.group(2)


def is_ui(rel):
    return "ui" in rel.split("/")[:-1]


def area(rel):
    return rel.split("/")[0] if "/" in rel else rel


def rank(rel):
    a = area(rel)
    if a == MAIN:
        return len(ORDER)
    return ORDER.index(a) if a in ORDER else None


def own_header(src, rel, included):
    """The included file as a path under src, or None when it is not one of ours."""
    for base in (os.path.dirname(rel), ""):
        candidate = os.path.normpath(os.path.join(base, included)).replace(os.sep, "/")
        if not candidate.startswith("../") and os.path.isfile(os.path.join(src, candidate)):
            return candidate
    return None


def check_layers(src):
    breaches = []
    for rel in sources(src):
        if rank(rel) is None:
            breaches.append(f"{rel}: the folder {area(rel)} has no place in the layer order")
            continue
        for number, _, included in includes(src, rel):
            target = own_header(src, rel, included)
            if target is None:
                continue
            where = f"{rel}:{number}: includes {target}"
            if rank(target) is None:
                breaches.append(f"{where}: the folder {area(target)} has no place in the layer order")
            elif rank(target) > rank(rel):
                breaches.append(f"{where}: {area(target)} is above {area(rel)}")
            elif is_ui(target) and not is_ui(rel) and rel != MAIN:
                breaches.append(f"{where}: core code includes a window header")
    return breaches


def check_widgets(src, qt_dirs):
    widget_dirs = [d for d in qt_dirs if os.path.basename(os.path.normpath(d)) in WIDGET_MODULES]
    if "QtWidgets" not in [os.path.basename(os.path.normpath(d)) for d in widget_dirs]:
        print(f"no QtWidgets include folder among: {' '.join(qt_dirs)}", file=sys.stderr)
        sys.exit(2)
    names = set()
    for d in widget_dirs:
        names.update(os.listdir(d))
    breaches = []
    for rel in sources(src):
        if is_ui(rel) or rel == MAIN:
            continue
        for number, _, included in includes(src, rel):
            if own_header(src, rel, included) is not None:
                continue
            module = included.split("/")[0]
            if module in WIDGET_MODULES or ("/" not in included and included in names):
                breaches.append(f"{rel}:{number}: core code includes the widget header {included}")
    return breaches


# A classic handler's name: the control or the form, an underscore, the event (cmdOK_Click, Form_Activate).
HANDLER = r"\b[A-Za-z][A-Za-z0-9]*_[A-Z][A-Za-z0-9]*\b"
HANDLER_CALLED = re.compile(HANDLER + r"\s*\(")
HANDLER_POINTER = re.compile(r"&\s*[\w:]*::(" + HANDLER[2:] + ")")
WIRING = re.compile(r"\b(?:connect|QMetaObject::invokeMethod|QTimer::singleShot)\s*\(")
LITERAL_OR_COMMENT = re.compile(r'//[^\n]*|/\*.*?\*/|"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', re.S)


def blanked(text):
    """The text with comments and literals blanked, lines and offsets kept."""
    return LITERAL_OR_COMMENT.sub(lambda m: re.sub(r"[^\n]", " ", m.group(0)), text)


def call_arguments(text, start):
    """The text between the parenthesis opened just before start and its match."""
    depth = 1
    for i in range(start, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return text[start:i]
    return text[start:]


def check_handlers(src):
    breaches = []
    for rel in sources(src):
        if not is_ui(rel) or rel.startswith("platform/"):
            continue
        with open(os.path.join(src, rel), encoding="utf-8", errors="replace") as f:
            text = blanked(f.read())
        for m in WIRING.finditer(text):
            where = f"{rel}:{text.count(chr(10), 0, m.start()) + 1}"
            arguments = call_arguments(text, m.end())
            pointer = HANDLER_POINTER.search(arguments)
            if pointer:
                breaches.append(f"{where}: connects the handler {pointer.group(1)} by hand, outside a ui::HandlerRun")
            elif HANDLER_CALLED.search(arguments) and "HandlerRun" not in arguments:
                called = HANDLER_CALLED.search(arguments).group(0).rstrip("( ")
                breaches.append(f"{where}: calls the handler {called} from a hand-made connection without a ui::HandlerRun")
    return breaches


def main(argv):
    if len(argv) < 3 or argv[1] not in ("layers", "widgets", "handlers"):
        print(__doc__, file=sys.stderr)
        return 2
    src = argv[2]
    if not os.path.isdir(src):
        print(f"no such folder: {src}", file=sys.stderr)
        return 2
    if argv[1] == "handlers":
        breaches = check_handlers(src)
    else:
        breaches = check_layers(src) if argv[1] == "layers" else check_widgets(src, argv[3:])
    for b in breaches:
        print(b)
    if breaches:
        what = "hand-made connection(s) run a handler outside its run" if argv[1] == "handlers" else \
            "include(s) break the layering"
        print(f"{len(breaches)} {what}", file=sys.stderr)
        return 1
    print(f"{argv[1]}: no breach")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
