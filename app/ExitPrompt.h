// The one way out: "结束程序" ends the program, "卸载" removes the autostart
// entry first; anything else returns to the calendar.
#pragma once

#include "framework/Dialog.h"

namespace almanac {

class ExitPrompt : public win::ModalDialog {
public:
    enum Choice { STAY = 0, END_PROGRAM = 1, UNINSTALL = 2 };

    ExitPrompt();
    Choice GetChoice() const { return choice_; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Enter: the choice stays as it is (nothing).
    void OnOK() override { EndDialog(IDOK); }

private:
    LRESULT OnEndProgram(WPARAM, LPARAM);
    LRESULT OnUninstall(WPARAM, LPARAM);

    Choice choice_ = STAY;
};

}  // namespace almanac
