#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/window_procs.h"
#include "toolbar/main_toolbar.h"
#include "dock/tool_bar.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::BarOf;
using varnex_test::ProcOf;
using varnex_test::Pump;
using varnex_test::WindowRectIn;

namespace {

TBBUTTONINFOA ButtonInfo(HWND toolbar, int index) {
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_STYLE | TBIF_STATE | TBIF_LPARAM;
    SendMessageA(toolbar, TB_GETBUTTONINFOA, index, reinterpret_cast<LPARAM>(&info));
    return info;
}

SIZE SizeOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

POINT ButtonCentre(HWND toolbar, int index) {
    RECT r{};
    SendMessageA(toolbar, TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// A frame (not attached) holding a main toolbar of 5 buttons, ids 100 to 104.
struct MainToolBar : testing::Test {
    void SetUp() override {
        frame = hostkit::CreateSdiFrame("frame", 0, 0, 400, 300);
        toolbar = hostkit::CreateToolBar(frame, 0xE800, "Main", 5);
        ASSERT_TRUE(toolbar);
    }
    void TearDown() override {
        if (IsWindow(frame)) DestroyWindow(frame);
    }
    int Attach() { return SetToolBar(toolbar, reinterpret_cast<INT_PTR>(frame), 0, nullptr, STB_ATTACH); }
    HWND frame{}, toolbar{};
};

TEST_F(MainToolBar, RefusesWindowsOperationsAndIndicesItDoesNotKnow) {
    HWND stale = hostkit::CreateView(frame, 0xE800, 0, 0, 10, 10);
    HWND notToolBar = hostkit::CreateView(frame, 0xE800, 0, 0, 10, 10);
    DestroyWindow(stale);
    HWND otherId = hostkit::CreateToolBar(frame, 0xE801, "Other", 2);
    for (HWND bad : {HWND{}, stale, reinterpret_cast<HWND>(-1), GetDesktopWindow(), notToolBar, otherId}) {
        EXPECT_EQ(SetToolBar(bad, reinterpret_cast<INT_PTR>(frame), 0, nullptr, STB_ATTACH), 0);
        EXPECT_EQ(SetToolBar(bad, 0, 0, nullptr, STB_QUERY), 0);
    }
    EXPECT_EQ(LiveWindowObjects(), 0);

    // No bar yet: nothing but an attach to a parent is accepted; giving back nothing is done.
    ToolButtonRecord record{};
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_QUERY), 0);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_ATTACH), 1);
    EXPECT_EQ(SetToolBar(toolbar, 0x80, 0, nullptr, STB_STYLE), 0);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, &record, STB_BUTTONRECORD), 0);
    EXPECT_EQ(SetToolBar(toolbar, reinterpret_cast<INT_PTR>(toolbar), 0, nullptr, STB_ATTACH), 0);
    EXPECT_EQ(SetToolBar(toolbar, -1, 0, nullptr, STB_ATTACH), 0);
    EXPECT_EQ(BarOf(toolbar), nullptr);

    ASSERT_EQ(Attach(), 1);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_QUERY), 1);
    for (UINT unknown : {0u, 3u, 0x40u, 0xFEu, 0x800u, 0x10000u, 0xFFFFFFFFu})
        EXPECT_EQ(SetToolBar(toolbar, 0, 0x104, &record, unknown), 0) << unknown;
    // Button indices run from 0 to 4.
    EXPECT_EQ(SetToolBar(toolbar, 5, 0x104, nullptr, STB_BUTTONSTYLE), 0);
    EXPECT_EQ(SetToolBar(toolbar, -1, 0x104, nullptr, STB_BUTTONSTYLE), 0);
    EXPECT_EQ(SetToolBar(toolbar, 5, 0, &record, STB_BUTTONRECORD), 0);
    EXPECT_EQ(ButtonInfo(toolbar, 4).fsStyle & 0x04, 0);
    EXPECT_EQ(SetToolBar(toolbar, 4, 0x104, nullptr, STB_BUTTONSTYLE), 1);
    EXPECT_EQ(ButtonInfo(toolbar, 4).fsStyle & 0x04, 0x04);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_ATTACH), 1);
}

