// Dialogs from resource templates, run modally or modelessly. The object is
// bound to its HWND through the creation parameter and DWLP_USER in
// WM_INITDIALOG and unbound in WM_NCDESTROY; messages go to the class's own
// table, then OK and Cancel to their overridable operations. A data-exchange
// step copies edit-control texts to and from string fields. A dialog whose
// initialisation throws never shows half made: it is destroyed, and the
// exception comes out of RunModal or CreateModeless.
#pragma once

#include "framework/Window.h"

#include <exception>

namespace almanac::win {

class DataExchange {
public:
    DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}
    bool Saving() const { return saving_; }
    // Edit control id <-> field (GB18030).
    void Text(int controlId, std::string& field) const;

private:
    HWND dialog_;
    bool saving_;
};

class Dialog : public Window {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    // Runs the dialog modally; returns the value given to EndDialog, or -1
    // when it could not be created. Throws what OnInitDialog threw, once the
    // dialog is gone.
    INT_PTR RunModal(HWND parent);
    // Creates the dialog as a modeless window (owned by parent). Throws what
    // OnInitDialog threw, once the dialog is gone.
    bool CreateModeless(HWND parent);

    // Copies the fields into the controls (false) or the controls into the
    // fields (true).
    bool UpdateData(bool saveAndValidate);
    void EndDialog(INT_PTR result) { ::EndDialog(hwnd_, result); }

protected:
    // Base: the fields go into the controls; TRUE lets the dialog manager
    // put the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    // Base: the controls go into the fields, then the dialog ends with IDOK.
    virtual void OnOK();
    // Base: the dialog ends with IDCANCEL.
    virtual void OnCancel();
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

}  // namespace almanac::win
