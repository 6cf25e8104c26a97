#include "store/TemporaryFiles.h"

#include <gtest/gtest.h>

namespace almanac {
namespace {

// This computer is "1234abcd", this process 50; process 100 runs here.
const LeftoverCheck kHere{"1234abcd", 50, [](unsigned long pid) { return pid == 100; }};
constexpr long long kFresh = 60, kOld = 2 * 24 * 60 * 60;

struct LeftoverCase {
    const char* name;
    long long age;
    bool removable;
};

TEST(TemporaryFilesTest, OnlyFinishedOrOldLeftoversGo) {
    const LeftoverCase cases[] = {
        // This computer's: of an ended process, of a running one, of this one.
        {"202612.new.1234abcd.77.3", kFresh, true},
        {"202612.new.1234abcd.100.3", kFresh, false},
        {"202612.new.1234abcd.50.3", kFresh, false},
        {"202612.new.1234abcd.100.3", kOld, true},
        // Another computer's: its process ids mean nothing here.
        {"202612.new.9876fedc.77.3", kFresh, false},
        {"202612.new.9876fedc.77.3", -kOld, false},  // its clock is ahead
        {"202612.new.9876fedc.77.3", kOld, true},
        // Earlier versions' names tell no computer.
        {"202612.new", kFresh, false},
        {"202612.new.77.3", kFresh, false},
        {"202612.new", kOld, true},
        {"202612.new.77.3", kOld, true},
        // A sync service's copies and other names, however old.
        {"202612", kOld, false},
        {"202612 (1)", kOld, false},
        {"202612-办公室电脑", kOld, false},
        {"202612.conflict", kOld, false},
        {"202612.new (1)", kOld, false},
        {"202612.new.1234abcd.77.3 (1)", kOld, false},
        {"202612.new.1234abcd.77.3.sync-conflict", kOld, false},
        {"202612.new.1234ABCD.77.3", kOld, false},
        {"202612.new.1234abcd.77.", kOld, false},
        {"202612.new.77.3.", kOld, false},
        {"202612.new.0.3", kOld, false},
        {"202612.newer", kOld, false},
        {"2026120.new.77.3", kOld, false},
    };
    for (const LeftoverCase& c : cases)
        EXPECT_EQ(IsRemovableLeftover(c.name, "202612", c.age, kHere), c.removable) << c.name << " aged " << c.age;
}

TEST(TemporaryFilesTest, TheNameTellsComputerAndProcess) {
    // FNV-1a of "" and of "a" (the algorithm's published test values).
    EXPECT_EQ(ComputerIdOf(""), "811c9dc5");
    EXPECT_EQ(ComputerIdOf("a"), "e40c292c");
    const std::string name = TemporaryFileName("default", ComputerIdOf("OFFICE-PC"), 4242, 7);
    EXPECT_EQ(name, "default.new." + ComputerIdOf("OFFICE-PC") + ".4242.7");
    EXPECT_EQ(ThisComputerId().size(), 8u);
    EXPECT_EQ(ThisComputerId(), ThisComputerId());
}

}  // namespace
}  // namespace almanac