TEST_F(MainToolBar, AttachMakesAStandAloneBarThatOnlyTheLibraryMoves) {
    HWND first = hostkit::CreateView(frame, 0x301, 0, 0, 300, 100);
    HWND second = hostkit::CreateView(frame, 0x302, 0, 100, 300, 100);
    const RECT rect = WindowRectIn(toolbar, frame);
    const LONG style = GetWindowLongA(toolbar, GWL_STYLE);
    const WNDPROC proc = ProcOf(toolbar);

    ASSERT_EQ(SetToolBar(toolbar, reinterpret_cast<INT_PTR>(first), reinterpret_cast<INT_PTR>(frame), nullptr,
                         STB_ATTACH),
              1);
    CToolBarFx* bar = BarOf(toolbar);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->flags, BFX_STANDALONE | BFX_WRAPPABLE);
    EXPECT_EQ(bar->notifyWnd, frame);
    EXPECT_EQ(bar->frame, nullptr);
    EXPECT_TRUE(bar->isToolBar);
    EXPECT_TRUE(bar->isMainToolBar);
    EXPECT_EQ(GetParent(toolbar), first);
    EXPECT_EQ(ProcOf(toolbar), BarWndProc);

    // Attached again: the same bar in a new parent.
    ASSERT_EQ(SetToolBar(toolbar, reinterpret_cast<INT_PTR>(second), 0, nullptr, STB_ATTACH), 1);
    EXPECT_EQ(BarOf(toolbar), bar);
    EXPECT_EQ(GetParent(toolbar), second);
    EXPECT_EQ(LiveWindowObjects(), 1);

    // The host cannot move it; the library can.
    SetWindowPos(toolbar, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRectIn(toolbar, second).left, 0);
    EXPECT_EQ(WindowRectIn(toolbar, second).top, 0);
    ASSERT_EQ(SetToolBar(toolbar, 30, 40, nullptr, STB_MOVE), 1);
    EXPECT_EQ(WindowRectIn(toolbar, second).left, 30);
    EXPECT_EQ(WindowRectIn(toolbar, second).top, 40);

    // No parent: given back whole and released.
    ASSERT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_ATTACH), 1);
    EXPECT_EQ(BarOf(toolbar), nullptr);
    EXPECT_EQ(GetPropA(toolbar, kBarProp), nullptr);
    EXPECT_EQ(LiveWindowObjects(), 0);
    EXPECT_EQ(GetParent(toolbar), frame);
    EXPECT_EQ(ProcOf(toolbar), proc);
    EXPECT_EQ(GetWindowLongA(toolbar, GWL_STYLE), style);
    EXPECT_TRUE(WindowRectIn(toolbar, frame) == rect);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_QUERY), 0);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_ATTACH), 1);

    // Docked in a frame, it has its row's place: no move by the host through the library either.
    ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME), 1);
    ASSERT_EQ(SetDock(toolbar, frame, 0, 0, 0, 0, BFX_TOP | BFX_ALLOW_TOP, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    const RECT docked = WindowRectIn(toolbar, GetParent(toolbar));
    EXPECT_EQ(SetToolBar(toolbar, 30, 40, nullptr, STB_MOVE), 0);
    EXPECT_TRUE(WindowRectIn(toolbar, GetParent(toolbar)) == docked);
    DetachFrame(frame);
}

TEST_F(MainToolBar, ButtonStyleAndStateAreAddedRemovedOrSet) {
    ASSERT_EQ(Attach(), 1);
    const BYTE style = ButtonInfo(toolbar, 2).fsStyle;
    ASSERT_EQ(style & BTNS_CHECK, 0);
    EXPECT_EQ(SetToolBar(toolbar, 2, STB_SETBITS | BTNS_CHECK, nullptr, STB_BUTTONSTYLE), 1);
    EXPECT_EQ(ButtonInfo(toolbar, 2).fsStyle, style | BTNS_CHECK);
    EXPECT_EQ(SetToolBar(toolbar, 2, STB_CLEARBITS | BTNS_CHECK, nullptr, STB_BUTTONSTYLE), 1);
    EXPECT_EQ(ButtonInfo(toolbar, 2).fsStyle, style);
    EXPECT_EQ(SetToolBar(toolbar, 2, BTNS_CHECK, nullptr, STB_BUTTONSTYLE), 1);
    EXPECT_EQ(ButtonInfo(toolbar, 2).fsStyle, BTNS_CHECK);
    EXPECT_EQ(ButtonInfo(toolbar, 1).fsStyle, style);  // only the button named

    EXPECT_EQ(SetToolBar(toolbar, 3, STB_SETBITS | TBSTATE_CHECKED, nullptr, STB_BUTTONSTATE), 1);
    EXPECT_EQ(ButtonInfo(toolbar, 3).fsState, TBSTATE_ENABLED | TBSTATE_CHECKED);
    EXPECT_EQ(SetToolBar(toolbar, 3, STB_CLEARBITS | TBSTATE_ENABLED, nullptr, STB_BUTTONSTATE), 1);
    EXPECT_EQ(ButtonInfo(toolbar, 3).fsState, TBSTATE_CHECKED);
    EXPECT_EQ(SetToolBar(toolbar, 3, TBSTATE_ENABLED, nullptr, STB_BUTTONSTATE), 1);
    EXPECT_EQ(ButtonInfo(toolbar, 3).fsState, TBSTATE_ENABLED);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_ATTACH), 1);
}

