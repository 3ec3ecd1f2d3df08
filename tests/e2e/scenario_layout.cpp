// The window as it first comes up: frame, class, controls, stacking, focus and pixels.
#include <vector>

#include "tests/e2e/actions.h"
#include "tests/e2e/paint_checks.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/scenarios.h"

namespace e2e {

namespace {

constexpr int kWidth = 212, kHeight = 185;
const wchar_t* const kTitles[] = {L"砚川谣2 第1集", L"砚川谣2 第2集", L"砚川谣2 第3集"};

void check_frame(const App& app, Report& report) {
    const HWND main = app.windows().main;
    const int sx = GetSystemMetrics(SM_CXSCREEN), sy = GetSystemMetrics(SM_CYSCREEN);
    const RECT r = screen_rect(main);
    const int left = (sx - kWidth) / 2, top = (sy - kHeight) / 2;
    report.check(same_rect(r, left, top, kWidth, kHeight),
                 cat("the window is ", kWidth, "x", kHeight, " and centred on the ", sx, "x", sy, " screen at ", left,
                     ",", top, ": ", describe(r)));
    if (sx == 1920 && sy == 1080) report.check(r.left == 854 && r.top == 447, "on 1920x1080 that is 854,447");

    const LONG_PTR style = GetWindowLongPtrW(main, GWL_STYLE);
    const LONG_PTR ex_style = GetWindowLongPtrW(main, GWL_EXSTYLE);
    struct Flag {
        LONG_PTR bits;
        const char* name;
        bool wanted;
    };
    const Flag flags[] = {
        {WS_CAPTION, "WS_CAPTION", true},          {WS_DLGFRAME, "WS_DLGFRAME", true},
        {WS_SYSMENU, "WS_SYSMENU", true},          {WS_MINIMIZEBOX, "WS_MINIMIZEBOX", true},
        {WS_CLIPCHILDREN, "WS_CLIPCHILDREN", true}, {WS_VISIBLE, "WS_VISIBLE", true},
        {WS_MAXIMIZEBOX, "WS_MAXIMIZEBOX", false}, {WS_THICKFRAME, "WS_THICKFRAME", false},
        {WS_POPUP, "WS_POPUP", false},             {WS_CHILD, "WS_CHILD", false},
        {WS_DISABLED, "WS_DISABLED", false},       {WS_MAXIMIZE, "WS_MAXIMIZE", false},
    };
    std::string wrong;
    for (const Flag& f : flags)
        if (((style & f.bits) == f.bits) != f.wanted) wrong += cat(" ", f.wanted ? "lacks " : "has ", f.name);
    report.check(wrong.empty(), cat("window style ", hex(static_cast<std::uint64_t>(style)),
                                    " is a fixed dialog frame with caption, system menu, minimise box only, "
                                    "clipping children", wrong));
    report.check(!(ex_style & WS_EX_TOPMOST), cat("not topmost (extended style ", hex(static_cast<std::uint64_t>(ex_style)), ")"));
    report.check(GetWindow(main, GW_OWNER) == nullptr, "no owner");

    report.check(class_name(main) == kMainClass, cat("window class ", utf8(class_name(main))));
    const ULONG_PTR class_style = GetClassLongPtrW(main, GCL_STYLE);
    report.check(class_style == (CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW),
                 cat("class style ", hex(class_style), " is CS_DBLCLKS|CS_HREDRAW|CS_VREDRAW"));
    // Under Wine another process's class pointers read as 0, so only a value that can be
    // read is compared.
    const auto brush = GetClassLongPtrW(main, GCLP_HBRBACKGROUND);
    report.check(brush == 0, cat("GetClassLongPtr reads no background brush (", hex(brush), ")"));
    const auto cursor = reinterpret_cast<HCURSOR>(GetClassLongPtrW(main, GCLP_HCURSOR));
    if (cursor)
        report.check(cursor == LoadCursorW(nullptr, IDC_ARROW), "the class cursor is the arrow");
    else
        report.note("  (the class cursor cannot be read from another process here)");
    const auto big = send(main, WM_GETICON, ICON_BIG), small = send(main, WM_GETICON, ICON_SMALL);
    if (big)
        report.check(*big && small && *small, "WM_GETICON gives big and small icons");
    else
        report.note("  (WM_GETICON is not answered across processes here; the caption is looked at instead)");
    report.check(window_text(main) == L"砚川谣下载器", cat("title \"", utf8(window_text(main)), "\""));
}

struct ControlCase {
    const char* name;
    HWND hwnd;
    int id;
    const wchar_t* cls;
    HWND parent;
    RECT rect;  // left, top, width, height in the parent; a height of 0 is not checked here
    const wchar_t* text;
    bool tab_stop;
};

void check_controls(const App& app, Report& report) {
    const AppWindows& w = app.windows();
    const ControlCase cases[] = {
        {"back button", w.button, id::kBackButton, L"Button", w.main, {0, 80, 64, 32}, L"返回主界面", true},
        {"cover", w.cover, id::kCover, L"rt.Pane", w.main, {0, 0, 208, 160}, nullptr, false},
        {"episode list", w.list, id::kEpisodeList, L"ComboBox", w.cover, {64, 128, 144, 0}, nullptr, true},
        {"caption label", w.label, id::kCaption, L"rt.Pane", w.cover, {0, 112, 48, 40}, L"下载地址", false},
        {"browser view", w.browser, id::kBrowserView, L"rt.WhitePane", w.main, {0, 0, 312, 136}, nullptr, true},
    };
    for (const ControlCase& c : cases) {
        const RECT r = rect_in_parent(c.hwnd);
        const bool rect_ok = r.left == c.rect.left && r.top == c.rect.top && r.right - r.left == c.rect.right &&
                             (c.rect.bottom == 0 || r.bottom - r.top == c.rect.bottom);
        const LONG_PTR style = GetWindowLongPtrW(c.hwnd, GWL_STYLE);
        const std::wstring cls = class_name(c.hwnd);
        report.check(
            CompareStringOrdinal(cls.c_str(), -1, c.cls, -1, TRUE) == CSTR_EQUAL &&
                GetDlgCtrlID(c.hwnd) == c.id && GetParent(c.hwnd) == c.parent && rect_ok &&
                ((style & WS_TABSTOP) != 0) == c.tab_stop && IsWindowVisible(c.hwnd) &&
                (!c.text || window_text(c.hwnd) == c.text),
            cat(c.name, ": class ", utf8(cls), ", id ", hex(static_cast<std::uint32_t>(GetDlgCtrlID(c.hwnd))),
                ", parent ", GetParent(c.hwnd) == c.parent ? "right" : "WRONG", ", rect ", describe(r),
                ", tab stop ", (style & WS_TABSTOP) != 0, ", visible ", IsWindowVisible(c.hwnd) != 0,
                c.text ? ", text \"" + utf8(window_text(c.hwnd)) + "\"" : std::string()));
    }

    const LONG_PTR button_style = GetWindowLongPtrW(w.button, GWL_STYLE);
    report.check((button_style & BS_TYPEMASK) == BS_PUSHBUTTON, "the back button is a plain push button, not default");

    const LONG_PTR list_style = GetWindowLongPtrW(w.list, GWL_STYLE);
    report.check((list_style & 3) == CBS_DROPDOWNLIST && (list_style & CBS_OWNERDRAWFIXED) &&
                     (list_style & CBS_HASSTRINGS),
                 cat("the list is a drop-down list, owner-drawn fixed with strings (style ",
                     hex(static_cast<std::uint64_t>(list_style)), ")"));
    const ComboState combo = combo_state(w.list);
    bool entries_ok = combo.count == 3 && combo.entries.size() == 3;
    std::string shown;
    for (size_t i = 0; i < combo.entries.size(); ++i) {
        shown += cat(i ? ", " : "", "\"", utf8(combo.entries[i]), "\"");
        entries_ok = entries_ok && i < 3 && combo.entries[i] == kTitles[i];
    }
    report.check(entries_ok, cat("the list holds the three episodes in order: ", shown));
    report.check(combo.selection == CB_ERR, cat("the list has no selection (", combo.selection, ")"));
    // The field is its item plus the box's edges (2 px a side); a taller one means the box
    // sized its field by something else than the height measured for it.
    const RECT field = rect_in_parent(w.list);
    report.check(field.bottom - field.top >= combo.field_height && field.bottom - field.top <= combo.field_height + 6,
                 cat("the list's field is ", field.bottom - field.top, " tall for an item height of ",
                     combo.field_height));

    const HWND browser_child = GetWindow(w.browser, GW_CHILD);
    RECT inner{}, client{};
    if (browser_child) inner = rect_in_parent(browser_child);
    GetClientRect(w.browser, &client);
    report.check(browser_child && EqualRect(&inner, &client),
                 cat("the browser view holds the browser control filling it: ",
                     browser_child ? utf8(class_name(browser_child)) + " " + describe(inner) : std::string("none")));
}

void check_stacking(const App& app, Report& report) {
    const AppWindows& w = app.windows();
    report.check(children_front_to_back(w.main) == std::vector<HWND>{w.button, w.cover, w.browser},
                 "front to back in the main window: button, cover, browser view");
    report.check(children_front_to_back(w.cover) == std::vector<HWND>{w.list, w.label},
                 "front to back in the cover: list, label");
}

// Dropped down, the list hangs below the field and shows every entry at once, black on
// white; closed again, nothing else has changed.
void check_dropped_list(const App& app, Report& report) {
    const AppWindows& w = app.windows();
    const Snapshot before = snapshot(app);
    if (!click_list(app, report, true)) return;
    const HWND popup = dropped_list(app.pid());
    const RECT field = screen_rect(w.list), list = screen_rect(popup);
    RECT client{};
    GetClientRect(popup, &client);
    const int entry = combo_state(w.list).entry_height;
    report.check(list.top == field.bottom && list.left == field.left && list.right == field.right,
                 cat("the dropped list hangs below the field: ", describe(list), " under ", describe(field)));
    report.check(client.bottom >= 3 * entry && !(GetWindowLongPtrW(popup, GWL_STYLE) & WS_VSCROLL),
                 cat("it shows all three entries without a scroll bar (", client.bottom, " px for entries of ",
                     entry, ")"));
    const Shot shot = capture(client_screen_rect(popup));
    long white = 0, dark = 0;
    for (std::uint32_t p : shot.pixels) {
        white += p == 0xFFFFFF;
        dark += luminance(p) < 96;
    }
    report.check(white * 2 > static_cast<long>(shot.pixels.size()) && dark >= 30,
                 cat("the entries are dark text on white: ", white, " white, ", dark, " dark of ",
                     shot.pixels.size()));
    if (!click_list(app, report, false)) return;
    const std::string changed = differences(before, snapshot(app), false);
    report.check(changed.empty(), cat("closing it without a choice changes nothing",
                                      changed.empty() ? "" : ": " + changed));
}

}  // namespace

void run_layout(const Options& options, Report& report) {
    rt::DecodedImage image;
    if (!load_cover(options.cover, image, report)) return;
    auto app = start_ready(options, report);
    if (!app) return;
    check_frame(*app, report);
    check_controls(*app, report);
    check_stacking(*app, report);
    const HWND focus = app->focus();
    report.check(is_within(focus, app->windows().browser),
                 cat("the first activation puts the focus in the browser view (", utf8(class_name(focus)), ")"));
    check_cover_paint(*app, image, report);
    check_label_patch(*app, report);
    check_list_field(*app, false, report);
    check_caption_icon(*app, options.app, report);
    save_shot(options.shots, L"cover_view", report);
    check_dropped_list(*app, report);
}

}  // namespace e2e
