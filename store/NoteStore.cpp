#include "store/NoteStore.h"

#include "store/WholeFile.h"

#include <algorithm>
#include <cstdio>

namespace almanac {
namespace {

constexpr std::uint16_t kFileHeader = 100;
constexpr std::size_t kHeaderSize = 2;
constexpr std::size_t kRecordHeaderSize = 8;

// Default colours by kind, as Windows colour references (red in the low byte).
constexpr std::uint32_t kOneOffColour = 0x00FACE87;           // (135, 206, 250)
constexpr std::uint32_t kGregorianYearlyColour = 0x000000FF;  // (255, 0, 0)
constexpr std::uint32_t kLunarYearlyColour = 0x00FF0080;      // (128, 0, 255)
constexpr std::uint32_t kWeeklyColour = 0x000000FF;           // (255, 0, 0)
constexpr std::uint32_t kOtherColour = 0x00FF0000;            // (0, 0, 255)

// The copies of damaged files are named "<file>.bad", "<file>.bad2" … so an
// earlier copy is never overwritten.
constexpr int kMaxDamagedCopies = 99;

// A save that finds the file changed again between its read and its write
// reads and merges again, this many times at most.
constexpr int kMergeAttempts = 5;

std::uint16_t ReadU16(std::string_view bytes, std::size_t at) {
    return std::uint16_t(std::uint8_t(bytes[at]) | std::uint8_t(bytes[at + 1]) << 8);
}

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
    return std::uint32_t(ReadU16(bytes, at)) | std::uint32_t(ReadU16(bytes, at + 2)) << 16;
}

void AppendU16(std::string& bytes, std::uint16_t value) {
    bytes += char(value & 0xFF);
    bytes += char(value >> 8);
}

void AppendU32(std::string& bytes, std::uint32_t value) {
    AppendU16(bytes, std::uint16_t(value & 0xFFFF));
    AppendU16(bytes, std::uint16_t(value >> 16));
}

const NoteSlot kEmptySlot;

}  // namespace

std::uint32_t NoteColour(std::uint32_t colourWord, int kind) {
    if (colourWord & NOTE_CUSTOM_COLOUR) return colourWord & 0x00FFFFFF;
    switch (kind) {
        case NOTE_ONE_OFF: return kOneOffColour;
        case NOTE_GREGORIAN_YEARLY: return kGregorianYearlyColour;
        case NOTE_LUNAR_YEARLY: return kLunarYearlyColour;
        case NOTE_WEEKLY: return kWeeklyColour;
        default: return kOtherColour;
    }
}

NoteResult NoteSlot::SetText(std::string_view newText, std::uint32_t colourWord) {
    if (newText.size() > NOTE_MAX_TEXT) return NOTE_TOO_LONG;
    text.reset();
    // An empty note is kept only for the colour the user chose for it.
    bool empty = newText.empty() || newText[0] == '\0';
    if (empty && !(colourWord & NOTE_CUSTOM_COLOUR)) return NOTE_OK;
    text.emplace(newText);
    colour = colourWord;
    return NOTE_OK;
}

void NoteTable::Bind(int maxIndex, std::string path) {
    slots_.assign(std::size_t(maxIndex + 1), NoteSlot{});
    seen_ = slots_;
    seenBytes_.reset();
    conflicted_.clear();
    path_ = std::move(path);
    state_ = found_ = LoadState::Clean;
    damagedCopyPath_.clear();
}

void NoteTable::Clear() {
    for (NoteSlot& slot : slots_) slot = NoteSlot{};
}

NoteTable::LoadState NoteTable::Load() {
    ReadAndLoad();
    found_ = state_;
    return state_;
}

void NoteTable::ReadAndLoad() {
    Clear();
    state_ = LoadState::Clean;
    seenBytes_.reset();
    FileContents file = ReadWholeFile(path_, LargestFileSize());
    switch (file.status) {
        case FileContents::Status::Missing: break;
        case FileContents::Status::Unreadable:
            state_ = LoadState::Unreadable;
            lastSystemError_ = file.systemError;
            break;
        case FileContents::Status::TooLarge:
            LoadBytes(file.bytes);
            state_ = LoadState::Damaged;
            seenBytes_ = std::move(file.bytes);
            break;
        case FileContents::Status::Read:
            LoadBytes(file.bytes);
            seenBytes_ = std::move(file.bytes);
            break;
    }
    seen_ = slots_;
}

