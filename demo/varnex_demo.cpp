// varnex-demo: a host application built on the host stand-in that hands its frame to Varnex.
// An MDI frame with the "Standard" toolbar in its top dock bar, a status bar and two MDI
// children, attached with AttachFrame; then more bars docked with SetDock (bar_layout.h): a
// toolbar on the top side beside "Standard", one as a column on the left, a sizable "Properties"
// panel with a caption on the right, and a toolbar that starts floating; a tree view and a tab
// control whose icons the library keeps; a scrolled document; the main toolbar with a drop-down
// menu, tooltips and status texts; a progress control in the status bar. The bars can be dragged
// between sides, rows and floating windows; their places are kept in varnex-demo.layout beside
// the program from one run to the next.
//   varnex-demo.exe [--seconds N]   runs N seconds (for a screenshot), else until closed
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>

#include "bar_layout.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_api.h"

namespace {

using demo::Varnex;

// A 16 x 16 icon drawn here: a folder (with or without its lid open) or a page, in `color`.
enum class Shape { Folder, OpenFolder, Page };

HICON MakeIcon(Shape shape, COLORREF color) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP image = CreateCompatibleBitmap(screen, 16, 16);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    ReleaseDC(nullptr, screen);

    // Mask: white is transparent, black is drawn.
    HGDIOBJ old = SelectObject(dc, mask);
    PatBlt(dc, 0, 0, 16, 16, WHITENESS);
    auto draw = [&](HBRUSH brush) {
        RECT body = shape == Shape::Page ? RECT{3, 1, 13, 15} : RECT{1, 4, 15, 14};
        FillRect(dc, &body, brush);
        if (shape != Shape::Page) {
            RECT tab{1, 2, 7, 4};
            FillRect(dc, &tab, brush);
        }
    };
    draw(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, image);
    PatBlt(dc, 0, 0, 16, 16, BLACKNESS);
    HBRUSH fill = CreateSolidBrush(color);
    draw(fill);
    DeleteObject(fill);
    if (shape == Shape::OpenFolder) {
        RECT lid{3, 7, 16, 14};
        HBRUSH light = CreateSolidBrush(RGB(255, 236, 150));
        FillRect(dc, &lid, light);
        DeleteObject(light);
    }
    SelectObject(dc, old);
    DeleteDC(dc);

    ICONINFO info{TRUE, 0, 0, mask, image};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(image);
    DeleteObject(mask);
    return icon;
}

// Document 1 shows a project tree, Document 2 a tab control; their icons go through the
// library, which keeps the image lists and destroys every icon it is given.
void FillDocuments(const Varnex& varnex, HWND first, HWND second) {
    HWND view = GetDlgItem(first, 0xE900);
    RECT area;
    GetClientRect(view, &area);
    HWND tree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS |
                                TVS_LINESATROOT, 0, 0, area.right, area.bottom, view, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    varnex.AttachClass(tree, CCF_TREEVIEW);
    varnex.SetTreeView(tree, 16, 0, 0, STV_ICONSIZE);
    const COLORREF folderColor = RGB(230, 180, 60);
    varnex.SetTreeView(tree, 0, reinterpret_cast<INT_PTR>(MakeIcon(Shape::Folder, folderColor)),
                       reinterpret_cast<INT_PTR>(MakeIcon(Shape::OpenFolder, folderColor)), STV_NORMAL);
    auto add = [&](HTREEITEM parent, const char* text) {
        TVINSERTSTRUCTA insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        // New items start on the default images (the closed and the open folder).
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = const_cast<char*>(text);
        insert.item.iImage = 0;
        insert.item.iSelectedImage = 1;
        return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    };
    HTREEITEM project = add(TVI_ROOT, "Project");
    HTREEITEM sources = add(project, "Sources");
    add(project, "Resources");
    for (const char* file : {"main.cpp", "frame.cpp", "toolbar.cpp"}) {
        HTREEITEM page = add(sources, file);
        HICON icon = MakeIcon(Shape::Page, RGB(90, 140, 220));
        varnex.SetTreeView(tree, reinterpret_cast<INT_PTR>(page), reinterpret_cast<INT_PTR>(icon),
                           reinterpret_cast<INT_PTR>(CopyIcon(icon)), STV_NORMAL);
    }
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(project));
    SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(sources));

    view = GetDlgItem(second, 0xE900);
    GetClientRect(view, &area);
    HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, area.right,
                                area.bottom, view, nullptr, GetModuleHandleA(nullptr), nullptr);
    varnex.AttachClass(tabs, CCF_NOTEBOOK);
    const struct {
        const char* text;
        Shape shape;
        COLORREF color;
    } pages[] = {{"General", Shape::Page, RGB(90, 140, 220)},
                 {"Layout", Shape::Folder, RGB(230, 180, 60)},
                 {"Colours", Shape::Page, RGB(200, 70, 70)}};
    for (int i = 0; i < 3; ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(pages[i].text);
        SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        varnex.SetNoteBook(tabs, i, MakeIcon(pages[i].shape, pages[i].color), SNB_IMAGE);
    }
}

