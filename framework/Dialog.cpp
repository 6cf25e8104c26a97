#include "framework/Dialog.h"

#include <utility>

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
    modal_ = true;
    INT_PTR result = DialogBoxParamW(Instance(), MAKEINTRESOURCEW(templateId_), parent, Procedure,
                                     reinterpret_cast<LPARAM>(this));
    modal_ = false;
    RethrowInitFailure();
    return result;
}

bool Dialog::CreateModeless(HWND parent) {
    HWND created = CreateDialogParamW(Instance(), MAKEINTRESOURCEW(templateId_), parent, Procedure,
                                      reinterpret_cast<LPARAM>(this));
    RethrowInitFailure();
    return created != nullptr;
}

void Dialog::RethrowInitFailure() {
    if (!initFailure_) return;
    std::exception_ptr failure = std::exchange(initFailure_, nullptr);
    std::rethrow_exception(failure);
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
            // Half made, the dialog would look whole and act wrong: it goes,
            // and the exception reaches its creator past the system's frames.
            self->initFailure_ = std::current_exception();
            if (self->modal_)
                ::EndDialog(hwnd, -1);
            else
                DestroyWindow(hwnd);
            return FALSE;
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
