// Dialogs from resource templates. The object is bound to its HWND through
// the creation parameter and DWLP_USER in WM_INITDIALOG and unbound in
// WM_NCDESTROY; messages go to the class's own table, then OK and Cancel
// (Enter and Esc) to their overridable operations. A data-exchange step
// copies edit-control texts to and from string fields.
//
// Two kinds, as the program uses them: a ModalDialog asks something and
// ends with OK or Cancel; a PanelDialog is part of the program's surface
// (the main panel, the memo pad, its tab, the pop-up), where Enter and Esc
// do nothing.
//
// A dialog whose initialisation throws never shows half made: it is
// destroyed, and the exception comes out of RunModal or CreateModeless.
#pragma once

#include "framework/Window.h"

#include <exception>

namespace almanac::win {

class DataExchange {
public:
    DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}
    // Edit control id <-> field (GB18030).
    void Text(int controlId, std::string& field) const;

private:
    HWND dialog_;
    bool saving_;
};

class Dialog : public Window {
public:
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    // Copies the fields into the controls (false) or the controls into the
    // fields (true).
    void UpdateData(bool saveAndValidate);

protected:
    explicit Dialog(int templateId) : templateId_(templateId) {}

    // Runs the dialog in its own modal loop; returns the value given to
    // EndDialog, or -1 when it could not be created. Throws what
    // OnInitDialog threw, once the dialog is gone.
    INT_PTR RunModal(HWND parent);
    void EndDialog(INT_PTR result) { ::EndDialog(hwnd_, result); }
    // Creates the dialog as a modeless window (owned by parent). Throws what
    // OnInitDialog threw, once the dialog is gone.
    bool CreateModeless(HWND parent);

    // Base: the fields go into the controls; TRUE lets the dialog manager
    // put the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    // Enter and Esc; base: nothing.
    virtual void OnOK() {}
    virtual void OnCancel() {}
    virtual void DoDataExchange(DataExchange& exchange);
    // The class's message table; false for the default processing.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void RethrowInitFailure();

    int templateId_;
    bool modal_ = false;
    std::exception_ptr initFailure_;
};

// Asks something: runs modally and ends with OK (the controls go into the
// fields first) or Cancel.
class ModalDialog : public Dialog {
public:
    using Dialog::EndDialog;
    using Dialog::RunModal;

protected:
    using Dialog::Dialog;
    void OnOK() override;
    void OnCancel() override;
};

// Part of the program's surface: shown modelessly (the memo pad, its tab,
// the pop-up) or, for the main panel, in a modal loop of its own that only
// the program ends. Enter and Esc do nothing.
class PanelDialog : public Dialog {
public:
    using Dialog::CreateModeless;
    using Dialog::EndDialog;
    using Dialog::RunModal;

protected:
    using Dialog::Dialog;
};

}  // namespace almanac::win
