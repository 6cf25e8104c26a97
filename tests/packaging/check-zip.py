"""The portable zip: one folder named like the package, holding the program
as built and a read-me that Notepad shows in Chinese in every Windows
language; the program carries the project's version in its version resource
and its manifest.

    check-zip.py ZIP FOLDER ALMANAC_EXE VERSION VERSION_QUAD
"""
import re
import struct
import sys
import zipfile

FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)


def fail(message):
    sys.exit(f"FAIL: {message}")


def fixed_versions(exe):
    """The file and product versions of VS_FIXEDFILEINFO, as a.b.c.d texts."""
    at = exe.find(FIXED_FILE_INFO_SIGNATURE)
    if at < 0:
        fail("the program has no version resource")
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<4I", exe, at + 8)
    text = lambda ms, ls: f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    return text(file_ms, file_ls), text(product_ms, product_ls)


def version_string(exe, name):
    """A value of the version resource's string table (UTF-16, NUL-padded)."""
    key = (name + "\0").encode("utf-16-le")
    at = exe.find(key)
    if at < 0:
        fail(f"the version resource has no {name}")
    at += len(key)
    while exe[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while exe[end:end + 2] != b"\0\0":
        end += 2
    return exe[at:end].decode("utf-16-le")


def main(zip_path, folder, exe_path, version, quad):
    with zipfile.ZipFile(zip_path) as archive:
        files = sorted(name for name in archive.namelist() if not name.endswith("/"))
        expected = [f"{folder}/README.txt", f"{folder}/almanac.exe"]
        if files != expected:
            fail(f"the zip holds {files}, expected {expected}")
        exe = archive.read(f"{folder}/almanac.exe")
        readme = archive.read(f"{folder}/README.txt")

    with open(exe_path, "rb") as built:
        if exe != built.read():
            fail("the zip's almanac.exe is not the one built")

    if not readme.startswith(b"\xef\xbb\xbf"):
        fail("the read-me has no UTF-8 byte-order mark")
    if readme.count(b"\n") < 10 or readme.count(b"\n") != readme.count(b"\r\n"):
        fail("the read-me's lines do not all end in CR LF")
    text = readme[3:].decode("utf-8")
    for needed in (f"Kelvadar 农历桌面日历 {version}", "我的记事", "“×”", "结束程序", "卸载",
                   "HKEY_CURRENT_USER\\SOFTWARE\\Orvane\\Kelvadar"):
        if needed not in text:
            fail(f"the read-me does not say '{needed}'")

    for name, found in zip(("file", "product"), fixed_versions(exe)):
        if found != quad:
            fail(f"the {name} version is {found}, expected {quad}")
    for name in ("FileVersion", "ProductVersion"):
        found = version_string(exe, name)
        if found != version:
            fail(f"{name} is '{found}', expected '{version}'")
    manifest = re.search(rb'name="Orvane\.Kelvadar\.Almanac" version="([^"]*)"', exe)
    if not manifest or manifest.group(1).decode() != quad:
        fail(f"the manifest's version is {manifest and manifest.group(1)}, expected {quad}")
    print("packaging.zip: passed")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
