#include "display/MonthView.h"

#include "base/Text.h"
#include "tests/display/TestWindows.h"
#include "testkit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <string>
#include <vector>

namespace almanac {
namespace {

using testing::HostWindow;
using testing::NoteFileBytes;
using testing::ScratchFolder;

VARIANT Child(long id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

// The focus events of this thread's windows, as a screen reader hears them.
struct FocusEvent {
    HWND window;
    LONG object, child;
    bool operator==(const FocusEvent&) const = default;
};
std::vector<FocusEvent> heardEvents;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    // The system tells of the window itself taking the focus; the grid of its days.
    if (event == EVENT_OBJECT_FOCUS && child != CHILDID_SELF) heardEvents.push_back({window, object, child});
}

// February 2024 in a grid in a window of its own, read through the system
// as a screen reader reads it: AccessibleObjectFromWindow.
class AccessibleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        ScratchFolder::MakeNoteFolders();
        ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{14, "one-off"}}));
        ScratchFolder::WriteBytes("日历\\week", NoteFileBytes({{3, "Wednesday"}}));
        ASSERT_TRUE(view.Create({0, 0, MonthView::WIDTH, MonthView::HEIGHT}, host, 107, win::DpiScale()));
        view.ShowMonth(2024, 2, 16);
        ASSERT_EQ(AccessibleObjectFromWindow(view, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&grid)),
                  S_OK);
    }
    void TearDown() override {
        if (grid) grid->Release();
        CoUninitialize();
    }
    std::string Name(long id) {
        BSTR name = nullptr;
        EXPECT_EQ(grid->get_accName(Child(id), &name), S_OK);
        std::string text = name ? text::Narrow(std::wstring(name, SysStringLen(name))) : "";
        SysFreeString(name);
        return text;
    }
    long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), long id) {
        VARIANT value;
        VariantInit(&value);
        EXPECT_EQ((grid->*get)(Child(id), &value), S_OK);
        EXPECT_EQ(value.vt, VT_I4);
        return value.lVal;
    }

    ScratchFolder scratch;
    HostWindow host{MonthView::WIDTH, MonthView::HEIGHT};
    MonthView view{nullptr, scratch.Notes()};
    IAccessible* grid = nullptr;
};

// Names from the published calendar of 2024: 春节 on 10 February, 立春 on
// the 4th (a Sunday made a working day), the 14th a 戊申 day.
TEST_F(AccessibleTest, TheDaysAreNamedCells) {
    long count = 0;
    ASSERT_EQ(grid->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 29);
    EXPECT_EQ(Number(&IAccessible::get_accRole, CHILDID_SELF), ROLE_SYSTEM_TABLE);
    EXPECT_EQ(Name(CHILDID_SELF), "2024年2月 月历");
    const struct {
        long day;
        const char* name;
    } days[] = {
        {14, "2月14日 星期三 农历正月初五 戊申日 休息日 有2条记事"},  // in 春节's days off; a one-off note and Wednesday's
        {4, "2月4日 星期日 农历十二月廿五 戊戌日 立春 上班日"},
        {10, "2月10日 星期六 农历正月初一 甲辰日 春节 休息日"},
        {7, "2月7日 星期三 农历十二月廿八 辛丑日 有1条记事"},
    };
    for (const auto& day : days) {
        EXPECT_EQ(Name(day.day), day.name);
        EXPECT_EQ(Number(&IAccessible::get_accRole, day.day), ROLE_SYSTEM_CELL) << day.day;
    }
    IDispatch* child = nullptr;
    EXPECT_EQ(grid->get_accChild(Child(14), &child), S_FALSE);  // a simple element
    EXPECT_EQ(grid->get_accChild(Child(30), &child), E_INVALIDARG);

    // The cell's place on the screen, and the day found there.
    long left, top, width, height;
    ASSERT_EQ(grid->accLocation(&left, &top, &width, &height, Child(14)), S_OK);
    const RECT cell = view.CellOfDay(14);
    POINT corner = {cell.left, cell.top};
    ClientToScreen(view, &corner);
    EXPECT_EQ(left, corner.x);
    EXPECT_EQ(top, corner.y);
    EXPECT_EQ(width, cell.right - cell.left);
    VARIANT hit;
    ASSERT_EQ(grid->accHitTest(left + 5, top + 5, &hit), S_OK);
    EXPECT_EQ(hit.lVal, 14);
}

// The focused day is marked focused while the grid has the keyboard, and
// each move of the focus is told.
TEST_F(AccessibleTest, TheFocusedDayIsFocusedAndItsMovesAreTold) {
    // The activation settles first; then the grid's focus stays where the
    // test puts it, and what is heard is the grid's alone.
    ASSERT_TRUE(testing::TakeKeyboard(host, view));
    SetFocus(nullptr);
    testing::PumpMessages();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, Hear, GetCurrentProcessId(),
                                         GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    heardEvents.clear();
    SetFocus(view);
    view.FocusDay(17);
    testing::PumpMessages();
    UnhookWinEvent(hook);
    ASSERT_EQ(GetFocus(), view.Handle());

    EXPECT_NE(Number(&IAccessible::get_accState, 17) & STATE_SYSTEM_FOCUSED, 0);
    EXPECT_EQ(Number(&IAccessible::get_accState, 16) & STATE_SYSTEM_FOCUSED, 0);
    VARIANT focus;
    ASSERT_EQ(grid->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, 17);
    const std::vector<FocusEvent> told = {{view, OBJID_CLIENT, 16}, {view, OBJID_CLIENT, 17}};
    EXPECT_EQ(heardEvents, told);

    SetFocus(nullptr);
    EXPECT_EQ(Number(&IAccessible::get_accState, 17) & STATE_SYSTEM_FOCUSED, 0);
}

// A reader that holds the object past the grid's end gets an error, not a
// crash.
TEST_F(AccessibleTest, TheObjectOutlivesTheGrid) {
    DestroyWindow(view);
    long count = 0;
    EXPECT_EQ(grid->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
}

}  // namespace
}  // namespace almanac
