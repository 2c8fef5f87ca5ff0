#include "bar_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

#include "hostkit.h"

namespace demo {

namespace {

constexpr UINT kAllSides = BFX_ALLOW_TOP | BFX_ALLOW_LEFT | BFX_ALLOW_RIGHT | BFX_ALLOW_BOTTOM;
constexpr UINT kToolBarLook =
    kAllSides | BFX_RAISEDBORDER | BFX_GRIPPER | BFX_MOVABLE | BFX_FLOATABLE | BFX_WRAPPABLE;
constexpr UINT kPanelLook =
    kAllSides | BFX_SUNKENBORDER | BFX_CAPTION | BFX_SIZABLE | BFX_STRETCH | BFX_MOVABLE | BFX_FLOATABLE;
// By DOCKSTATE side: top, left, right, bottom.
constexpr UINT kSideFlags[] = {BFX_TOP, BFX_LEFT, BFX_RIGHT, BFX_BOTTOM};
constexpr UINT kSideOperations[] = {SD_TOP, SD_LEFT, SD_RIGHT, SD_BOTTOM};

DOCKSTATE Docked(BYTE side, LONG x, LONG y, LONG cx = 0, LONG cy = 0) { return {1, side, 0, x, y, cx, cy}; }
DOCKSTATE Floating(LONG x, LONG y) { return {0, 3, 0, x, y, 0, 0}; }

bool OnLeftOrRight(const DOCKSTATE& place) { return place.docked && (place.side == 1 || place.side == 2); }

// A toolbar as a column, measured as the library measures its own toolbars for the left and right
// sides: as wide as its widest button, as tall as all its buttons; a separator is a small square.
SIZE ColumnSize(HWND toolbar) {
    LONG widest = 0, height = 0;
    const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        RECT item{};
        if (!SendMessageA(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) ||
            (button.fsState & TBSTATE_HIDDEN) || !SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item)))
            continue;
        LONG w = item.right - item.left, h = item.bottom - item.top;
        if (button.fsStyle & BTNS_SEP) w = h = std::min(w, h);
        widest = std::max(widest, w);
        height += h;
    }
    return {widest, height};
}

HWND MakeToolBar(HWND frame, UINT id, const char* title, int buttons) {
    HWND toolbar = hostkit::CreateToolBar(frame, id, title, buttons);
    // Narrower than its buttons, the toolbar wraps them onto more lines: a column on a side.
    if (toolbar) SetWindowLongA(toolbar, GWL_STYLE, GetWindowLongA(toolbar, GWL_STYLE) | TBSTYLE_WRAPABLE);
    return toolbar;
}

// The layout file: one line per bar, "name docked side x y cx cy". Lines that do not read as a
// record are passed over.
std::map<std::string, DOCKSTATE> ReadLayout(const std::string& file) {
    std::map<std::string, DOCKSTATE> places;
    FILE* in = std::fopen(file.c_str(), "r");
    if (!in) return places;
    char line[200];
    while (std::fgets(line, sizeof line, in)) {
        char name[64];
        int docked, side;
        long x, y, cx, cy;
        if (std::sscanf(line, "%63s %d %d %ld %ld %ld %ld", name, &docked, &side, &x, &y, &cx, &cy) != 7 ||
            (docked != 0 && docked != 1) || side < 0 || side > 3)
            continue;
        places[name] = {static_cast<BYTE>(docked), static_cast<BYTE>(side), 0, x, y, cx, cy};
    }
    std::fclose(in);
    return places;
}

// Bars are docked in the order they stand: each side's rows (columns) from the frame's edge
// inwards, each row from its start; floating bars last. A bar docked later would otherwise push
// its way into the row of one that stood further in.
bool StandsBefore(const DOCKSTATE& a, const DOCKSTATE& b) {
    if (a.docked != b.docked) return a.docked > b.docked;
    if (!a.docked) return false;
    if (a.side != b.side) return a.side < b.side;
    const bool columns = OnLeftOrRight(a);
    const LONG lineA = columns ? a.x : a.y, lineB = columns ? b.x : b.y;
    if (lineA != lineB) return lineA < lineB;
    return (columns ? a.y : a.x) < (columns ? b.y : b.x);
}

