#!/usr/bin/env python3
"""Fails when the source tree breaks its layers.

The layers, lowest first; a folder includes and links its own and those of
the folders it lists. Checked:

- every #include, in both forms, of every C++ source, header and resource
  script: "engine/LunarDate.h" and <engine/LunarDate.h> alike (the root is
  on the include path, so the angle form reaches the same files), and each
  names its folder;
- every folder that holds sources is one this table knows: a new folder is
  given its place here before it builds;
- portable folders include no platform header: anything but the C++ and C
  standard library (and a folder's own third-party libraries) is allowed
  only in files named *Windows.* or *Posix.*, or in the branch of an
  `#if` on _WIN32;
- every CMake target links only targets of its own layer or below.

    check-layers.py ROOT    checks the source tree under ROOT
"""
import pathlib
import re
import sys

# folder: (the folders it may reach, portable, third-party headers it may use)
ALL = ("base", "engine", "store", "links", "framework", "resources", "display", "dialogs", "app")
LAYERS = {
    "base": ((), True, ()),
    "engine": (("base",), True, ()),
    "store": (("base", "engine"), True, ()),
    "links": (("base",), True, ()),
    "cli": (("base", "engine", "store"), True, ()),
    "framework": (("base",), False, ()),
    "resources": ((), False, ()),
    "display": (("base", "engine", "store", "framework", "resources"), False, ()),
    "dialogs": (("base", "engine", "store", "framework", "resources", "display"), False, ()),
    "app": (ALL, False, ()),
    "tools/render": (("base", "engine", "store", "framework", "resources", "display"), False, ()),
    "tools/tablegen": (("base", "engine"), True, ("erfa.h", "erfam.h")),
    "packaging": ((), False, ()),
    # What the tests and the benchmarks share, over every layer; a benchmark
    # reaches nothing of the tests themselves.
    "testkit": (ALL, False, ()),
    "bench": (ALL + ("cli", "testkit"), False, ()),
    "tests": (ALL + ("cli", "tools/render", "tools/tablegen", "testkit"), False, ()),
}

SOURCE_SUFFIXES = (".h", ".cpp", ".inc", ".in", ".rc")

# The C++20 standard library and the C library's headers in both spellings.
CXX_HEADERS = """
    algorithm any array atomic barrier bit bitset charconv chrono codecvt compare complex concepts
    condition_variable coroutine deque exception execution expected filesystem format forward_list fstream
    functional future initializer_list iomanip ios iosfwd iostream istream iterator latch limits list locale
    map memory memory_resource mutex new numbers numeric optional ostream queue random ranges ratio regex
    scoped_allocator semaphore set shared_mutex source_location span sstream stack stdexcept stop_token
    streambuf string string_view strstream syncstream system_error thread tuple type_traits typeindex
    typeinfo unordered_map unordered_set utility valarray variant vector version
""".split()
C_HEADERS = """
    assert complex ctype errno fenv float inttypes iso646 limits locale math setjmp signal stdalign stdarg
    stdbool stddef stdint stdio stdlib string tgmath time uchar wchar wctype
""".split()
STANDARD = set(CXX_HEADERS) | {"c" + name for name in C_HEADERS} | {name + ".h" for name in C_HEADERS}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
CONDITIONAL = re.compile(r"\s*#\s*(if|ifdef|ifndef|elif|else|endif)\b(.*)")
ON_PLATFORM = re.compile(r"^\s*(!\s*)?(defined\s*\(?\s*)?_WIN32\b")
TARGET = re.compile(r"\badd_(library|executable)\s*\(\s*([\w.-]+)")
LINKS = re.compile(r"\btarget_link_libraries\s*\(\s*([\w.-]+)([^)]*)\)", re.S)


def folder_of(path):
    """The layer folder a file or an included header belongs to, or None."""
    parts = pathlib.PurePosixPath(path).parts
    if len(parts) >= 2 and "/".join(parts[:2]) in LAYERS:
        return "/".join(parts[:2])
    return parts[0] if parts and parts[0] in LAYERS else None


def is_platform_file(relative):
    stem = pathlib.PurePosixPath(relative).stem
    return stem.endswith("Windows") or stem.endswith("Posix")


def unguarded_lines(text):
    """The lines outside every branch of a conditional on _WIN32."""
    branches = []  # for each open conditional: is this branch platform-specific?
    for line in text.splitlines():
        conditional = CONDITIONAL.match(line)
        if not conditional:
            if not any(branches):
                yield line
            continue
        word, rest = conditional.groups()
        if word in ("if", "ifdef", "ifndef"):
            branches.append(bool(ON_PLATFORM.match(rest)))
        elif word == "elif" and branches:
            branches[-1] = bool(ON_PLATFORM.match(rest))
        elif word == "endif" and branches:
            branches.pop()
        # "else" of a conditional on _WIN32 is the other platform's branch


PROJECT_ROOTS = {pathlib.PurePosixPath(folder).parts[0] for folder in LAYERS}
SKIPPED = ("build/", ".git/", "tests/layers/planted/")


def include_problems(relative, folder, text):
    allowed, portable, third_party = LAYERS[folder]
    reachable = set(allowed) | {folder}
    for form, header in INCLUDE.findall(text):
        parts = pathlib.PurePosixPath(header).parts
        if len(parts) > 1 and parts[0] in PROJECT_ROOTS:
            target = folder_of(header)
            if target not in reachable:
                yield f"{relative}: {folder}/ may not include {header}"
        elif form == '"':
            yield f'{relative}: includes "{header}" without its folder'
    if portable and not is_platform_file(relative):
        for line in unguarded_lines(text):
            match = INCLUDE.match(line)
            if match and match.group(1) == "<":
                header = match.group(2)
                if header not in STANDARD and header not in third_party and folder_of(header) is None:
                    yield f"{relative}: portable code includes the platform header <{header}>"


def sources(root):
    for path in sorted(root.rglob("*")):
        relative = path.relative_to(root).as_posix()
        if relative.startswith(SKIPPED) or "/node_modules/" in relative or not path.is_file():
            continue
        yield path, relative


def source_problems(root):
    strangers = set()
    for path, relative in sources(root):
        if path.suffix not in SOURCE_SUFFIXES and path.name != "CMakeLists.txt":
            continue
        folder = folder_of(relative)
        if folder is None:
            top = relative.split("/")[0] if "/" in relative else "."
            if top != "." and top not in strangers:
                strangers.add(top)
                yield f"{relative}: in a folder the layers do not know; give it its place in check-layers.py"
            continue
        if path.suffix in SOURCE_SUFFIXES:
            yield from include_problems(relative, folder, path.read_text(encoding="utf-8"))


def link_problems(root):
    """Every project target and its folder, then each link against the table."""
    targets, links = {}, []
    for path, relative in sources(root):
        if path.name != "CMakeLists.txt":
            continue
        folder = folder_of(relative)
        text = re.sub(r"#.*", "", path.read_text(encoding="utf-8"))
        for _, name in TARGET.findall(text):
            targets[name] = folder
        for name, libraries in LINKS.findall(text):
            links.append((relative, folder, name, libraries.split()))
    for relative, folder, name, libraries in links:
        if folder is None:
            continue
        allowed = set(LAYERS[folder][0]) | {folder}
        for library in libraries:
            if targets.get(library, folder) not in allowed:
                yield f"{relative}: {name} ({folder}/) may not link {library} ({targets[library]}/)"


def problems(root):
    yield from source_problems(root)
    yield from link_problems(root)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    found = list(problems(pathlib.Path(sys.argv[1])))
    for problem in found:
        print(problem)
    print(f"layers: {len(found)} problem(s)")
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
