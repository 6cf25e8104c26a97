// The note loader on any bytes a note file may hold: it must never touch
// memory outside its buffers, and what it loads must save and load back
// unchanged, in a month table and in the week table alike.
#include "store/NoteStore.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using almanac::NoteTable;

void Check(bool condition) {
    if (!condition) std::abort();
}

// The file a save writes for the table, written out here from its slots:
// header 100, then each present slot's index, length, colour and text.
std::string FileOf(const NoteTable& table) {
    std::string bytes;
    auto u16 = [&bytes](unsigned v) {
        bytes += char(v & 0xFF);
        bytes += char(v >> 8 & 0xFF);
    };
    u16(100);
    for (int i = 0; i <= table.MaxIndex(); ++i) {
        const auto& slot = table.Slot(i);
        if (!slot.IsPresent()) continue;
        u16(unsigned(i));
        u16(slot.Length());
        u16(slot.colour & 0xFFFF);
        u16(slot.colour >> 16);
        bytes += *slot.text;
    }
    return bytes;
}

bool SameSlots(const NoteTable& a, const NoteTable& b) {
    if (a.MaxIndex() != b.MaxIndex()) return false;
    for (int i = 0; i <= a.MaxIndex(); ++i) {
        const auto& x = a.Slot(i);
        const auto& y = b.Slot(i);
        if (x.text != y.text || (x.IsPresent() && x.colour != y.colour)) return false;
    }
    return true;
}

void LoadInto(int maxIndex, std::string_view bytes) {
    NoteTable table;
    table.Bind(maxIndex, "fuzz");
    const NoteTable::LoadState found = table.LoadBytes(bytes);
    Check(found == NoteTable::LoadState::Clean || found == NoteTable::LoadState::Damaged);
    Check(found == table.State());
    // A clean load loses nothing: saving gives the same bytes back, except
    // for a header other than 100, records out of order and empty records.
    std::string saved = FileOf(table);
    Check(saved.size() <= table.LargestFileSize());
    Check(saved.size() <= bytes.size() + 2);

    NoteTable reloaded;
    reloaded.Bind(maxIndex, "fuzz");
    Check(reloaded.LoadBytes(saved) == NoteTable::LoadState::Clean);
    Check(SameSlots(table, reloaded));
    Check(FileOf(reloaded) == saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LoadInto(NoteTable::MONTH_MAX_INDEX, bytes);
    LoadInto(NoteTable::WEEK_MAX_INDEX, bytes);
    return 0;
}