TEST_F(MainToolBar, StyleTurnsAStandAloneBarVerticalAndAutosizeTurnsItBack) {
    ASSERT_EQ(Attach(), 1);
    // The measure from the buttons: a flat toolbar in one row.
    const DWORD buttonSize = static_cast<DWORD>(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
    LONG sumW = 0, sumH = 0, widest = LOWORD(buttonSize);
    for (int i = 0; i < 5; ++i) {
        RECT r{};
        SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        sumW += r.right - r.left;
        sumH += r.bottom - r.top;
        widest = std::max(widest, r.right - r.left);
    }
    const LONG style = GetWindowLongA(toolbar, GWL_STYLE);
    const SIZE before = SizeOf(toolbar);

    // Nothing asked: neither the style nor the size changes.
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_STYLE), 1);
    EXPECT_EQ(GetWindowLongA(toolbar, GWL_STYLE), style);
    EXPECT_EQ(SizeOf(toolbar).cx, before.cx);
    EXPECT_EQ(SizeOf(toolbar).cy, before.cy);

    EXPECT_EQ(SetToolBar(toolbar, CCS_VERT, 0, nullptr, STB_STYLE), 1);
    CToolBarFx* bar = BarOf(toolbar);
    EXPECT_EQ(bar->flags & 0xF0, BFX_VERT);
    EXPECT_EQ(bar->flags & ~0xF0u, BFX_STANDALONE | BFX_WRAPPABLE);
    EXPECT_EQ(GetWindowLongA(toolbar, GWL_STYLE) & CCS_VERT, 0);  // the bit only turns the bar
    EXPECT_EQ(SizeOf(toolbar).cx, widest);
    EXPECT_EQ(SizeOf(toolbar).cy, sumH);

    // A style without CCS_VERT turns the bar back, but only the closing step resizes it.
    EXPECT_EQ(SetToolBar(toolbar, TBSTYLE_TOOLTIPS, TBSTYLE_EX_DRAWDDARROWS, nullptr, STB_STYLE), 1);
    EXPECT_EQ(bar->flags & 0xF0, BFX_HORZ);
    EXPECT_EQ(GetWindowLongA(toolbar, GWL_STYLE) & TBSTYLE_TOOLTIPS, TBSTYLE_TOOLTIPS);
    EXPECT_EQ(SendMessageA(toolbar, TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_DRAWDDARROWS, TBSTYLE_EX_DRAWDDARROWS);
    EXPECT_EQ(SizeOf(toolbar).cx, widest);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_AUTOSIZE), 1);
    EXPECT_EQ(SizeOf(toolbar).cx, sumW);
    EXPECT_EQ(SizeOf(toolbar).cy, static_cast<LONG>(HIWORD(buttonSize)));

    // Window bits beyond the control's own never reach the window.
    EXPECT_EQ(SetToolBar(toolbar, static_cast<int>(WS_POPUP | WS_CAPTION | TBSTYLE_FLAT), 0, nullptr, STB_STYLE), 1);
    const LONG now = GetWindowLongA(toolbar, GWL_STYLE);
    EXPECT_EQ(now & (WS_POPUP | WS_CAPTION), 0);
    EXPECT_EQ(now & WS_CHILD, WS_CHILD);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_ATTACH), 1);
}

