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
  note_file.py write-randomly FOLDER SECONDS LOG
                                      for SECONDS, every 0.5 to 2.5 s, adds a new
                                      word ("w0001", ...) to a day of this month,
                                      a weekday or the memo of the notes folder,
                                      as a careful sync client would (the file is
                                      replaced only if it did not change since it
                                      was read); each word goes to LOG
  note_file.py find-words FOLDER LOG  which words of LOG are somewhere in the
                                      files of FOLDER (notes, memo, kept copies)
"""
import os
import random
import struct
import sys
import time


def read_bytes(path):
    try:
        return open(path, "rb").read()
    except FileNotFoundError:
        return None


def parse_slots(data):
    slots = {}
    at = 2
    while data and at + 8 <= len(data):
        slot, length, colour = struct.unpack_from("<HHI", data, at)
        slots[slot] = (data[at + 8:at + 8 + length], colour)
        at += 8 + length
    return slots


def serialise(slots):
    data = struct.pack("<H", 100)
    for slot in sorted(slots):
        text, colour = slots[slot]
        data += struct.pack("<HHI", slot, len(text), colour) + text
    return data


UNCHECKED = object()


def replace(path, data, only_over=UNCHECKED):
    """Writes data to a temporary file beside path and renames it over path;
    with only_over (bytes, or None for no file), only while path still holds
    that. False when it did not."""
    incoming = path + ".~sync"
    with open(incoming, "wb") as out:
        out.write(data)
        out.flush()
        os.fsync(out.fileno())
    if only_over is not UNCHECKED and read_bytes(path) != only_over:
        os.remove(incoming)
        return False
    os.replace(incoming, path)
    return True


def read_slots(path):
    return parse_slots(read_bytes(path))


def write_slots(path, slots):
    replace(path, serialise(slots))


def added(text, word):
    return (text + b" " + word) if text else word


def with_word(before, kind, slot, word):
    """A file's bytes with word added to the memo or to a slot."""
    if kind == "memo":
        return added(before or b"", word)
    slots = parse_slots(before)
    old, colour = slots.get(slot, (b"", 0))
    slots[slot] = (added(old, word), colour)
    return serialise(slots)


def write_randomly(folder, seconds, log_path):
    month = time.strftime("%Y%m")
    end = time.time() + seconds
    count = retries = 0
    with open(log_path, "a") as log:
        while time.time() < end:
            time.sleep(random.uniform(0.5, 2.5))
            count += 1
            word = "w%04d" % count
            kind = random.choices(["day", "week", "memo"], weights=[5, 2, 3])[0]
            if kind == "day":
                path, slot = os.path.join(folder, "日历", month), random.randint(1, 28)
            elif kind == "week":
                path, slot = os.path.join(folder, "日历", "week"), random.randint(0, 6)
            else:
                path, slot = os.path.join(folder, "备忘", "default"), 0
            while True:
                before = read_bytes(path)
                if replace(path, with_word(before, kind, slot, word.encode()), only_over=before):
                    break
                retries += 1  # changed meanwhile: read it again
            log.write("%s %s %d\n" % (word, kind, slot))
            log.flush()
    print("writer: %d words, %d reads again" % (count, retries))


def find_words(folder, log_path):
    everything = b""
    for place, _, names in os.walk(folder):
        for name in names:
            everything += read_bytes(os.path.join(place, name)) or b""
    entries = [line.split(None, 1) for line in open(log_path) if line.strip()]
    lost = [entry for entry in entries if entry[0].encode() not in everything]
    print("edits made: %d, texts found: %d, texts lost: %d" % (len(entries), len(entries) - len(lost), len(lost)))
    for word, where in lost:
        print("lost: %s (%s)" % (word, where.strip()))
    return 1 if lost else 0


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
        data = read_bytes(path)
        if data is None:
            return 1
        sys.stdout.write(data.decode("gb18030"))
        return 0
    if command == "write-randomly":
        write_randomly(path, float(argv[3]), argv[4])
        return 0
    if command == "find-words":
        return find_words(path, argv[3])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
