#!/usr/bin/env python3
"""Fails when the program's sources use a narrow ("A") Windows function, structure or
message, which carries text in the system's code page: on a Western Windows (1252) the
program's Chinese turns into '?' or worse there. The program holds its text as code page
936 bytes and hands it to Windows through the wide ("W") forms only.

    check-wide-calls.py [SOURCE_DIR [HEADER_DIR]]

A name is narrow when the Windows headers the program includes also declare its wide
twin: FooA beside FooW, and the bare Foo where FooA and FooW both exist, as the program
is built without UNICODE and Foo means FooA. Bare names count as calls only in the
global form ::Foo( and as ALL-CAPS structures and messages, so that the program's own
methods that share a name with a Windows macro (App::MessageBox) are left alone.
"""
import os
import re
import sys

# Narrow-only names whose wide twins the headers lack, with what to use; and where each
# may stay.
NARROW_ONLY = {name: "MAPISendMailW and its structures (declared in text/PRichEditMail.cpp)"
               for name in ("MAPISendMail", "LPMAPISENDMAIL", "MapiMessage", "MapiRecipDesc")}
ALLOWED = {
    # Mail libraries without MAPISendMailW get the narrow call; characters their code
    # page cannot hold are lost there and only there.
    "text/PRichEditMail.cpp": set(NARROW_ONLY),
}

INCLUDE = re.compile(r'#\s*include\s*[<"]([^>"]+)[>"]')
# Comments and character literals; string literals stay, as they name window classes
# and functions looked up by name.
COMMENT = re.compile(r"//[^\n]*|/\*.*?\*/|'(?:\\.|[^'\\\n])+'", re.S)
NAME = re.compile(r"(?<![\w])(::)?([A-Za-z_]\w*)")


def header_names(header_dir, roots):
    """Every name in the headers the sources include, followed through their includes."""
    names, seen, todo = set(), set(), list(roots)
    while todo:
        path = os.path.join(header_dir, todo.pop())
        if path in seen or not os.path.isfile(path):
            continue
        seen.add(path)
        with open(path, encoding="latin-1") as f:
            text = f.read()
        todo.extend(INCLUDE.findall(text))
        names.update(re.findall(r"\b[A-Za-z_]\w*\b", text))
    return names


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    source_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "src")
    header_dir = sys.argv[2] if len(sys.argv) > 2 else "/usr/share/mingw-w64/include"
    sources = {}
    for top, _, files in os.walk(source_dir):
        for name in files:
            if name.endswith((".cpp", ".h")):
                path = os.path.join(top, name)
                with open(path, encoding="utf-8") as f:
                    sources[os.path.relpath(path, source_dir).replace(os.sep, "/")] = f.read()
    roots = {inc for text in sources.values() for inc in INCLUDE.findall(text)}
    known = header_names(header_dir, roots)
    if "MessageBoxW" not in known:
        print("check-wide-calls: no Windows headers under %s" % header_dir)
        return 2

    faults = []
    for rel, text in sorted(sources.items()):
        code = COMMENT.sub(lambda m: re.sub(r"[^\n]", " ", m.group()), text)
        for lineno, line in enumerate(code.split("\n"), 1):
            for m in NAME.finditer(line):
                global_call, name = m.group(1), m.group(2)
                if name in ALLOWED.get(rel, ()):
                    continue
                if len(name) > 2 and name.endswith("A") and name[:-1] + "W" in known:
                    use = name[:-1] + "W"
                elif (name + "A" in known and name + "W" in known
                      and ((global_call and line[m.end():].lstrip().startswith("(")) or name.isupper())):
                    use = name + "W (built without UNICODE, %s means %sA)" % (name, name)
                elif name in NARROW_ONLY:
                    use = NARROW_ONLY[name]
                else:
                    continue
                faults.append("src/%s:%d: %s takes text in the system's code page: use %s, with "
                              "fw::WideFromText / fw::TextFromWide for the program's 936 text"
                              % (rel, lineno, name, use))
    for fault in faults:
        print(fault)
    print("%d narrow Windows names in %d source files" % (len(faults), len(sources)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
