#include "framework/Dialog.h"

namespace almanac::win {

void DataExchange::Text(int controlId, std::string& field) const {
    Window control = GetDlgItem(dialog_, controlId);
    if (saving_)
        field = control.Text();
    else
        control.SetText(field);
}

Dialog::~Dialog() {
    // A modeless dialog whose object ends first is unbound and destroyed.
    if (hwnd_ && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        DestroyWindow(hwnd_);
    }
}

INT_PTR Dialog::RunModal(HWND parent) {
    return DialogBoxParamW(Instance(), MAKEINTRESOURCEW(templateId_), parent, Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND parent) {
    return CreateDialogParamW(Instance(), MAKEINTRESOURCEW(templateId_), parent, Procedure,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::UpdateData(bool saveAndValidate) {
    DataExchange exchange(hwnd_, saveAndValidate);
    DoDataExchange(exchange);
}

BOOL Dialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void Dialog::DoDataExchange(DataExchange&) {}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (OnMessage(message, wParam, lParam, result)) return true;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    return false;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        try {
            return self->OnInitDialog();
        } catch (...) {
            return TRUE;
        }
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        return FALSE;
    }
    try {
        LRESULT result = 0;
        if (!self->HandleMessage(message, wParam, lParam, result)) return FALSE;
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

void ModalDialog::OnOK() {
    UpdateData(true);
    EndDialog(IDOK);
}

void ModalDialog::OnCancel() { EndDialog(IDCANCEL); }

}  // namespace almanac::win