TEST_F(MainToolBar, ButtonRecordIsClearedThenCarriesMenuTipAndStatus) {
    ASSERT_EQ(Attach(), 1);
    ToolButtonRecord record;
    std::memset(&record, 0xAB, sizeof record);
    HMENU menu = CreatePopupMenu();
    const wchar_t tip[] = L"Tip", status[] = L"Status";

    // Without a record the record operations are refused.
    EXPECT_EQ(SetToolBar(toolbar, 1, 0, const_cast<wchar_t*>(tip), STB_BUTTONTIP), 0);
    EXPECT_EQ(SetToolBar(toolbar, 1, 0, const_cast<wchar_t*>(status), STB_BUTTONSTATUS), 0);
    EXPECT_EQ(SetToolBar(toolbar, 1, reinterpret_cast<INT_PTR>(menu), nullptr, STB_BUTTONMENU), 0);
    EXPECT_EQ(SetToolBar(toolbar, 1, 0, const_cast<wchar_t*>(tip), STB_BUTTONTEXT), 0);
    EXPECT_EQ(SetToolBar(toolbar, 1, 0, nullptr, STB_BUTTONRECORD), 0);

    ASSERT_EQ(SetToolBar(toolbar, 1, 0, &record, STB_BUTTONRECORD), 1);
    EXPECT_EQ(record.fromControl, 0);
    EXPECT_EQ(record.choice, 0);
    EXPECT_EQ(record.reserved, 0xABAB);  // not the library's
    EXPECT_EQ(record.menu, nullptr);
    EXPECT_EQ(record.tipText, nullptr);
    EXPECT_EQ(record.statusText, nullptr);
    EXPECT_EQ(ButtonInfo(toolbar, 1).lParam, reinterpret_cast<DWORD_PTR>(&record));

    EXPECT_EQ(SetToolBar(toolbar, 1, 0, const_cast<wchar_t*>(tip), STB_BUTTONTIP), 1);
    EXPECT_EQ(SetToolBar(toolbar, 1, 0, const_cast<wchar_t*>(status), STB_BUTTONSTATUS), 1);
    EXPECT_EQ(SetToolBar(toolbar, 1, 12345, nullptr, STB_BUTTONMENU), 0);  // not a menu
    EXPECT_EQ(SetToolBar(toolbar, 1, reinterpret_cast<INT_PTR>(menu), nullptr, STB_BUTTONMENU), 1);
    EXPECT_EQ(record.tipText, tip);
    EXPECT_EQ(record.statusText, status);
    EXPECT_EQ(record.menu, menu);
    EXPECT_EQ(ButtonInfo(toolbar, 1).lParam, reinterpret_cast<DWORD_PTR>(&record));

    // The lookup: an id becomes the remembered one; 0 means the remembered one.
    CToolBarFx* bar = BarOf(toolbar);
    EXPECT_EQ(GetButtonRecord(bar, 101), &record);
    EXPECT_EQ(bar->menuCommand, 101);
    EXPECT_EQ(GetButtonRecord(bar, 0), &record);
    EXPECT_EQ(GetButtonRecord(bar, 100), nullptr);
    EXPECT_EQ(bar->menuCommand, 100);
    EXPECT_EQ(GetButtonRecord(bar, 999), nullptr);

    // Bound again: cleared again.
    record.choice = 7;
    ASSERT_EQ(SetToolBar(toolbar, 1, 0, &record, STB_BUTTONRECORD), 1);
    EXPECT_EQ(record.choice, 0);
    EXPECT_EQ(record.menu, nullptr);
    EXPECT_EQ(record.tipText, nullptr);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_ATTACH), 1);
    DestroyMenu(menu);
}

