// The host stand-in answers the framework messages as the library relies on, and its recorder
// compares message sequences the way the library's tests use it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "hostkit.h"

namespace {

using namespace hostkit;

std::string Str(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

std::string Str(LONG left, LONG top, LONG right, LONG bottom) {
    return Str(RECT{left, top, right, bottom});
}

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Text(HWND hwnd) {
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

TEST(HostKitStatusBar, SizeParentTakesItsHeightOffTheBottom) {
    HWND frame = CreateSdiFrame("status", 40, 40, 400, 300);
    HWND bar = CreateStatusBar(frame, 22);
    ASSERT_TRUE(bar);
    EXPECT_EQ(GetDlgCtrlID(bar), static_cast<int>(kStatusBarId));

    // Into a batch: nothing moves before the batch ends.
    SizeParentParams params{};
    params.rect = {10, 20, 210, 120};
    params.hdwp = BeginDeferWindowPos(1);
    const RECT before = ChildRect(bar);
    SendMessageA(bar, kWmSizeParent, 0, reinterpret_cast<LPARAM>(&params));
    EXPECT_EQ(Str(params.rect), Str(10, 20, 210, 98));
    ASSERT_TRUE(params.hdwp);
    EXPECT_EQ(Str(ChildRect(bar)), Str(before));
    EndDeferWindowPos(params.hdwp);
    EXPECT_EQ(Str(ChildRect(bar)), Str(10, 98, 210, 120));

    // Without a batch it moves at once.
    params = {};
    params.rect = {0, 0, 300, 100};
    SendMessageA(bar, kWmSizeParent, 0, reinterpret_cast<LPARAM>(&params));
    EXPECT_EQ(Str(params.rect), Str(0, 0, 300, 78));
    EXPECT_EQ(Str(ChildRect(bar)), Str(0, 78, 300, 100));

    // A hidden bar takes no room and leaves the batch alone.
    ShowWindow(bar, SW_HIDE);
    params.rect = {0, 0, 300, 200};
    params.hdwp = BeginDeferWindowPos(1);
    const HDWP batch = params.hdwp;
    SendMessageA(bar, kWmSizeParent, 0, reinterpret_cast<LPARAM>(&params));
    EXPECT_EQ(Str(params.rect), Str(0, 0, 300, 200));
    EXPECT_EQ(params.hdwp, batch);
    EndDeferWindowPos(params.hdwp);
    EXPECT_EQ(Str(ChildRect(bar)), Str(0, 78, 300, 100));
    DestroyAll();
    EXPECT_FALSE(IsWindow(frame));
}

TEST(HostKitFrames, SdiFrameLaysOutDockBarStatusBarAndView) {
    HWND frame = CreateSdiFrame("sdi", 40, 40, 400, 300);
    EXPECT_FALSE(IsWindowVisible(frame));
    HWND view = GetDlgItem(frame, kPaneId);
    HWND dock = CreateDockBar(frame, kDockBarTopId);
    HWND toolbar = CreateToolBar(dock, kToolBarId, "Standard", 3);
    HWND bar = CreateStatusBar(frame, 20);
    ASSERT_TRUE(view && dock && toolbar && bar);

    EXPECT_EQ(FindWindowExA(dock, nullptr, nullptr, "Standard"), toolbar);
    char cls[64];
    GetClassNameA(toolbar, cls, sizeof cls);
    EXPECT_STREQ(cls, "ToolbarWindow32");
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 3);
    TBBUTTON button{};
    SendMessageA(toolbar, TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(button.idCommand, 102);
    EXPECT_EQ(button.iBitmap, 2);
    const LONG depth = ChildRect(toolbar).bottom;
    EXPECT_GT(depth, 0);

    SetWindowPos(frame, nullptr, 0, 0, 500, 360, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(frame, &client);
    EXPECT_EQ(Str(ChildRect(dock)), Str(0, 0, client.right, depth));
    EXPECT_EQ(Str(ChildRect(bar)), Str(0, client.bottom - 20, client.right, client.bottom));
    EXPECT_EQ(Str(ChildRect(view)), Str(0, depth, client.right, client.bottom - 20));

    // A frame the library manages still lays itself out on every size change (the library
    // only computes there), but a window the kit adds is left to the library.
    SetPropA(frame, "CCtrlFrameFx", reinterpret_cast<HANDLE>(1));
    SetWindowPos(frame, nullptr, 0, 0, 420, 300, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(frame, &client);
    EXPECT_EQ(Str(ChildRect(bar)), Str(0, client.bottom - 20, client.right, client.bottom));
    EXPECT_EQ(Str(ChildRect(view)), Str(0, depth, client.right, client.bottom - 20));
    HWND left = CreateDockBar(frame, kDockBarTopId + 1);
    CreateToolBar(left, kToolBarId + 1, "Left", 2);
    EXPECT_EQ(Str(ChildRect(view)), Str(0, depth, client.right, client.bottom - 20));
    RemovePropA(frame, "CCtrlFrameFx");
    DestroyAll();
}

TEST(HostKitFrames, MdiFrameHoldsClientAndChildFrames) {
    HWND frame = CreateMdiFrame("mdi", 40, 40, 500, 400);
    HWND client = MdiClientOf(frame);
    ASSERT_TRUE(client);
    EXPECT_EQ(GetDlgItem(frame, kPaneId), client);
    EXPECT_EQ(FindWindowExA(frame, nullptr, "MDIClient", nullptr), client);
    HWND bar = CreateStatusBar(frame, 18);
    SetWindowPos(frame, nullptr, 0, 0, 520, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT area;
    GetClientRect(frame, &area);
    EXPECT_EQ(Str(ChildRect(client)), Str(0, 0, area.right, area.bottom - 18));

    HWND child = CreateMdiChild(frame, "document");
    ASSERT_TRUE(child);
    EXPECT_EQ(GetParent(child), client);
    EXPECT_TRUE(GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0)), child);
    HWND view = GetDlgItem(child, kPaneId);
    ASSERT_TRUE(view);
    SetWindowPos(child, nullptr, 0, 0, 260, 180, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(child, &area);
    EXPECT_EQ(Str(ChildRect(view)), Str(area));
    EXPECT_FALSE(GetDlgItem(CreateMdiChild(frame, "bare", false), kPaneId));
    EXPECT_FALSE(MdiClientOf(child));
    EXPECT_FALSE(CreateMdiChild(child, "not in an MDI frame"));

    // Texts reach the status bar, also from a child frame that has none.
    SendMessageA(frame, kWmSetMessageString, 0, reinterpret_cast<LPARAM>("Ready"));
    EXPECT_EQ(Text(bar), "Ready");
    EXPECT_STREQ(StatusText(frame), "Ready");
    SendMessageA(child, kWmSetMessageString, 0, reinterpret_cast<LPARAM>("Opens a file"));
    EXPECT_EQ(Text(bar), "Opens a file");
    EXPECT_STREQ(StatusText(frame), "Opens a file");
    SendMessageA(frame, kWmSetMessageString, 0, 0);
    EXPECT_EQ(Text(bar), "");
    DestroyAll();
    EXPECT_FALSE(IsWindow(frame));
}

TEST(HostKitFrames, FloatStatusReachesOwnedWindows) {
    HWND frame = CreateSdiFrame("owner", 40, 40, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND other = CreateSdiFrame("other", 380, 40, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(IsWindowVisible(frame));
    // A floating window as the library makes it: a popup of the framework's class, owned by the
    // frame.
    HWND floating =
        CreateWindowExA(WS_EX_TOOLWINDOW, "AfxFrameOrView40su", "floating", WS_POPUP | WS_CAPTION,
                        60, 300, 120, 60, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(floating);
    Recorder recorder;
    recorder.Watch(floating);
    SetActiveWindow(frame);
    ASSERT_EQ(GetActiveWindow(), frame);

    auto expectOnly = [&](WPARAM code) {
        EXPECT_EQ(recorder.Compare(floating, {{kWmFloatStatus, kMatchWParam, code, 0}}, false), "");
        recorder.Clear();
    };
    recorder.Clear();
    SetActiveWindow(other);
    expectOnly(kFsDeactivate);
    SetActiveWindow(frame);
    expectOnly(kFsActivate);
    EnableWindow(frame, FALSE);
    expectOnly(kFsDisable);
    EnableWindow(frame, TRUE);
    expectOnly(kFsEnable);

    // The owned window taking the activation leaves the frame's floating windows as they are.
    ShowWindow(floating, SW_SHOWNOACTIVATE);
    recorder.Clear();
    SetActiveWindow(floating);
    ASSERT_EQ(GetActiveWindow(), floating);
    EXPECT_EQ(recorder.Count(floating, kWmFloatStatus), 0u);
    DestroyAll();
    EXPECT_FALSE(IsWindow(floating));
}

TEST(HostKitRecorder, CompareFollowsTheExpectedTable) {
    HWND frame = CreateSdiFrame("recorder", 40, 40, 300, 200);
    HWND view = GetDlgItem(frame, kPaneId);
    const UINT a = WM_USER + 1, b = WM_USER + 2, c = WM_USER + 3, d = WM_USER + 4;
    Recorder recorder;
    EXPECT_EQ(Recorder::Active(), &recorder);
    recorder.Watch(view);
    SendMessageA(view, a, 1, 10);
    SendMessageA(view, b, 2, 20);
    SendMessageA(view, c, 3, 30);
    SendMessageA(frame, a, 0, 0);  // not watched
    ASSERT_EQ(recorder.For(view).size(), 3u);
    EXPECT_TRUE(recorder.For(frame).empty());

    // Matching, with and without the parameters; optional entries present or absent.
    EXPECT_EQ(
        recorder.Compare(
            view, {{a, kMatchWParam | kMatchLParam, 1, 10}, {b, 0, 0, 0}, {c, kMatchLParam, 0, 30}},
            false),
        "");
    EXPECT_EQ(recorder.Compare(view,
                               {{d, kOptional, 0, 0},
                                {a, 0, 0, 0},
                                {b, kOptional, 0, 0},
                                {c, 0, 0, 0},
                                {d, kOptional, 0, 0}},
                               false),
              "");
    // A required message missing, in the middle or at the end.
    std::string result =
        recorder.Compare(view, {{a, 0, 0, 0}, {d, 0, 0, 0}, {b, 0, 0, 0}, {c, 0, 0, 0}}, false);
    EXPECT_EQ(result.rfind("message 1: expected 0x0404, got 0x0402", 0), 0u) << result;
    result = recorder.Compare(view, {{a, 0, 0, 0}, {b, 0, 0, 0}, {c, 0, 0, 0}, {d, 0, 0, 0}}, true);
    EXPECT_EQ(result.rfind("message 3: expected 0x0404, got nothing more", 0), 0u) << result;
    // A parameter that differs.
    result = recorder.Compare(view, {{a, 0, 0, 0}, {b, kMatchWParam, 7, 0}, {c, 0, 0, 0}}, false);
    EXPECT_NE(result.find("expected 0x0402 wParam 0x7, got 0x0402 wParam 0x2"), std::string::npos)
        << result;
    result = recorder.Compare(view, {{a, 0, 0, 0}, {b, 0, 0, 0}, {c, kMatchLParam, 0, 31}}, true);
    EXPECT_NE(result.find("expected 0x0403 lParam 0x1f, got nothing more"), std::string::npos)
        << result;
    // Messages outside the table: a mismatch unless others are allowed.
    result = recorder.Compare(view, {{a, 0, 0, 0}, {c, 0, 0, 0}}, false);
    EXPECT_EQ(result.rfind("message 1: expected 0x0403, got 0x0402", 0), 0u) << result;
    EXPECT_EQ(recorder.Compare(view, {{a, 0, 0, 0}, {c, 0, 0, 0}}, true), "");
    result = recorder.Compare(view, {{a, 0, 0, 0}, {b, 0, 0, 0}}, false);
    EXPECT_EQ(result.rfind("message 2: unexpected 0x0403", 0), 0u) << result;

    // A nested recorder takes over and gives back; ignored messages are never recorded.
    {
        Recorder inner;
        EXPECT_EQ(Recorder::Active(), &inner);
        inner.Watch(view);
        inner.Ignore(b);
        SendMessageA(view, a, 0, 0);
        SendMessageA(view, b, 0, 0);
        EXPECT_EQ(inner.Compare(view, {{a, 0, 0, 0}}, false), "");
    }
    EXPECT_EQ(Recorder::Active(), &recorder);
    EXPECT_EQ(recorder.For(view).size(), 3u);
    recorder.Clear();
    EXPECT_TRUE(recorder.Messages().empty());
    DestroyAll();
}

TEST(HostKitClasses, WindowsCarryTheFrameworksOldProcedure) {
    const HANDLE defProc = reinterpret_cast<HANDLE>(&DefWindowProcA);
    HWND frame = CreateMdiFrame("props", 40, 40, 400, 300);
    HWND child = CreateMdiChild(frame, "doc");
    HWND dock = CreateDockBar(frame, kDockBarTopId + 1);
    HWND toolbar = CreateToolBar(dock, kToolBarId, "Standard", 2);
    HWND bar = CreateStatusBar(frame);
    HWND panel = CreateChildFrame(GetDlgItem(child, kPaneId), 0, 0, 50, 50, 7);
    // A window of the class made by someone else, as the library makes its own.
    HWND foreign =
        CreateWindowExA(0, "AfxControlBar40su", nullptr, WS_CHILD, 0, 0, 0, 0, frame,
                        reinterpret_cast<HMENU>(0xE81E), GetModuleHandleA(nullptr), nullptr);
    for (HWND hwnd : {frame, child, GetDlgItem(child, kPaneId), dock, bar, panel, foreign})
        EXPECT_EQ(GetPropA(hwnd, "AfxOldWndProc"), defProc) << hwnd;

    // The toolbar's property names its own procedure, now behind the framework's.
    const HANDLE toolbarProc = GetPropA(toolbar, "AfxOldWndProc");
    EXPECT_TRUE(toolbarProc);
    EXPECT_NE(reinterpret_cast<LONG_PTR>(toolbarProc), GetWindowLongPtrA(toolbar, GWLP_WNDPROC));
    DestroyAll();
    EXPECT_FALSE(IsWindow(toolbar));
}

// The display the host draws on has the fonts Windows has: caption buttons are Marlett's symbols
// (without it they read "0 1 r"), dialog and menu texts are Tahoma. Wine's own fonts reach the
// test prefix only through `tools/wine-run --init`.
TEST(HostKitDisplay, CaptionAndDialogFontsAreThere) {
    const struct {
        const char* face;
        BYTE charset;
    } fonts[] = {{"Marlett", SYMBOL_CHARSET}, {"Tahoma", ANSI_CHARSET}};
    HDC dc = GetDC(nullptr);
    for (const auto& f : fonts) {
        HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, f.charset, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, f.face);
        HGDIOBJ old = SelectObject(dc, font);
        char face[LF_FACESIZE] = "";
        GetTextFaceA(dc, sizeof face, face);
        SelectObject(dc, old);
        DeleteObject(font);
        EXPECT_STREQ(face, f.face);
    }
    ReleaseDC(nullptr, dc);
}

// Stands for the library's frame procedure, which subclasses a new 0xE800 toolbar from the
// WM_PARENTNOTIFY sent while the toolbar is being created.
WNDPROC g_frameProc, g_toolbarProc;
int g_toolbarCalls;

LRESULT CALLBACK LateToolbarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ++g_toolbarCalls;
    return CallWindowProcA(g_toolbarProc, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK SubclassingFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE && HIWORD(wParam) == kToolBarId) {
        g_toolbarProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(reinterpret_cast<HWND>(lParam), GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(&LateToolbarProc)));
    }
    return CallWindowProcA(g_frameProc, hwnd, message, wParam, lParam);
}

TEST(HostKitClasses, ToolbarSubclassedDuringCreationKeepsTheNewProcedure) {
    HWND frame = CreateSdiFrame("subclass", 40, 40, 300, 200);
    g_frameProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassingFrameProc)));
    g_toolbarProc = nullptr;
    HWND toolbar = CreateToolBar(frame, kToolBarId, "Main", 4);
    ASSERT_TRUE(toolbar);
    EXPECT_EQ(GetWindowLongPtrA(toolbar, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&LateToolbarProc));
    // Behind it the framework's procedure still records and the toolbar still answers.
    Recorder recorder;
    recorder.Watch(toolbar);
    g_toolbarCalls = 0;
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 4);
    EXPECT_EQ(g_toolbarCalls, 1);
    EXPECT_EQ(recorder.Count(toolbar, TB_BUTTONCOUNT), 1u);
    DestroyAll();
}

}  // namespace