NoteTable::LoadState NoteTable::LoadBytes(std::string_view bytes) {
    Clear();
    state_ = LoadState::Clean;
    std::vector<bool> named(slots_.size(), false);
    for (std::size_t at = kHeaderSize; at < bytes.size();) {
        bool fits = at + kRecordHeaderSize <= bytes.size();
        int index = fits ? std::int16_t(ReadU16(bytes, at)) : -1;
        std::size_t length = fits ? ReadU16(bytes, at + 2) : 0;
        if (!fits || index < 0 || index > MaxIndex() || at + kRecordHeaderSize + length > bytes.size()) {
            state_ = LoadState::Damaged;
            return state_;
        }
        std::string_view text = bytes.substr(at + kRecordHeaderSize, length);
        std::uint32_t colour = ReadU32(bytes, at + 4);
        NoteSlot& slot = slots_[std::size_t(index)];
        slot.SetText(text, colour);
        // What a save would not write back: the earlier record of a slot
        // named twice, and a text that SetText dropped for its leading NUL.
        if (named[std::size_t(index)] || (!text.empty() && !slot.IsPresent())) state_ = LoadState::Damaged;
        named[std::size_t(index)] = true;
        at += kRecordHeaderSize + length;
    }
    return state_;
}

std::string NoteTable::Serialise() const {
    std::string bytes;
    AppendU16(bytes, kFileHeader);
    for (std::size_t index = 0; index < slots_.size(); ++index) {
        const NoteSlot& slot = slots_[index];
        if (!slot.IsPresent()) continue;
        AppendU16(bytes, std::uint16_t(index));
        AppendU16(bytes, slot.Length());
        AppendU32(bytes, slot.colour);
        bytes += *slot.text;
    }
    return bytes;
}

std::size_t NoteTable::LargestFileSize() const {
    return kHeaderSize + slots_.size() * (kRecordHeaderSize + NOTE_MAX_TEXT);
}

namespace {

// Both files hold the same bytes, as far as limit bytes tell.
bool SameContents(const std::string& path, const std::string& other, std::size_t limit) {
    FileContents a = ReadWholeFile(path, limit), b = ReadWholeFile(other, limit);
    bool readable = a.status == FileContents::Status::Read || a.status == FileContents::Status::TooLarge;
    return readable && a.status == b.status && a.bytes == b.bytes;
}

}  // namespace

// Copies the file as it is on disk (however large: a table holds only part
// of a file too large for it) to the first free copy name.
NoteResult KeepCopyOfFile(const std::string& path, std::size_t compareLimit, std::string& copyPath, int& systemError) {
    for (int n = 1; n <= kMaxDamagedCopies; ++n) {
        std::string copy = path + ".bad" + (n == 1 ? "" : std::to_string(n));
        const FileResult result = CopyToNewFile(path, copy, &systemError);
        if (result == FileResult::NameTaken && !SameContents(path, copy, compareLimit)) continue;  // keep it too
        if (result == FileResult::Failed) return NOTE_WRITE_FAILED;
        copyPath = result == FileResult::NoSource ? std::string() : copy;  // gone: there is nothing to keep
        return NOTE_OK;
    }
    return NOTE_WRITE_FAILED;
}

NoteResult NoteTable::KeepDamagedCopy() {
    if (state_ != LoadState::Damaged) return NOTE_OK;
    std::string copy;
    if (KeepCopyOfFile(path_, LargestFileSize() + 1, copy, lastSystemError_) != NOTE_OK) return NOTE_WRITE_FAILED;
    if (!copy.empty()) damagedCopyPath_ = copy;
    state_ = LoadState::Clean;
    return NOTE_OK;
}

void NoteTable::KeepOriginalOnNextSave() {
    if (state_ == LoadState::Clean) state_ = LoadState::Damaged;
}

NoteResult NoteTable::Save() {
    if (state_ == LoadState::Unreadable) return NOTE_FILE_UNREADABLE;
    conflicted_.clear();
    for (int attempt = 1;; ++attempt) {
        FileContents file = ReadWholeFile(path_, LargestFileSize());
        if (file.status == FileContents::Status::Unreadable) {  // held, or something else now stands there
            lastSystemError_ = file.systemError;
            return NOTE_WRITE_FAILED;
        }
        const bool present = file.status != FileContents::Status::Missing;
        if (present != seenBytes_.has_value() || (present && file.bytes != *seenBytes_)) {
            if (NoteResult merged = MergeWithFile(file); merged != NOTE_OK) return merged;
        }
        if (state_ == LoadState::Damaged && KeepDamagedCopy() != NOTE_OK) return NOTE_WRITE_FAILED;

        // Only the version just read is replaced: another writer who comes
        // between is merged in the same way. A file too large for a note
        // file was kept whole beside it and is replaced as it is.
        const FileVersion* replacing = file.status == FileContents::Status::TooLarge ? nullptr : &seenBytes_;
        std::string bytes = Serialise();
        const bool removing = bytes.size() == kHeaderSize;
        const FileResult result = removing ? RemoveFile(path_, &lastSystemError_, replacing)
                                           : WriteWholeFile(path_, bytes, &lastSystemError_, replacing);
        if (result == FileResult::Changed && attempt < kMergeAttempts) continue;
        if (result != FileResult::Done) return NOTE_WRITE_FAILED;
        seen_ = slots_;
        seenBytes_ = removing ? std::nullopt : std::optional<std::string>(std::move(bytes));
        return NOTE_OK;
    }
}