// Document 3: more buttons than its view can show, scrolled by the library.
HWND MakeScrolledDocument(const Varnex& varnex, HWND frame) {
    HWND document = hostkit::CreateMdiChild(frame, "Document 3 (scrolls)");
    MoveWindow(document, 20, 240, 250, 150, TRUE);
    HWND view = GetDlgItem(document, 0xE900);
    for (int i = 0; i < 12; ++i) {
        char label[32];
        std::snprintf(label, sizeof label, "Button %d", i + 1);
        CreateWindowExA(0, "BUTTON", label, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10 + (i % 3) * 150,
                        10 + (i / 3) * 60, 130, 40, view, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    varnex.AttachFrame(document, AF_MDICHILD | AF_SYSMENU | AF_THICKFRAME | AF_CAPTIONMOVE | AF_BORDERSIZE |
                                     AF_MINIMIZEBOX | AF_MAXIMIZEBOX);
    varnex.SetScrollBar(view, 0, 0, 0, 0, SSR_HORZ | SSR_VERT | SSR_START | SSR_END | SSR_AUTO);
    return document;
}

// The host's main toolbar: a drop-down "New" button with its menu, tooltips and status texts. It
// is docked first (SetDock binds its state record only to a bar it makes), then set up.
struct MainToolbar {
    ToolButtonRecord records[3]{};
    HMENU menu{};
};

void SetUpMainToolbar(const Varnex& varnex, HWND toolbar, MainToolbar* main) {
    varnex.SetToolBar(toolbar, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, TBSTYLE_EX_DRAWDDARROWS, nullptr, STB_STYLE);
    main->menu = CreatePopupMenu();
    AppendMenuA(main->menu, MF_STRING, 300, "Document");
    AppendMenuA(main->menu, MF_STRING, 301, "Template");
    varnex.SetToolMenu(main->menu, 300, 0, L"Makes a new, empty document", TMI_DATA);
    varnex.SetToolMenu(main->menu, 301, 0, L"Makes a document from a template", TMI_DATA);
    varnex.SetToolMenu(main->menu, 301, 0, L"From template...", TMI_TEXT);
    const wchar_t* tips[] = {L"New", L"Open", L"Save"};
    const wchar_t* texts[] = {L"Makes a new document", L"Opens a document", L"Saves the document"};
    for (int i = 0; i < 3; ++i) {
        varnex.SetToolBar(toolbar, i, 0, &main->records[i], STB_BUTTONRECORD);
        varnex.SetToolBar(toolbar, i, 0, const_cast<wchar_t*>(tips[i]), STB_BUTTONTIP);
        varnex.SetToolBar(toolbar, i, 0, const_cast<wchar_t*>(texts[i]), STB_BUTTONSTATUS);
    }
    varnex.SetToolBar(toolbar, 0, STB_SETBITS | BTNS_DROPDOWN, nullptr, STB_BUTTONSTYLE);
    varnex.SetToolBar(toolbar, 0, reinterpret_cast<INT_PTR>(main->menu), nullptr, STB_BUTTONMENU);
    // The drop-down arrow widened the first button: the library measures the bar again.
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
}

}  // namespace

int main(int argc, char** argv) {
    Varnex varnex{};
    if (!demo::LoadVarnex(&varnex)) {
        MessageBoxA(nullptr, "Varnex.dll could not be loaded", "varnex-demo", MB_OK);
        return 1;
    }

    int seconds = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atoi(argv[i + 1]);

    HWND frame = hostkit::CreateMdiFrame("Varnex demo", 40, 40, 720, 480, WS_OVERLAPPEDWINDOW);
    HWND dock = hostkit::CreateDockBar(frame, 0xE81B);
    hostkit::CreateToolBar(dock, 0xE800, "Standard", 8);
    HWND status = hostkit::CreateStatusBar(frame, 22);
    HWND mainToolbar = hostkit::CreateToolBar(frame, 0xE800, "Main", 3);
    HWND first = hostkit::CreateMdiChild(frame, "Document 1");
    HWND second = hostkit::CreateMdiChild(frame, "Document 2");
    MoveWindow(first, 0, 0, 260, 220, TRUE);
    MoveWindow(second, 270, 30, 260, 200, TRUE);

    // Shown first: the library takes the status bar's visibility from the screen when it attaches.
    // Its activation is let settle, so that the floating bar made later stays above it.
    ShowWindow(frame, SW_SHOW);
    SetForegroundWindow(frame);
    for (MSG pending; PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&pending);
    const UINT flags = AF_MDIFRAME | AF_SYSMENU | AF_THICKFRAME | AF_MINIMIZEBOX | AF_MAXIMIZEBOX |
                       AF_CAPTIONMOVE | AF_BORDERSIZE | AF_FLOATAUTOHIDE;
    if (!varnex.AttachFrame(frame, flags)) {
        MessageBoxA(nullptr, "AttachFrame refused the frame", "varnex-demo", MB_OK);
        return 1;
    }
    FillDocuments(varnex, first, second);
    MakeScrolledDocument(varnex, frame);

    // More bars, the main toolbar among them, each where the user left it last time.
    const std::string layoutFile = demo::LayoutFileBesideProgram();
    demo::DemoBars bars;
    demo::DockDemoBars(varnex, frame, mainToolbar, layoutFile, &bars);
    MainToolbar main;
    SetUpMainToolbar(varnex, mainToolbar, &main);

    SetWindowTextA(status, "Frame attached: the library lays out the client area");
    varnex.RecalcFrame(frame);

    // A progress control in the status bar, driven by a timer.
    const UINT_PTR progressTimer = SetTimer(nullptr, 0, 150, nullptr);
    int progress = 0;
    const UINT_PTR endTimer = seconds > 0 ? SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr) : 0;
    // Closed by the user, the frame ends the program.
    hostkit::ScopedHostHandler quitWithFrame([frame](HWND hwnd, UINT message, WPARAM, LPARAM) {
        if (hwnd == frame && message == WM_DESTROY) PostQuitMessage(0);
    });
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == progressTimer) {
            progress = (progress + 5) % 105;
            varnex.SetStatusBar(status, 0, 100, progress, "Loading the sample project...",
                                SSB_PROGRESS | SSB_RANGE | SSB_POS | SSB_SHOW | SSB_TEXT);
            continue;
        }
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == endTimer) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    // The records are the demo's: they keep the last places also when the frame is gone.
    demo::SaveLayout(bars, layoutFile);
    DestroyMenu(main.menu);
    if (IsWindow(frame)) {
        varnex.DetachFrame(frame);
        DestroyWindow(frame);
    }
    return 0;
}