// A text of `count` characters 'a', 'b', ... repeating.
std::wstring LongText(size_t count) {
    std::wstring text;
    for (size_t i = 0; i < count; ++i) text += static_cast<wchar_t>(L'a' + i % 26);
    return text;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(SharedText, TextsAreCutToTheirRoomAndAlwaysTerminated) {
    for (int room : {1, 2, 80, 256}) {
        for (size_t length : {size_t(room - 1), size_t(room), size_t(room + 40)}) {
            // Guard bytes after the room prove that nothing is written past it.
            char buffer[256 + 32];
            std::memset(buffer, 0x5A, sizeof buffer);
            const std::wstring text = LongText(length);
            ASSERT_EQ(CutToAnsi(text.c_str(), buffer, room), buffer);
            const size_t kept = std::min(length, size_t(room - 1));
            EXPECT_EQ(std::string(buffer), Narrow(text.substr(0, kept))) << room << " " << length;
            for (size_t i = room; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], 0x5A) << room << " " << length << " " << i;
        }
    }
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_STREQ(CutToAnsi(nullptr, buffer, 4), "");
    // Larger rooms than the shared buffer are held to its size.
    const std::wstring text = LongText(1000);
    EXPECT_EQ(std::strlen(ToSharedText(text.c_str(), 100000)), size_t(kSharedTextSize - 1));
}

TEST_F(MainToolBar, ButtonTextGoesThroughTheSharedBufferCut) {
    ASSERT_EQ(Attach(), 1);
    ToolButtonRecord record{};
    ASSERT_EQ(SetToolBar(toolbar, 0, 0, &record, STB_BUTTONRECORD), 1);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_BUTTONTEXT), 0);
    const std::wstring text = LongText(100);
    ASSERT_EQ(SetToolBar(toolbar, 0, 0, const_cast<wchar_t*>(text.c_str()), STB_BUTTONTEXT), 1);
    const std::string expected = Narrow(text.substr(0, 79));
    EXPECT_EQ(std::string(SharedText()), expected);
    char shown[200] = {};
    SendMessageA(toolbar, TB_GETBUTTONTEXTA, 100, reinterpret_cast<LPARAM>(shown));
    EXPECT_EQ(std::string(shown), expected);
    EXPECT_EQ(SetToolBar(toolbar, 0, 0, nullptr, STB_ATTACH), 1);
}

