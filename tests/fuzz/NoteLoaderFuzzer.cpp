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
    int result = table.LoadBytes(bytes);
    Check(result == 0 || result == -1);
    Check(result == 0 || table.State() == NoteTable::LoadState::Damaged);
    // A clean load loses nothing: saving gives the same bytes back, except
    // for a header other than 100, records out of order and empty records.
    std::string saved = table.Serialise();
    Check(saved.size() <= table.LargestFileSize());
    Check(saved.size() <= bytes.size() + 2);

    NoteTable reloaded;
    reloaded.Bind(maxIndex, "fuzz");
    Check(reloaded.LoadBytes(saved) == 0);
    Check(reloaded.State() == NoteTable::LoadState::Clean);
    Check(SameSlots(table, reloaded));
    Check(reloaded.Serialise() == saved);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LoadInto(NoteTable::MONTH_MAX_INDEX, bytes);
    LoadInto(NoteTable::WEEK_MAX_INDEX, bytes);
    return 0;
}
