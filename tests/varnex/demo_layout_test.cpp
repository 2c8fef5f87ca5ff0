// The demo's bars as a user finds them: toolbars on the left or right are columns of buttons, and
// the places the user left them in come back at the next start. Each run is the demo's frame made
// anew in this process with the demo's own bar code, linked to the library instead of loading it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "bar_layout.h"
#include "hostkit.h"
#include "varnex.h"

namespace {

demo::Varnex Linked() {
    return {&AttachFrame, &DetachFrame,  &RecalcFrame,  &SetDock,      &UnDock,     &AttachClass,
            &SetTreeView, &SetNoteBook, &SetStatusBar, &SetScrollBar, &SetToolBar, &SetToolMenu};
}

std::string TempFile() {
    char dir[MAX_PATH], file[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    GetTempFileNameA(dir, "vnx", 0, file);
    return file;
}

// One start of the demo: its frame as the demo makes it, the bars docked from `layoutFile`.
struct DemoRun {
    explicit DemoRun(const std::string& layoutFile) {
        frame = hostkit::CreateMdiFrame("Varnex demo", 40, 40, 720, 480, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        HWND dock = hostkit::CreateDockBar(frame, hostkit::kDockBarTopId);
        hostkit::CreateToolBar(dock, hostkit::kToolBarId, "Standard", 8);
        hostkit::CreateStatusBar(frame, 22);
        HWND mainToolbar = hostkit::CreateToolBar(frame, hostkit::kToolBarId, "Main", 3);
        attached = AttachFrame(frame, AF_MDIFRAME | AF_SYSMENU | AF_THICKFRAME) == 1;
        demo::DockDemoBars(Linked(), frame, mainToolbar, layoutFile, &bars);
    }
    ~DemoRun() { DestroyWindow(frame); }  // before the records go

    demo::DockedBar& Bar(const char* name) {
        for (demo::DockedBar& bar : bars.bars)
            if (std::strcmp(bar.name, name) == 0) return bar;
        ADD_FAILURE() << "no bar " << name;
        return bars.bars[0];
    }
    // What the user does with a bar, as the library does it at the end of a drag.
    void Dock(const char* name, UINT side, UINT operation) {
        demo::DockedBar& bar = Bar(name);
        EXPECT_EQ(SetDock(bar.window, frame, 0, 0, 0, 0, bar.look | side, nullptr, SD_ATTACH | SD_FLAGS | operation), 1);
    }
    // Every bar's rectangle on the screen and whether it shows.
    std::string Places() const {
        std::string text;
        for (const demo::DockedBar& bar : bars.bars) {
            RECT r;
            GetWindowRect(bar.window, &r);
            char line[120];
            std::snprintf(line, sizeof line, "%s (%ld,%ld,%ld,%ld)%s\n", bar.name, r.left, r.top, r.right, r.bottom,
                          IsWindowVisible(bar.window) ? "" : " hidden");
            text += line;
        }
        return text;
    }

    HWND frame = nullptr;
    bool attached = false;
    demo::DemoBars bars;
};

// Every button of the toolbar lies below the one before it, or every one beside it.
bool ButtonsInAColumn(HWND toolbar, bool column) {
    const int count = static_cast<int>(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0));
    RECT previous{};
    for (int i = 0; i < count; ++i) {
        RECT item{};
        SendMessageA(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        if (i > 0 && (column ? item.top < previous.bottom || item.left != previous.left
                             : item.left < previous.right || item.top != previous.top))
            return false;
        previous = item;
    }
    return count > 1;
}

TEST(DemoLayout, ToolbarsOnTheLeftOrRightAreColumns) {
    const std::string none = TempFile();
    DeleteFileA(none.c_str());
    DemoRun run(none);
    ASSERT_TRUE(run.attached);
    // "Drawing" starts on the left; the others are taken to a side, and back to a row.
    const struct {
        const char* name;
        UINT side, operation;
        bool column;
    } steps[] = {
        {"Drawing", 0, 0, true},
        {"Format", BFX_RIGHT, SD_RECALC, true},
        {"Main", BFX_LEFT, SD_RECALC, true},
        {"Colours", BFX_RIGHT, SD_RECALC, true},
        {"Format", BFX_BOTTOM, SD_RECALC, false},
        {"Drawing", BFX_TOP, SD_RECALC, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(std::string(s.name) + (s.column ? " in a column" : " in a row"));
        if (s.side) run.Dock(s.name, s.side, s.operation);
        HWND toolbar = run.Bar(s.name).window;
        RECT r;
        GetClientRect(toolbar, &r);
        EXPECT_EQ(r.bottom > r.right, s.column) << r.right << " x " << r.bottom;
        EXPECT_TRUE(ButtonsInAColumn(toolbar, s.column));
        // The whole column (or row) shows: its last button lies inside the toolbar.
        RECT last{};
        SendMessageA(toolbar, TB_GETITEMRECT, SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0) - 1,
                     reinterpret_cast<LPARAM>(&last));
        EXPECT_LE(last.bottom, r.bottom);
        EXPECT_LE(last.right, r.right);
    }
    DeleteFileA(none.c_str());
}

TEST(DemoLayout, PlacesComeBackAtTheNextStart) {
    const std::string file = TempFile();
    DeleteFileA(file.c_str());
    std::string firstPlaces, left;
    {
        DemoRun first(file);
        ASSERT_TRUE(first.attached);
        firstPlaces = first.Places();
        // Moved to other sides and rows (the main toolbar in a row below "Drawing"), floated
        // elsewhere, sized.
        first.Dock("Format", BFX_LEFT, SD_RECALC);
        first.Dock("Drawing", BFX_BOTTOM, SD_RECALC);
        demo::DockedBar& main = first.Bar("Main");
        ASSERT_EQ(SetDock(main.window, first.frame, 0, 40, 0, 0, main.look | BFX_BOTTOM, nullptr,
                          SD_ATTACH | SD_FLAGS | SD_POSITION | SD_BOTTOM | SD_RECALC),
                  1);
        demo::DockedBar& colours = first.Bar("Colours");
        ASSERT_EQ(SetDock(colours.window, first.frame, 300, 330, 0, 0, colours.look | BFX_FLOATING | BFX_TOP,
                          nullptr, SD_ATTACH | SD_FLAGS | SD_POSITION | SD_FLOAT),
                  1);
        ASSERT_EQ(SetDock(first.Bar("Properties").window, nullptr, 0, 0, 230, 0, 0, nullptr,
                          SD_SIZE | SD_RIGHT | SD_RECALC),
                  1);
        left = first.Places();
        ASSERT_NE(left, firstPlaces);
        ASSERT_TRUE(demo::SaveLayout(first.bars, file));
    }
    {
        DemoRun second(file);
        EXPECT_EQ(second.Places(), left);
    }

    // A file with nothing that reads as a record gives the first places again.
    FILE* damaged = std::fopen(file.c_str(), "w");
    ASSERT_TRUE(damaged);
    std::fputs("Format 1 7 0 0 20 20\nDrawing one 0 0 0 0 0\n\nColours\n", damaged);
    std::fclose(damaged);
    {
        DemoRun third(file);
        EXPECT_EQ(third.Places(), firstPlaces);
    }
    DeleteFileA(file.c_str());
}

}  // namespace
