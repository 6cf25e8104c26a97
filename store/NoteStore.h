// The user's notes as small record files, one file per month, per yearly
// month, per lunar month and one for the weekdays. A NoteTable holds one file
// in memory; every change rewrites the whole file at once (or deletes it
// when no note is left).
//
// File format, little-endian: a 2-byte header (written as 100, never read),
// then one record per present slot in ascending order: slot index (16 bits),
// text length n (16 bits), colour word (32 bits), n text bytes.
#pragma once

#include "store/NotesFolder.h"
#include "store/WholeFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace almanac {

// A colour word with this bit carries a user's colour in its low 24 bits
// (red in the low byte); without it the note takes its kind's colour.
inline constexpr std::uint32_t NOTE_CUSTOM_COLOUR = 0x01000000;

// The most text bytes a note can hold: the file's length field is 16 bits.
inline constexpr std::size_t NOTE_MAX_TEXT = 0xFFFF;

enum NoteKind { NOTE_ONE_OFF = 1, NOTE_GREGORIAN_YEARLY = 2, NOTE_LUNAR_YEARLY = 3, NOTE_WEEKLY = 4 };

// What became of a note operation that writes.
enum NoteResult {
    NOTE_OK = 0,
    NOTE_WRITE_FAILED = -1,    // the file could not be written or removed
    NOTE_TOO_LONG = -2,        // over NOTE_MAX_TEXT bytes: nothing changed
    NOTE_BAD_SLOT = -3,        // no such slot: nothing changed
    NOTE_FILE_UNREADABLE = -4  // the file exists but could not be read, so it is not overwritten
};

// Copies the file at path, as it is on disk, to "<path>.bad", else the first
// free "<path>.badN": never over an earlier copy, and a copy that already
// holds the same bytes (compared up to compareLimit bytes) serves, since a
// file is read again each time it is shown. NOTE_OK with the copy's path
// (empty when the file is gone: nothing to keep), or NOTE_WRITE_FAILED with
// the system's error.
NoteResult KeepCopyOfFile(const std::string& path, std::size_t compareLimit, std::string& copyPath, int& systemError);

// One note's text as this program changed it and as another writer changed
// it meanwhile, both kept: this program's first, then a line that says
// where the other came from, then the other without the beginning it shares
// with both base (the text both started from) and ours: so that a note
// added to on both sides again and again grows by what was added, not
// twice over, and every character of the other's text is still there.
// Ours alone when the other only took text away; nothing when both do not
// fit in one note.
std::optional<std::string> KeepBoth(std::string_view ours, std::string_view theirs, std::string_view base);
inline constexpr std::string_view NOTE_FROM_ELSEWHERE = "\r\n\r\n（同时另一处写下：）\r\n";

// The colour to draw a note in: the user's colour, or its kind's default.
std::uint32_t NoteColour(std::uint32_t colourWord, int kind);

struct NoteSlot {
    std::optional<std::string> text;  // present when it has a value, even an empty one
    std::uint32_t colour = 0;

    std::uint16_t Length() const { return text ? std::uint16_t(text->size()) : 0; }
    bool IsPresent() const { return text.has_value(); }
    // Marked in the grid and listed in the pop-up: a present, non-empty text.
    bool CarriesNote() const { return text && !text->empty(); }
    bool operator==(const NoteSlot& other) const {
        return text == other.text && (!text || colour == other.colour);
    }

    // Without NOTE_CUSTOM_COLOUR an empty text empties the slot; with it the
    // slot keeps an empty text and the colour. NOTE_TOO_LONG changes nothing.
    NoteResult SetText(std::string_view newText, std::uint32_t colourWord);
};

class NoteTable {
public:
    static constexpr int MONTH_MAX_INDEX = 31;
    static constexpr int WEEK_MAX_INDEX = 7;

    // Forgets every slot and binds the table to a file with slots 0 … maxIndex.
    void Bind(int maxIndex, std::string path);

    // What a load found: Clean (a missing file too: an empty table), Damaged
    // or Unreadable.
    enum class LoadState { Clean, Damaged, Unreadable };