// A modal menu must end whatever happens: a timer closes it if the keys did not.
void CALLBACK EndMenuTimer(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

// An attached frame with a status bar, and a main toolbar of 4 buttons (ids 100 to 103) made a
// stand-alone bar inside it that reports to the frame. Button 1 carries a record with a status
// text, a tooltip and a drop-down menu of items 300 and 301; button 0 has no record.
struct ToolMenu : testing::Test {
    void SetUp() override {
        frame = hostkit::CreateSdiFrame("frame", 0, 0, 400, 300);
        hostkit::CreateStatusBar(frame);
        toolbar = hostkit::CreateToolBar(frame, 0xE800, "Main", 4);
        ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME), 1);
        ASSERT_EQ(SetToolBar(toolbar, reinterpret_cast<INT_PTR>(frame), reinterpret_cast<INT_PTR>(frame), nullptr,
                             STB_ATTACH),
                  1);
        menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 300, "Pick");
        AppendMenuA(menu, MF_STRING, 301, "Other");
        ASSERT_EQ(SetToolBar(toolbar, 1, 0, &record, STB_BUTTONRECORD), 1);
        ASSERT_EQ(SetToolBar(toolbar, 1, 0, const_cast<wchar_t*>(kStatus), STB_BUTTONSTATUS), 1);
        ASSERT_EQ(SetToolBar(toolbar, 1, 0, const_cast<wchar_t*>(kTip), STB_BUTTONTIP), 1);
        ASSERT_EQ(SetToolBar(toolbar, 1, reinterpret_cast<INT_PTR>(menu), nullptr, STB_BUTTONMENU), 1);
        recorder.Watch(frame);
    }
    void TearDown() override {
        if (IsWindow(frame)) DestroyWindow(frame);
        DestroyMenu(menu);
    }
    LRESULT HotChange(int idNew, DWORD flags, HWND from = nullptr) {
        NMTBHOTITEM hot{};
        hot.hdr = {from ? from : toolbar, 0xE800, static_cast<UINT>(TBN_HOTITEMCHANGE)};
        hot.idNew = idNew;
        hot.dwFlags = flags;
        return SendMessageA(frame, WM_NOTIFY, 0xE800, reinterpret_cast<LPARAM>(&hot));
    }
    // The texts the frame was handed, in order.
    std::vector<LPARAM> StatusTexts() const {
        std::vector<LPARAM> texts;
        for (const hostkit::Message& m : recorder.For(frame))
            if (m.message == hostkit::kWmSetMessageString) texts.push_back(m.lParam);
        return texts;
    }
    static constexpr wchar_t kStatus[] = L"Opens a file";
    static constexpr wchar_t kTip[] = L"Open";
    HWND frame{}, toolbar{};
    HMENU menu{};
    ToolButtonRecord record{};
    hostkit::Recorder recorder;
};

TEST_F(ToolMenu, HotButtonStatusTextReachesTheHostStatusBar) {
    // The mouse over button 1: the toolbar's own notification, through the frame.
    const POINT at = ButtonCentre(toolbar, 1);
    SendMessageA(toolbar, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    ASSERT_EQ(StatusTexts().size(), 1u);
    EXPECT_EQ(StatusTexts()[0], reinterpret_cast<LPARAM>(kStatus));  // handed on unchanged
    EXPECT_EQ(BarOf(toolbar)->menuCommand, 101);

    // Leaving the button, or a button without a record: one blank.
    EXPECT_EQ(HotChange(-1, HICF_MOUSE | HICF_LEAVING), 0);
    EXPECT_STREQ(hostkit::StatusText(frame), " ");
    EXPECT_EQ(HotChange(101, HICF_MOUSE), 0);
    EXPECT_EQ(StatusTexts().back(), reinterpret_cast<LPARAM>(kStatus));
    EXPECT_EQ(HotChange(100, HICF_MOUSE), 0);
    EXPECT_STREQ(hostkit::StatusText(frame), " ");
    EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(StatusTexts().back())), L" ");

    // A change by the keyboard leaves the text alone; so does another window's notification.
    const size_t shown = StatusTexts().size();
    EXPECT_EQ(HotChange(101, HICF_ARROWKEYS), 0);
    HWND other = hostkit::CreateToolBar(frame, 0x1234, "Other", 2);  // no bar
    HotChange(101, HICF_MOUSE, other);
    EXPECT_EQ(StatusTexts().size(), shown);
    EXPECT_EQ(recorder.Count(frame, WM_NOTIFY), 1u);  // only the other toolbar's reached the host
}

