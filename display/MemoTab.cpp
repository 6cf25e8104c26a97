#include "display/MemoTab.h"

#include "resources/resource.h"

namespace almanac {

MemoTab::MemoTab(MemoHost& host) : PanelDialog(IDD_MEMO_TAB), host_(host) {}

bool MemoTab::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<MemoTab> table[] = {
        win::OnCommand(IDC_SHOW_MEMO, BN_CLICKED, &MemoTab::OnShowMemo),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT MemoTab::OnShowMemo(WPARAM, LPARAM) {
    host_.ShowMemo();
    return 0;
}

}  // namespace almanac