// The file as another writer left it is damaged or too large: it is kept
// whole beside the file (as a damaged file read here would be) before it
// is replaced.
NoteResult NoteTable::MergeWithFile(const FileContents& file) {
    NoteTable theirs;
    theirs.Bind(MaxIndex(), path_);
    if (file.status != FileContents::Status::Missing) theirs.LoadBytes(file.bytes);
    if (file.status == FileContents::Status::TooLarge) theirs.state_ = LoadState::Damaged;
    if (theirs.state_ == LoadState::Damaged) state_ = LoadState::Damaged;
    for (std::size_t index = 0; index < slots_.size(); ++index) {
        NoteSlot& ours = slots_[index];
        const NoteSlot& seen = seen_[index];
        const NoteSlot& other = theirs.slots_[index];
        if (ours == seen) {
            ours = other;  // not changed here: the file's, whatever it is
        } else if (other != seen && other != ours && other.CarriesNote()) {
            const std::string mine = ours.text.value_or("");
            std::optional<std::string> both = KeepBoth(mine, *other.text, seen.text.value_or(""));
            if (both && *both == mine) continue;  // the other only took text away
            conflicted_.push_back(int(index));
            if (both)
                ours.text = std::move(both);
            else
                state_ = LoadState::Damaged;  // too long for one note: their file is kept whole beside it
        }
    }
    seen_ = theirs.slots_;
    seenBytes_ = file.status == FileContents::Status::Missing ? std::nullopt : std::optional<std::string>(file.bytes);
    return NOTE_OK;
}

namespace {

// The bytes of the GB18030 character that begins at bytes[at]: one for
// ASCII, four when the second byte is a digit, else two.
std::size_t CharacterLength(std::string_view bytes, std::size_t at) {
    if (std::uint8_t(bytes[at]) < 0x80) return 1;
    if (at + 1 < bytes.size() && bytes[at + 1] >= '0' && bytes[at + 1] <= '9') return 4;
    return 2;
}

// How many bytes at the start of both texts are the same whole characters.
std::size_t SharedBeginning(std::string_view a, std::string_view b) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size()) {
        const std::size_t length = CharacterLength(a, at);
        if (a.substr(at, length) != b.substr(at, length)) break;
        at += length;
    }
    return at;
}

}  // namespace

std::optional<std::string> KeepBoth(std::string_view ours, std::string_view theirs, std::string_view base) {
    // What ours still begins with, as base did, need not be said twice.
    const std::string_view added = theirs.substr(std::min(SharedBeginning(base, theirs), SharedBeginning(ours, theirs)));
    if (added.empty()) return std::string(ours);
    std::string both = std::string(ours) + std::string(NOTE_FROM_ELSEWHERE) + std::string(added);
    if (both.size() > NOTE_MAX_TEXT) return std::nullopt;
    return both;
}

NoteResult NoteTable::SetAndSave(int index, std::string_view text, std::uint32_t colourWord) {
    if (index < 0 || index > MaxIndex()) return NOTE_BAD_SLOT;
    const NoteResult result = slots_[std::size_t(index)].SetText(text, colourWord);
    return result == NOTE_OK ? Save() : result;
}

NoteTable::LoadState NoteTable::LoadMonth(const NotesFolder& folder, int year, int month) {
    Bind(MONTH_MAX_INDEX, folder.MonthFile(year, month));
    return Load();
}

NoteTable::LoadState NoteTable::LoadWeek(const NotesFolder& folder) {
    Bind(WEEK_MAX_INDEX, folder.WeekFile());
    return Load();
}

const NoteSlot& NoteTable::Slot(int index) const {
    if (index < 0 || index > MaxIndex()) return kEmptySlot;
    return slots_[std::size_t(index)];
}

}  // namespace almanac