TEST_F(ToolMenu, DropDownChoiceIsCreditedToTheButtonAndItemTextsAreShown) {
    const wchar_t pickStatus[] = L"Picks one";
    ASSERT_NE(SetToolMenu(menu, 300, 0, pickStatus, TMI_DATA), 0);
    ASSERT_EQ(SetToolBar(toolbar, 1, STB_SETBITS | BTNS_DROPDOWN, nullptr, STB_BUTTONSTYLE), 1);
    record.fromControl = 1;

    // The keys wait in the queue for the menu's loop: the first item, then choose it.
    PostMessageA(toolbar, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(toolbar, WM_KEYDOWN, VK_RETURN, 0);
    const UINT_PTR timer = SetTimer(nullptr, 0, 5000, EndMenuTimer);
    const POINT at = ButtonCentre(toolbar, 1);
    SendMessageA(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    KillTimer(nullptr, timer);
    SendMessageA(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    Pump();

    EXPECT_EQ(record.choice, 0x2C);  // item 300
    EXPECT_EQ(record.fromControl, 0);
    std::vector<hostkit::Message> commands;
    for (const hostkit::Message& m : recorder.For(frame))
        if (m.message == WM_COMMAND) commands.push_back(m);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 101u);
    EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(toolbar));
    // The highlighted item's text while the menu was open, the blank when it closed.
    // (The toolbar itself may show its hot button's text again afterwards.)
    const std::vector<LPARAM> texts = StatusTexts();
    auto shown = std::find(texts.begin(), texts.end(), reinterpret_cast<LPARAM>(pickStatus));
    ASSERT_NE(shown, texts.end());
    ASSERT_NE(shown + 1, texts.end());
    EXPECT_STREQ(reinterpret_cast<const char*>(shown[1]), " ");
}

TEST_F(ToolMenu, CommandsAndHighlightsReachingTheToolbar) {
    const wchar_t otherStatus[] = L"Another";
    ASSERT_NE(SetToolMenu(menu, 301, 0, otherStatus, TMI_DATA), 0);
    GetButtonRecord(BarOf(toolbar), 101);

    EXPECT_EQ(SendMessageA(toolbar, WM_MENUSELECT, MAKEWPARAM(301, MF_HILITE), reinterpret_cast<LPARAM>(menu)), 0);
    EXPECT_EQ(StatusTexts().back(), reinterpret_cast<LPARAM>(otherStatus));
    SendMessageA(toolbar, WM_MENUSELECT, MAKEWPARAM(300, MF_HILITE), reinterpret_cast<LPARAM>(menu));  // no data
    EXPECT_STREQ(hostkit::StatusText(frame), " ");
    SendMessageA(toolbar, WM_MENUSELECT, MAKEWPARAM(301, 0), reinterpret_cast<LPARAM>(menu));  // not highlighted
    EXPECT_STREQ(hostkit::StatusText(frame), " ");
    EXPECT_EQ(StatusTexts().size(), 3u);

    // A command from a control marks the record and goes no further; id 0 changes nothing.
    EXPECT_EQ(SendMessageA(toolbar, WM_COMMAND, MAKEWPARAM(0, 1), 0), 0);
    EXPECT_EQ(record.fromControl, 0);
    EXPECT_EQ(SendMessageA(toolbar, WM_COMMAND, MAKEWPARAM(77, 1), reinterpret_cast<LPARAM>(frame)), 0);
    EXPECT_EQ(record.fromControl, 1);
    EXPECT_EQ(record.choice, 0);
    Pump();
    EXPECT_EQ(recorder.Count(frame, WM_COMMAND), 0u);
}

TEST_F(ToolMenu, TooltipTextComesFromTheRecord) {
    char sentinel[] = "unchanged";
    NMTTDISPINFOA tip{};
    tip.hdr = {nullptr, 101, static_cast<UINT>(TTN_NEEDTEXTA)};
    tip.lpszText = sentinel;
    EXPECT_EQ(SendMessageA(toolbar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip)), 1);
    EXPECT_EQ(tip.lpszText, SharedText());
    EXPECT_STREQ(tip.lpszText, "Open");

    // No record, or a record without a tip: 1, and the text address left alone.
    tip.hdr.idFrom = 100;
    tip.lpszText = sentinel;
    EXPECT_EQ(SendMessageA(toolbar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip)), 1);
    EXPECT_EQ(tip.lpszText, sentinel);
    ASSERT_EQ(SetToolBar(toolbar, 1, 0, nullptr, STB_BUTTONTIP), 1);
    tip.hdr.idFrom = 101;
    EXPECT_EQ(SendMessageA(toolbar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip)), 1);
    EXPECT_EQ(tip.lpszText, sentinel);

    // A long tip is cut to 79 characters; a UTF-16 request gets the record's text itself.
    const std::wstring longTip = LongText(120);
    ASSERT_EQ(SetToolBar(toolbar, 1, 0, const_cast<wchar_t*>(longTip.c_str()), STB_BUTTONTIP), 1);
    EXPECT_EQ(SendMessageA(toolbar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip)), 1);
    EXPECT_EQ(std::string(tip.lpszText), Narrow(longTip.substr(0, 79)));
    NMTTDISPINFOW wide{};
    wide.hdr = {nullptr, 101, static_cast<UINT>(TTN_NEEDTEXTW)};
    EXPECT_EQ(SendMessageA(toolbar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&wide)), 1);
    EXPECT_EQ(wide.lpszText, longTip.c_str());
    // Other notifications: 0.
    NMHDR other{nullptr, 101, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(SendMessageA(toolbar, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&other)), 0);
}

