#include "display/MemoTab.h"

#include "resources/resource.h"
#include "tests/display/TestWindows.h"

#include <gtest/gtest.h>

namespace almanac {
namespace {

class CountingHost : public MemoHost {
public:
    void ShowMemo() override { ++shows; }
    void HideMemo() override {}
    void ReadMemoPosition(int&, int&) override {}
    void StoreMemoPosition(POINT) override {}
    void TellOnce(const std::string&, const std::string&) override {}
    int shows = 0;
};

TEST(MemoTabTest, TheButtonAsksForThePadAndEnterAndEscDoNothing) {
    testing::HostWindow owner;
    CountingHost host;
    MemoTab tab(host);
    ASSERT_TRUE(tab.CreateModeless(owner));
    EXPECT_FALSE(tab.IsVisible());  // created hidden
    win::Window button = tab.Item(IDC_SHOW_MEMO);
    EXPECT_EQ(button.Text(), "本");

    button.Send(BM_CLICK);
    EXPECT_EQ(host.shows, 1);

    tab.Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    tab.Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_TRUE(tab.Exists());
}

}  // namespace
}  // namespace almanac