    // Fills the slots from the file. A missing file is an empty table. A bad
    // record stops the load, keeping the records before it, and the file is
    // Damaged; a file larger than any note file loads like one cut at that
    // size and is Damaged; an unreadable file leaves every slot empty.
    // Either way the file is not overwritten blind: the next Save keeps a
    // copy of a damaged file beside it first, and refuses to replace one it
    // could not read. A file that names a slot twice, or holds a text that
    // begins with NUL, loads by the same rules (the later record wins, such
    // a text empties its slot) and is Damaged too: a save would drop what it
    // held.
    LoadState Load();
    // Load's work on bytes a file held.
    LoadState LoadBytes(std::string_view bytes);

    // What the last load found; a damaged file counts as Clean again once
    // a save has kept its original (DamagedCopyPath).
    LoadState State() const { return state_; }

    // Rewrites the file from the present slots, or deletes it when none is
    // left. On failure memory keeps the new text.
    //
    // Another writer (a sync service, a second PC) may have changed the file
    // since this table read or wrote it: then the file is read again first
    // and the slots merge, one by one. A slot this table did not change takes
    // the file's; a slot only this table changed keeps its own; a slot both
    // changed keeps both texts, this table's first (KeepBoth; when both do
    // not fit, the other writer's file is kept whole beside it, as a damaged
    // file's original is), and is listed in ConflictedSlots. Nothing another
    // writer wrote is written over unseen: the file is compared with what
    // was merged once the new bytes are on disk, just before they replace
    // it, and read and merged again when it changed meanwhile (all another
    // writer has is the moment between that comparison and the rename).
    NoteResult Save();
    NoteResult SetAndSave(int index, std::string_view text, std::uint32_t colourWord);

    // A month file of the notes folder (NotesFolder::MonthFile): year and
    // month, year 1 for Gregorian-yearly, year 0 for lunar-yearly notes.
    LoadState LoadMonth(const NotesFolder& folder, int year, int month);
    // The week file: the weekday reminders, slots 0 (Sunday) … 6 and a spare 7.
    LoadState LoadWeek(const NotesFolder& folder);

    // Slot index, or an empty slot for an index the table does not have.
    const NoteSlot& Slot(int index) const;
    // Bound to the same file, with the same notes in every slot.
    bool HoldsSameNotes(const NoteTable& other) const { return path_ == other.path_ && slots_ == other.slots_; }
    int MaxIndex() const { return int(slots_.size()) - 1; }
    const std::string& Path() const { return path_; }

    // The operating system's error code of the last failed file operation.
    int LastSystemError() const { return lastSystemError_; }
    // Where the damaged file's original bytes were kept, once they were.
    const std::string& DamagedCopyPath() const { return damagedCopyPath_; }
    // Keeps a damaged file's original beside it now ("<file>.bad", or the
    // first free "<file>.badN"; see KeepCopyOfFile), as the next Save
    // otherwise does before it replaces the file; the state is Clean
    // afterwards. NOTE_OK (also when the file is not damaged) or
    // NOTE_WRITE_FAILED.
    NoteResult KeepDamagedCopy();
    // How the last Load found the file, whatever was done since (State()
    // turns Clean once a damaged file's original is kept).
    LoadState FoundState() const { return found_; }
    // Before the next save replaces the file, its present bytes are kept
    // beside it as a damaged file's are: for a note that cannot be shown as
    // stored (bytes that are not valid text) and that the user changes.
    void KeepOriginalOnNextSave();

    // No note file with this many slots is longer: every slot present with
    // the longest text.
    std::size_t LargestFileSize() const;

    // The slots whose text both this table and another writer changed, as
    // the last save found them (both texts kept in the slot).
    const std::vector<int>& ConflictedSlots() const { return conflicted_; }

private:
    // Empties every slot; the binding stays.
    void Clear();
    // The file's bytes for the present slots, header first.
    std::string Serialise() const;
    void ReadAndLoad();

    // Takes what another writer wrote into the file since it was last seen.
    NoteResult MergeWithFile(const FileContents& file);

    std::vector<NoteSlot> slots_;
    // The slots and the file's bytes as last read from or written to the
    // file (no bytes: there was no file).
    std::vector<NoteSlot> seen_;
    std::optional<std::string> seenBytes_;
    std::vector<int> conflicted_;
    std::string path_;
    LoadState state_ = LoadState::Clean;
    LoadState found_ = LoadState::Clean;
    std::string damagedCopyPath_;
    int lastSystemError_ = 0;
};

}  // namespace almanac