// One SetDock makes the bar, binds its record, and gives it its place and the stored size of that
// side (or of the floating window).
void Place(const Varnex& varnex, HWND frame, DockedBar* bar, const DOCKSTATE& place) {
    UINT flags = bar->look, operation = SD_ATTACH | SD_FLAGS | SD_POSITION | SD_SIZE;
    if (place.docked) {
        flags |= kSideFlags[place.side];
        operation |= kSideOperations[place.side];
    } else {
        flags |= BFX_FLOATING | BFX_TOP;  // docked again by a double click, on top
        operation |= SD_FLOAT;
    }
    bar->made = varnex.SetDock(bar->window, frame, place.x, place.y, place.cx, place.cy, flags, &bar->state,
                               operation) == 1;
}

}  // namespace

void DockDemoBars(const Varnex& varnex, HWND frame, HWND mainToolbar, const std::string& layoutFile,
                  DemoBars* bars) {
    HWND format = MakeToolBar(frame, 0x700, "Format", 5);
    HWND drawing = MakeToolBar(frame, 0x701, "Drawing", 7);
    HWND colours = MakeToolBar(frame, 0x702, "Colours", 4);
    HWND properties = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "Properties",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 160, 200,
                                      frame, reinterpret_cast<HMENU>(0x500), GetModuleHandleA(nullptr), nullptr);
    for (const char* item : {"Name: Document 2", "Width: 320", "Height: 220", "Docked: right", "Sizable: yes"})
        SendMessageA(properties, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    // The main toolbar is one of the library's own: it measures its column itself.
    SetWindowLongA(mainToolbar, GWL_STYLE, GetWindowLongA(mainToolbar, GWL_STYLE) | TBSTYLE_WRAPABLE);

    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    const SIZE column = ColumnSize(drawing);
    const struct {
        const char* name;
        HWND window;
        UINT look;
        DOCKSTATE first;
    } made[DemoBars::kCount] = {
        {"Main", mainToolbar, kToolBarLook, Docked(0, 0, 30)},
        {"Format", format, kToolBarLook, Docked(0, 400, 0)},
        {"Drawing", drawing, kToolBarLook, Docked(1, 0, 0, column.cx, column.cy)},
        {"Properties", properties, kPanelLook, Docked(2, 0, 0, 160, 0)},
        {"Colours", colours, kToolBarLook, Floating(frameRect.right - 230, frameRect.bottom - 150)},
    };

    const std::map<std::string, DOCKSTATE> saved = ReadLayout(layoutFile);
    DOCKSTATE places[DemoBars::kCount];
    int order[DemoBars::kCount];
    for (int i = 0; i < DemoBars::kCount; ++i) {
        bars->bars[i].name = made[i].name;
        bars->bars[i].window = made[i].window;
        bars->bars[i].look = made[i].look;
        const auto it = saved.find(made[i].name);
        places[i] = it != saved.end() ? it->second : made[i].first;
        order[i] = i;
    }
    std::stable_sort(order, order + DemoBars::kCount, [&](int a, int b) { return StandsBefore(places[a], places[b]); });
    for (int i : order) {
        DockedBar* bar = &bars->bars[i];
        if (!bar->window) continue;
        Place(varnex, frame, bar, places[i]);
        // A toolbar elsewhere keeps its column for when the user docks it on the left or right.
        const bool ownColumn = bar->window == mainToolbar || bar->window == properties;
        if (bar->made && !ownColumn && !OnLeftOrRight(places[i])) {
            const SIZE size = ColumnSize(bar->window);
            varnex.SetDock(bar->window, nullptr, 0, 0, size.cx, size.cy, 0, nullptr, SD_SIZE | SD_LEFT);
        }
    }
    varnex.RecalcFrame(frame);
}

bool SaveLayout(const DemoBars& bars, const std::string& layoutFile) {
    FILE* out = std::fopen(layoutFile.c_str(), "w");
    if (!out) return false;
    for (const DockedBar& bar : bars.bars) {
        if (!bar.made) continue;
        const DOCKSTATE& s = bar.state;
        std::fprintf(out, "%s %d %d %ld %ld %ld %ld\n", bar.name, s.docked, s.side, static_cast<long>(s.x),
                     static_cast<long>(s.y), static_cast<long>(s.cx), static_cast<long>(s.cy));
    }
    return std::fclose(out) == 0;
}

std::string LayoutFileBesideProgram() {
    char path[MAX_PATH] = "";
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file(path, length < sizeof path ? length : 0);
    const size_t dot = file.find_last_of('.');
    const size_t slash = file.find_last_of("\\/");
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) file.erase(dot);
    return file.empty() ? "varnex-demo.layout" : file + ".layout";
}

}  // namespace demo
