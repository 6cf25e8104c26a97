#!/usr/bin/env python3
"""Fails when a source file includes a header of a later layer.

The layers, lowest first; a folder includes its own headers and those of
the folders it lists. framework/Gb18030.h and framework/Text.h, the text
codec, are portable and open to every folder that handles text. Portable
folders include no Windows header, but in files named *Windows.cpp and in
the branch of an `#ifdef _WIN32`.

    check-layers.py ROOT    checks the source tree under ROOT
"""
import pathlib
import re
import sys

CODEC = {"framework/Gb18030.h", "framework/Text.h"}

# folder: (the folders it may include, whether it may use the codec, portable)
LAYERS = {
    "engine": ((), False, True),
    "store": (("engine",), True, True),
    "framework": ((), True, False),
    "links": ((), True, True),
    "resources": ((), False, False),
    "cli": (("engine", "store"), True, True),
    "display": (("engine", "store", "framework", "resources"), True, False),
    "dialogs": (("engine", "store", "framework", "resources", "display"), True, False),
    "app": (("engine", "store", "framework", "resources", "display", "dialogs", "links"), True, False),
    "tools/render": (("engine", "store", "framework", "resources", "display"), True, False),
    "tools/tablegen": (("engine",), False, True),
}

WINDOWS_HEADERS = re.compile(r"#\s*include\s*<(windows|winsock2|ws2tcpip|shellapi|shlobj|commdlg|commctrl)\.h>", re.I)
CONDITIONAL = re.compile(r"\s*#\s*(if|ifdef|ifndef|elif|else|endif)\b(.*)")
WINDOWS_ONLY = re.compile(r"^\s*(defined\s*\(?\s*)?_WIN32\b")


def unguarded_windows_include(text):
    """A Windows header outside the Windows branch of a conditional."""
    branches = []  # for each open conditional: is this branch Windows only?
    for line in text.splitlines():
        conditional = CONDITIONAL.match(line)
        if conditional:
            word, rest = conditional.groups()
            if word in ("if", "ifdef"):
                branches.append(bool(WINDOWS_ONLY.match(rest)))
            elif word == "ifndef":
                branches.append(False)
            elif word in ("elif", "else") and branches:
                branches[-1] = False
            elif word == "endif" and branches:
                branches.pop()
        elif WINDOWS_HEADERS.search(line) and not any(branches):
            return True
    return False
QUOTED_INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.M)


def folder_of(path):
    """The layer folder a file or an included header belongs to."""
    parts = pathlib.PurePosixPath(path).parts
    if len(parts) >= 2 and "/".join(parts[:2]) in LAYERS:
        return "/".join(parts[:2])
    return parts[0] if parts and parts[0] in LAYERS else None


def problems(root):
    for path in sorted(root.rglob("*")):
        relative = path.relative_to(root).as_posix()
        if relative.startswith("build/") or path.suffix not in (".h", ".cpp", ".inc", ".in"):
            continue
        folder = folder_of(relative)
        if folder is None:
            continue  # tests, benchmarks: they may reach every layer
        allowed, codec, portable = LAYERS[folder]
        text = path.read_text(encoding="utf-8")
        for header in QUOTED_INCLUDE.findall(text):
            target = folder_of(header)
            if "/" not in header:
                yield f"{relative}: includes \"{header}\" without its folder"
            elif header in CODEC and codec:
                continue
            elif target != folder and target not in allowed:
                yield f"{relative}: {folder}/ may not include \"{header}\""
        if portable and not relative.endswith("Windows.cpp") and unguarded_windows_include(text):
            yield f"{relative}: portable code includes a Windows header"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    found = list(problems(pathlib.Path(sys.argv[1])))
    for problem in found:
        print(problem)
    print(f"layers: {len(found)} wrong-way include(s)")
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