TEST(SetToolMenu, EachSelectorSetsItsOneProperty) {
    HMENU menu = CreatePopupMenu();
    HMENU sub = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 300, "Pick");
    AppendMenuA(menu, MF_STRING, 301, "Other");

    EXPECT_NE(SetToolMenu(menu, 300, MFS_CHECKED, nullptr, TMI_STATE), 0);
    EXPECT_EQ(GetMenuState(menu, 300, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_NE(SetToolMenu(menu, 301, MFT_RADIOCHECK, nullptr, TMI_TYPE), 0);
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoA(menu, 301, FALSE, &info));
    EXPECT_EQ(info.fType, static_cast<UINT>(MFT_RADIOCHECK));
    EXPECT_EQ(info.dwItemData, 0u);

    const wchar_t status[] = L"status";
    EXPECT_NE(SetToolMenu(menu, 301, 0, status, TMI_DATA), 0);
    ASSERT_TRUE(GetMenuItemInfoA(menu, 301, FALSE, &info));
    EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(status));

    EXPECT_NE(SetToolMenu(menu, 300, 0, L"Chosen", TMI_TEXT), 0);
    char text[300] = {};
    GetMenuStringA(menu, 300, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "Chosen");
    EXPECT_EQ(GetMenuState(menu, 300, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));  // kept
    const std::wstring longText = LongText(400);
    EXPECT_NE(SetToolMenu(menu, 300, 0, longText.c_str(), TMI_TEXT), 0);
    GetMenuStringA(menu, 300, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), Narrow(longText.substr(0, 255)));

    EXPECT_NE(SetToolMenu(menu, 301, static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub)), nullptr, TMI_SUBMENU), 0);
    EXPECT_EQ(GetSubMenu(menu, 1), sub);

    // Refused: no menu, no item, no text, a submenu that is no menu or the menu itself, and
    // selectors that name no property (the item stays as it was).
    EXPECT_EQ(SetToolMenu(nullptr, 300, 0, status, TMI_DATA), 0);
    EXPECT_EQ(SetToolMenu(reinterpret_cast<HMENU>(0x1234), 300, 0, status, TMI_DATA), 0);
    EXPECT_EQ(SetToolMenu(menu, 999, 0, status, TMI_DATA), 0);
    EXPECT_EQ(SetToolMenu(menu, 300, 0, nullptr, TMI_TEXT), 0);
    EXPECT_EQ(SetToolMenu(menu, 300, 12345, nullptr, TMI_SUBMENU), 0);
    EXPECT_EQ(SetToolMenu(menu, 300, static_cast<UINT>(reinterpret_cast<UINT_PTR>(menu)), nullptr, TMI_SUBMENU), 0);
    for (UINT selector : {0u, 0x10u, 0x80u, 0x300u, 0xFFFFFFFFu})
        EXPECT_EQ(SetToolMenu(menu, 300, 0, status, selector), 0) << selector;
    GetMenuStringA(menu, 300, text, sizeof text, MF_BYCOMMAND);
    EXPECT_EQ(std::string(text), Narrow(longText.substr(0, 255)));
    DestroyMenu(menu);  // takes the submenu with it
}

}  // namespace
