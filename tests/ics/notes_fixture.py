"""A notes folder for the export's tests, written as the calendar writes it.

Every note file is a 2-byte header (100) and records of slot index, text
length, colour word and GB18030 text, little-endian. The folder holding the
notes is named 日历; natively its name is GB18030 bytes (as the store names
it), under Wine the host's UTF-8.
"""
import os
import struct

NOTES_SUBFOLDER = "日历"

# Notes whose texts try the escaping, the folding and the summary rules.
SPECIAL_TEXTS = {
    "escapes": "春节, 回家;吃饺子\\带反斜杠",
    "lines": "  第一行\r\n第二行\r\n\r\n第三行",
    "long": "长" * 40 + " ascii " + "长" * 30,
}


def note_file(records):
    data = struct.pack("<H", 100)
    for slot, text, colour in records:
        raw = text if isinstance(text, bytes) else text.encode("gb18030")
        data += struct.pack("<HHI", slot, len(raw), colour) + raw
    return data


def notes_folder_path(folder, host_names):
    """The 日历 folder's path, named as the platform under test names it."""
    name = NOTES_SUBFOLDER.encode("utf-8" if host_names == "utf8" else "gb18030")
    return os.path.join(os.fsencode(folder), name)


def write_files(folder, files, host_names="gb18030"):
    notes = notes_folder_path(folder, host_names)
    os.makedirs(notes, exist_ok=True)
    for name, data in files.items():
        path = os.path.join(notes, name.encode())
        if data is None:
            os.makedirs(path, exist_ok=True)  # a folder where a note file would be: unreadable
            continue
        with open(path, "wb") as f:
            f.write(data)


def full_folder_files():
    """Every lunar day of every lunar month, and the other kinds at their edges.

    Each note's first line is its key, so an expansion tells which note
    each day belongs to: L<month>-<day>, G<month>-<day>, O<yyyymmdd>, W<weekday>.
    """
    files = {}
    for month in range(1, 13):
        files["0%02d" % month] = note_file([(day, "L%d-%d" % (month, day), 0) for day in range(1, 31)])
    files["101"] = note_file([(1, "G1-1", 0x010000FF)])
    # 2-29 only in leap years; 2-30 and 4-31 are never shown.
    files["102"] = note_file([(28, "G2-28", 0), (29, "G2-29", 0), (30, "G2-30", 0)])
    files["104"] = note_file([(31, "G4-31", 0)])
    files["112"] = note_file([(31, "G12-31", 0)])
    files["202402"] = note_file([(10, "O20240210\r\n" + SPECIAL_TEXTS["escapes"], 0)])
    files["199912"] = note_file([(31, "O19991231\r\n" + SPECIAL_TEXTS["lines"], 0)])
    files["203506"] = note_file([(30, "O20350630\r\n" + SPECIAL_TEXTS["long"], 0x01123456), (31, "O20350631", 0)])
    # Slot 7 of the week file is no weekday.
    files["week"] = note_file([(0, "W0", 0), (3, "W3", 0), (7, "W7", 0)])
    return files


def write_full_folder(folder, host_names="gb18030"):
    write_files(folder, full_folder_files(), host_names)


def small_folder_files():
    """A few notes of each kind, for an output compared byte by byte."""
    return {
        "202402": note_file([(10, SPECIAL_TEXTS["escapes"] + "\r\n第二行", 0), (11, "", 0x01000000)]),
        "203506": note_file([(30, SPECIAL_TEXTS["long"], 0x01123456)]),
        "102": note_file([(29, "闰日", 0)]),
        "101": note_file([(1, "元旦", 0x010000FF)]),
        # 2025 has a leap sixth month; 2026's twelfth month has 29 days.
        "006": note_file([(15, "六月十五", 0)]),
        "012": note_file([(30, "年三十", 0)]),
        "week": note_file([(1, "周一例会", 0)]),
    }


def problem_folder_files():
    """Next to a good file: a damaged one (its record cut off), one that
    cannot be read (a folder), and a note whose bytes form no GB18030
    character."""
    return {
        "101": note_file([(1, "元旦", 0)]),
        "003": note_file([(3, "三月初三", 0)])[:-2],
        "104": note_file([(5, b"\x81\x20bad", 0)]),
        "005": None,
    }


FOLDERS = {"full": full_folder_files, "small": small_folder_files, "problems": problem_folder_files}

if __name__ == "__main__":
    # notes_fixture.py FOLDER full|small|problems|plain [gb18030|utf8]
    # (plain: a folder without 日历)
    import sys
    if sys.argv[2] == "plain":
        os.makedirs(sys.argv[1], exist_ok=True)
    else:
        write_files(sys.argv[1], FOLDERS[sys.argv[2]](), sys.argv[3] if len(sys.argv) > 3 else "gb18030")
