#include <algorithm>

#include "runtime/controls/controls.h"
#include "runtime/gdi.h"
#include "runtime/geometry.h"
#include "runtime/properties.h"
#include "runtime/text.h"

namespace rt {

namespace {

// Posted to the list's own window when the user has accepted an entry, so the event is
// raised after the notification has been handled and the entry is already selected.
constexpr UINT kRaiseItemSelected = WM_APP + 0x101;

// A drop-down list is made at least this tall; what lies below the selection field is
// room for the opened list.
constexpr int kMinCreatedHeight = 160;

// The text area of a plain list's selection field is its font's height plus this; an
// owner-drawn list's is the height measured for the field plus kOwnerDrawnPadding. The
// box's edges add kFieldEdges to either.
constexpr int kPlainPadding = 4;
constexpr int kOwnerDrawnPadding = 6;
constexpr int kFieldEdges = 2 * 2;

int default_font_height() {
    HDC dc = GetDC(nullptr);
    TEXTMETRICW tm{};
    {
        Selected font(dc, GetStockObject(DEFAULT_GUI_FONT));
        GetTextMetricsW(dc, &tm);
    }
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
}

// The entries are drawn by us. On Windows a plain list would take CB_SETITEMHEIGHT for
// its entries, but Wine's combo box ignores that message unless the list is
// owner-drawn; answering WM_MEASUREITEM gives the same height on both.
class ComboBox final : public Control {
public:
    using Control::Control;

    bool create(HWND parent) override {
        font_height_ = default_font_height();
        // The room for the opened list is rounded up to whole entries. A list box that
        // has to trim itself to whole entries does so again on each layout of the box,
        // and under Wine the opened list is a pop-up with an X window of its own from
        // the start, which every trim moves. Nothing the user sees changes: the list
        // opens only as tall as its entries need, on Windows and under Wine.
        ControlSpec sized = def();
        sized.rect.height = whole_entries_height(std::max(sized.rect.height, kMinCreatedHeight),
                                                 field_height(), entry_height());
        if (!attach(create_child(sized, parent, L"COMBOBOX", L"",
                                 WS_CLIPSIBLINGS | WS_VSCROLL | CBS_AUTOHSCROLL | CBS_DROPDOWNLIST |
                                     CBS_OWNERDRAWFIXED | CBS_HASSTRINGS)))
            return false;
        SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        for (const char* item : def().items) {
            const Text text = from_gbk(item);
            SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        // The dropped-down list is a pop-up of its own, made with the combo box; the
        // window's key handling has to know it as part of the list.
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(hwnd(), &info)) list_ = info.hwndList;
        return true;
    }

    bool takes_focus() const override { return true; }

    bool owns_popup(HWND h) const override { return h && h == list_; }

    void on_command(int code) override {
        // Only an accepted choice counts: not a change of the highlighted entry
        // (CBN_SELCHANGE) and not closing the list without one (CBN_SELENDCANCEL).
        if (code == CBN_SELENDOK) PostMessageW(hwnd(), kRaiseItemSelected, 0, 0);
    }

    bool on_measure_item(MEASUREITEMSTRUCT& mis) override {
        mis.itemHeight = static_cast<UINT>(mis.itemID == static_cast<UINT>(-1) ? field_item_height() : entry_height());
        return true;
    }

    bool on_draw_item(const DRAWITEMSTRUCT& dis) override {
        const bool selected = (dis.itemState & ODS_SELECTED) != 0;
        RECT r = dis.rcItem;
        FillRect(dis.hDC, &r, selected ? GetSysColorBrush(COLOR_HIGHLIGHT)
                                       : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (dis.itemID != static_cast<UINT>(-1)) {
            const LRESULT len = SendMessageW(hwnd(), CB_GETLBTEXTLEN, dis.itemID, 0);
            if (len > 0) {
                Text text = Text::sized(static_cast<size_t>(len));
                SendMessageW(hwnd(), CB_GETLBTEXT, dis.itemID, reinterpret_cast<LPARAM>(text.data()));
                Selected font(dis.hDC, GetStockObject(DEFAULT_GUI_FONT));
                SetBkMode(dis.hDC, TRANSPARENT);
                SetTextColor(dis.hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 0, 0));
                r.left += 2;
                DrawTextW(dis.hDC, text.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
                r.left -= 2;
            }
        }
        if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT)) DrawFocusRect(dis.hDC, &r);
        return true;
    }

protected:
    std::optional<LRESULT> on_message(UINT msg, WPARAM, LPARAM) override {
        if (msg == kRaiseItemSelected) {
            raise(event::kItemSelected);
            return 0;
        }
        return std::nullopt;
    }

    std::optional<std::uint64_t> get_own_property(int property) override {
        if (property != prop::kCurrentSelection) return std::nullopt;
        return Value::integer(static_cast<std::int32_t>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0))).slot();
    }

    bool set_own_property(int property, Value value) override {
        if (property != prop::kCurrentSelection) return false;
        // A selection the program makes raises no event.
        SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(value.as_int()), 0);
        return true;
    }

private:
    // The selection field keeps the height a plain list in the default font gets, and
    // the entries are one pixel taller than the font. Measured so, the field comes out
    // the same whether the box goes by the measurement or, as Wine's does once it gets
    // a font, by the font: the font sent after creation does not resize the box again.
    int field_item_height() const { return font_height_ + kPlainPadding - kOwnerDrawnPadding; }
    int field_height() const { return field_item_height() + kOwnerDrawnPadding + kFieldEdges; }
    int entry_height() const { return font_height_ + 1; }

    HWND list_ = nullptr;  // owned by the combo box
    int font_height_ = 0;
};

}  // namespace

std::unique_ptr<Control> make_combo_box(Window& owner, const ControlSpec& def) {
    return std::make_unique<ComboBox>(owner, def);
}

}  // namespace rt
