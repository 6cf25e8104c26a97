#!/usr/bin/python3
"""The program's note files and memo, as another writer reads and writes them.

A note file: a 2-byte header (100), then per present slot, ascending: slot
(16 bits), text length n (16 bits), colour word (32 bits), n bytes of GB18030
text; little-endian. Writes go as a sync client delivers a file: a temporary
file beside it, renamed over it.

  note_file.py get FILE SLOT          the slot's text (UTF-8); exit 1 when empty
  note_file.py append FILE SLOT TEXT  adds TEXT on a new line of the slot
  note_file.py set FILE SLOT TEXT     the slot holds TEXT (colour kept)
  note_file.py write-text FILE TEXT   the file holds TEXT in GB18030 (a memo)
  note_file.py text FILE              a memo's text (UTF-8)
"""
import os
import struct
import sys


def read_slots(path):
    slots = {}
    try:
        data = open(path, "rb").read()
    except FileNotFoundError:
        return slots
    at = 2
    while at + 8 <= len(data):
        slot, length, colour = struct.unpack_from("<HHI", data, at)
        slots[slot] = (data[at + 8:at + 8 + length], colour)
        at += 8 + length
    return slots


def replace(path, data):
    incoming = path + ".~sync"
    with open(incoming, "wb") as out:
        out.write(data)
        out.flush()
        os.fsync(out.fileno())
    os.replace(incoming, path)


def write_slots(path, slots):
    data = struct.pack("<H", 100)
    for slot in sorted(slots):
        text, colour = slots[slot]
        data += struct.pack("<HHI", slot, len(text), colour) + text
    replace(path, data)


def main(argv):
    command, path = argv[1], argv[2]
    if command == "get":
        text = read_slots(path).get(int(argv[3]), (b"", 0))[0]
        sys.stdout.write(text.decode("gb18030"))
        return 0 if text else 1
    if command in ("append", "set"):
        slots = read_slots(path)
        slot, new = int(argv[3]), argv[4].encode("gb18030")
        old, colour = slots.get(slot, (b"", 0))
        slots[slot] = ((old + b"\r\n" + new) if (old and command == "append") else new, colour)
        write_slots(path, slots)
        return 0
    if command == "write-text":
        replace(path, argv[3].encode("gb18030"))
        return 0
    if command == "text":
        try:
            sys.stdout.write(open(path, "rb").read().decode("gb18030"))
        except FileNotFoundError:
            return 1
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
