#include "display/GridAccessible.h"

#include "base/Text.h"
#include "display/MonthView.h"

namespace almanac {
namespace {

HRESULT Text(const std::string& text, BSTR* out) {
    if (!out) return E_INVALIDARG;
    const std::wstring wide = text::Wide(text);
    *out = SysAllocStringLen(wide.data(), UINT(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, long id) {
    out->vt = VT_I4;
    out->lVal = id;
}

}  // namespace

GridAccessible::GridAccessible(MonthView& grid, IAccessible* standard) : grid_(&grid), standard_(standard) {}

GridAccessible::~GridAccessible() {
    if (standard_) standard_->Release();
}

void GridAccessible::Disconnect() {
    grid_ = nullptr;
    if (standard_) standard_->Release();
    standard_ = nullptr;
}

HRESULT GridAccessible::QueryInterface(REFIID id, void** object) {
    if (!object) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG GridAccessible::AddRef() { return ULONG(InterlockedIncrement(&references_)); }

ULONG GridAccessible::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return ULONG(left);
}

HRESULT GridAccessible::GetTypeInfoCount(UINT* count) {
    if (!count) return E_INVALIDARG;
    *count = 0;
    return S_OK;
}
HRESULT GridAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
HRESULT GridAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT GridAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

int GridAccessible::DayOf(const VARIANT& child) const {
    if (child.vt != VT_I4) return -1;
    if (child.lVal == CHILDID_SELF) return 0;
    return child.lVal >= 1 && child.lVal <= grid_->Page().daysInMonth ? int(child.lVal) : -1;
}

// Every method: the grid gone, disconnected; a child id out of the page,
// an invalid argument.
#define ALMANAC_DAY_OF(child, day)                      \
    if (!grid_) return CO_E_OBJNOTCONNECTED;            \
    const int day = DayOf(child);                       \
    if (day < 0) return E_INVALIDARG

HRESULT GridAccessible::get_accParent(IDispatch** parent) {
    if (!grid_ || !standard_) return CO_E_OBJNOTCONNECTED;
    return standard_->get_accParent(parent);
}

HRESULT GridAccessible::get_accChildCount(long* count) {
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    if (!count) return E_INVALIDARG;
    *count = grid_->Page().daysInMonth;
    return S_OK;
}

// The days are simple elements, answered here by their ids.
HRESULT GridAccessible::get_accChild(VARIANT child, IDispatch** object) {
    ALMANAC_DAY_OF(child, day);
    if (!object) return E_INVALIDARG;
    *object = nullptr;
    return day ? S_FALSE : E_INVALIDARG;
}

HRESULT GridAccessible::get_accName(VARIANT child, BSTR* name) {
    ALMANAC_DAY_OF(child, day);
    return Text(day ? grid_->AccessibleName(day) : grid_->AccessibleName(0), name);
}

HRESULT GridAccessible::get_accValue(VARIANT child, BSTR* value) {
    ALMANAC_DAY_OF(child, day);
    if (value) *value = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accDescription(VARIANT child, BSTR* description) {
    ALMANAC_DAY_OF(child, day);
    if (description) *description = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accRole(VARIANT child, VARIANT* role) {
    ALMANAC_DAY_OF(child, day);
    if (!role) return E_INVALIDARG;
    SetChild(role, day ? ROLE_SYSTEM_CELL : ROLE_SYSTEM_TABLE);
    return S_OK;
}

HRESULT GridAccessible::get_accState(VARIANT child, VARIANT* state) {
    ALMANAC_DAY_OF(child, day);
    if (!state) return E_INVALIDARG;
    if (!day) {
        if (standard_) return standard_->get_accState(child, state);
        SetChild(state, STATE_SYSTEM_FOCUSABLE);
        return S_OK;
    }
    long flags = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE;
    if (day == grid_->FocusedDay()) {
        flags |= STATE_SYSTEM_SELECTED;
        if (GetFocus() == grid_->Handle()) flags |= STATE_SYSTEM_FOCUSED;
    }
    SetChild(state, flags);
    return S_OK;
}

HRESULT GridAccessible::get_accHelp(VARIANT child, BSTR* help) {
    ALMANAC_DAY_OF(child, day);
    if (help) *help = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    ALMANAC_DAY_OF(child, day);
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT GridAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    ALMANAC_DAY_OF(child, day);
    if (shortcut) *shortcut = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

// The focused day while the grid has the keyboard.
HRESULT GridAccessible::get_accFocus(VARIANT* child) {
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    if (!child) return E_INVALIDARG;
    VariantInit(child);
    if (GetFocus() != grid_->Handle()) return S_FALSE;
    SetChild(child, grid_->FocusedDay() ? grid_->FocusedDay() : CHILDID_SELF);
    return S_OK;
}

HRESULT GridAccessible::get_accSelection(VARIANT* children) {
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    if (!children) return E_INVALIDARG;
    VariantInit(children);
    if (!grid_->FocusedDay()) return S_FALSE;
    SetChild(children, grid_->FocusedDay());
    return S_OK;
}

HRESULT GridAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
    ALMANAC_DAY_OF(child, day);
    if (!day) {
        if (action) *action = nullptr;
        return DISP_E_MEMBERNOTFOUND;
    }
    return Text("编辑记事", action);
}

// Taking the focus or the selection moves the focused day there.
HRESULT GridAccessible::accSelect(long flags, VARIANT child) {
    ALMANAC_DAY_OF(child, day);
    if (!day) return standard_ ? standard_->accSelect(flags, child) : E_INVALIDARG;
    if (flags & SELFLAG_TAKEFOCUS) SetFocus(grid_->Handle());
    if (flags & (SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) grid_->FocusDay(day);
    return S_OK;
}

HRESULT GridAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    ALMANAC_DAY_OF(child, day);
    if (!left || !top || !width || !height) return E_INVALIDARG;
    if (!day && standard_) return standard_->accLocation(left, top, width, height, child);
    RECT place = day ? grid_->CellOfDay(day) : grid_->ClientRect();
    MapWindowPoints(grid_->Handle(), nullptr, reinterpret_cast<POINT*>(&place), 2);
    *left = place.left;
    *top = place.top;
    *width = place.right - place.left;
    *height = place.bottom - place.top;
    return S_OK;
}

// Among the days: the next and the previous, the first and the last, a day
// or a week away; from the grid itself as the system's object does.
HRESULT GridAccessible::accNavigate(long direction, VARIANT start, VARIANT* end) {
    ALMANAC_DAY_OF(start, day);
    if (!end) return E_INVALIDARG;
    VariantInit(end);
    const int days = grid_->Page().daysInMonth;
    int to = 0;
    switch (direction) {
    case NAVDIR_FIRSTCHILD: to = day ? 0 : 1; break;
    case NAVDIR_LASTCHILD: to = day ? 0 : days; break;
    case NAVDIR_NEXT:
    case NAVDIR_RIGHT: to = day ? day + 1 : 0; break;
    case NAVDIR_PREVIOUS:
    case NAVDIR_LEFT: to = day ? day - 1 : 0; break;
    case NAVDIR_DOWN: to = day ? day + 7 : 0; break;
    case NAVDIR_UP: to = day ? day - 7 : 0; break;
    default: return E_INVALIDARG;
    }
    if (!day && direction != NAVDIR_FIRSTCHILD && direction != NAVDIR_LASTCHILD)
        return standard_ ? standard_->accNavigate(direction, start, end) : S_FALSE;
    if (to < 1 || to > days) return S_FALSE;
    SetChild(end, to);
    return S_OK;
}

HRESULT GridAccessible::accHitTest(long x, long y, VARIANT* child) {
    if (!grid_) return CO_E_OBJNOTCONNECTED;
    if (!child) return E_INVALIDARG;
    VariantInit(child);
    POINT point = {x, y};
    ScreenToClient(grid_->Handle(), &point);
    const RECT client = grid_->ClientRect();
    if (!PtInRect(&client, point)) return S_FALSE;
    const int day = grid_->DayAt(point);
    SetChild(child, day ? day : CHILDID_SELF);
    return S_OK;
}

// Opening a day's notes runs a dialog: posted, so the caller is not held.
HRESULT GridAccessible::accDoDefaultAction(VARIANT child) {
    ALMANAC_DAY_OF(child, day);
    if (!day) return DISP_E_MEMBERNOTFOUND;
    grid_->FocusDay(day);
    PostMessageW(grid_->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    return S_OK;
}

HRESULT GridAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT GridAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

#undef ALMANAC_DAY_OF

}  // namespace almanac
