#include "app/ExitPrompt.h"

#include "resources/resource.h"

namespace almanac {

ExitPrompt::ExitPrompt() : ModalDialog(IDD_EXIT_PROMPT) {}

bool ExitPrompt::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<ExitPrompt> table[] = {
        win::OnCommand(IDC_END_PROGRAM, BN_CLICKED, &ExitPrompt::OnEndProgram),
        win::OnCommand(IDC_UNINSTALL, BN_CLICKED, &ExitPrompt::OnUninstall),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT ExitPrompt::OnEndProgram(WPARAM, LPARAM) {
    choice_ = END_PROGRAM;
    EndDialog(IDOK);
    return 0;
}

LRESULT ExitPrompt::OnUninstall(WPARAM, LPARAM) {
    choice_ = UNINSTALL;
    EndDialog(IDOK);
    return 0;
}

}  // namespace almanac
