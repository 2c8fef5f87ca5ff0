// A dockable bar: the object attached to a host child window (as a rule a toolbar) so that it can
// dock in rows along a frame's sides or float. It remembers everything the library changed on the
// window so that the window can be given back as it was found.
#pragma once

#include <windows.h>

#include "core/ptr_list.h"
#include "core/registry.h"
#include "varnex.h"

namespace varnex {

struct CDockFrameFx;
struct CDockSiteFx;
struct CMiniFrameFx;
struct CDragTrackerFx;

constexpr UINT kAdoptedBarId = VNX_ID_ADOPTED_TOOLBAR;  // marks the adopted "Standard" toolbar
// Style bits a bar never has while it is one: the library draws its borders and sizes it. A
// sizing border would also hold the window to the system's smallest track size, larger than
// many bars.
constexpr DWORD kBarStripStyles = WS_BORDER | WS_THICKFRAME;
// Extended styles a bar loses while it is one: its edges, as its borders are the library's to
// draw, and taskbar, layering, mirroring and tab-navigation styles, with bit 23, which has no
// name among the extended styles.
constexpr DWORD kExStyleBit23 = 1u << 23;
constexpr DWORD kBarStripExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_APPWINDOW | WS_EX_LAYERED |
                                    WS_EX_LAYOUTRTL | WS_EX_CONTROLPARENT | kExStyleBit23;
static_assert(~kBarStripExStyles == 0xFF30FDFF);

// The side bits of a bar's flags: where it is docked.
constexpr UINT kBarSides = BFX_HORZ | BFX_VERT;
static_assert(kBarSides == 0xF0);

// GetBarSize modes the layout and the drags ask for. "Row" sizes are those of a top or bottom
// side, "column" sizes those of a left or right one; "content" leaves the borders out.
constexpr UINT kDockedRowSize = BSZ_DOCKED | BSZ_BASE | BSZ_FRAME | BSZ_HORZ | BSZ_STORED;
constexpr UINT kDockedColumnSize = BSZ_DOCKED | BSZ_BASE | BSZ_FRAME | BSZ_VERT | BSZ_STORED;
constexpr UINT kNaturalRowSize = BSZ_DOCKED | BSZ_BASE | BSZ_FRAME | BSZ_HORZ | BSZ_NATURAL;
constexpr UINT kNaturalColumnSize = BSZ_DOCKED | BSZ_BASE | BSZ_FRAME | BSZ_VERT | BSZ_NATURAL;
constexpr UINT kNaturalRowContent = BSZ_DOCKED | BSZ_BASE | BSZ_HORZ | BSZ_NATURAL;
constexpr UINT kNaturalColumnContent = BSZ_DOCKED | BSZ_BASE | BSZ_VERT | BSZ_NATURAL;
constexpr UINT kFloatingSize = BSZ_FLOATING | BSZ_BASE | BSZ_FRAME | BSZ_STORED;
constexpr UINT kNaturalFloatingSize = BSZ_FLOATING | BSZ_BASE | BSZ_FRAME | BSZ_NATURAL;
// FitToolBar modes, to be given a side's orientation (BSZ_HORZ or BSZ_VERT): a docked bar is
// fitted without its borders, a floating one with its floating frame.
constexpr UINT kDockedContentFit = BSZ_DOCKED | BSZ_STORED;
constexpr UINT kFloatingFrameFit = BSZ_FLOATING | BSZ_FRAME | BSZ_STORED;
static_assert(kDockedRowSize == 0x931 && kDockedColumnSize == 0xA31);
static_assert(kNaturalRowSize == 0x531 && kNaturalColumnSize == 0x631);
static_assert(kNaturalRowContent == 0x511 && kNaturalColumnContent == 0x611);
static_assert(kFloatingSize == 0x832 && kNaturalFloatingSize == 0x432);
static_assert(kDockedContentFit == 0x801 && kFloatingFrameFit == 0x822);

struct CToolBarFx : RegisteredRecord {
    RECT dockRect{};           // in the dock site's client coordinates
    POINT dockPos{};           // requested docked position: row (y) and offset (x) in a horizontal site
    POINT floatPos{};          // top-left of the floating window, screen coordinates
    SIZE naturalSize{};
    SIZE horzSize{};
    SIZE vertSize{};           // a 0 component falls back to horzSize's
    SIZE floatSize{};          // likewise
    BOOL isToolBar = FALSE;
    BOOL isMainToolBar = FALSE;
    BOOL subclassed = FALSE;   // the bar procedure is on the window
    BOOL taken = FALSE;        // the window was hidden and re-styled: RestoreBar gives it back
    BOOL heldBySystem = FALSE; // minimized or maximized by the host: the system sizes it
    LONG menuCommand = 0;
    HWND toolTip = nullptr;
    HWND notifyWnd = nullptr;
    RECT origRect{};           // window rectangle at attach, in the original parent's client coordinates
    DWORD origStyle = 0;
    DWORD origExStyle = 0;
    HWND origParent = nullptr;
    WNDPROC classProc = nullptr;
    DOCKSTATE* state = nullptr;
    CDockFrameFx* frame;
    CDockSiteFx* dockSite = nullptr;
    CMiniFrameFx* miniFrame = nullptr;
    CDragTrackerFx* tracker = nullptr;
    // The button records the host bound with STB_BUTTONRECORD: the only button data the library
    // reads or writes; anything else a button carries is the host's own.
    PtrList<ToolButtonRecord> records;

    CToolBarFx(CDockFrameFx* owner, HWND window) : frame(owner) { hwnd = window; }

    // Keeps what SetDock asks for (SD_POSITION, SD_SIZE of the sides or the floating window),
    // clamped to what a window can be.
    void StoreRequestedPlace(int x, int y, int cx, int cy, UINT operation);
    // Hands the bar to another frame: out of its former frame's site, its floating window
    // re-owned. Returns the former frame, to be laid out once the bar has its new place.
    CDockFrameFx* HandOver(CDockFrameFx* to);

    // Makes the window a bar of `owner` (null: a stand-alone toolbar): its state as found is
    // kept, the property set, the bar procedure installed, the window hidden and its borders
    // taken off. Null, with the window as it was, when memory is short, the window runs the bar
    // procedure already, or the host released it meanwhile.
    static CToolBarFx* Create(CDockFrameFx* owner, HWND window, UINT childId);

    // The two halves of giving a bar back for good. BeginDiscard starts its release (false when
    // that began already), takes it out of its site and restores the window (FXS_DETACH: parent,
    // styles and rectangle too; FXS_DESTROY: the procedure only). EndDiscard lets go of what the
    // bar owns (floating window, drag), removes the property and frees the block once nothing
    // holds it. Between the two the window is the host's again while no export finds the bar.
    bool BeginDiscard(int code);
    void EndDiscard();
    // Lets go of what the bar owns: its floating window, a drag running on it.
    void ReleaseBar();
    // Puts the previous procedure back; with FXS_DETACH also parent, styles and rectangle.
    void RestoreBar(int code);
    void GetBarSize(UINT mode, SIZE* size) const;
    BOOL FitToolBar(UINT mode, SIZE* size);
    void MeasureToolBar();
    // Tells the host's state record where the bar is, and re-measures a toolbar.
    void RefreshBar();
    // The bar's placement is written here only; the drag and the exports ask for it.
    // A docked place and its sizes, as a drag found them and puts them back when cancelled.
    struct DockedPlace {
        RECT dockRect;
        POINT dockPos;
        SIZE horzSize, vertSize;
    };
    DockedPlace SavedDockedPlace() const { return {dockRect, dockPos, horzSize, vertSize}; }
    void PutBackDockedPlace(const DockedPlace& place);
    // A docked rectangle in its site's client coordinates; the position requested goes with it.
    void SetDockedRect(const RECT& rect);
    // The floating window's place, and the bar's client size in it when given.
    void SetFloatingPlace(POINT position, const SIZE* clientSize = nullptr);
    // New flags, as SetDock, the adoption of a toolbar or a stand-alone toolbar's style give them.
    void TakeFlags(UINT newFlags) { flags = newFlags; }

    // Tells the host's state record the docked position and the stored size of a side of that
    // orientation, so that a layout saved now brings the bar back as it is.
    void RecordDockedPlace(bool horizontal);
    void SetConstrained(bool on) { flags = on ? flags | BFX_CONSTRAINED : flags & ~BFX_CONSTRAINED; }
    bool IsFloating() const { return flags & BFX_FLOATING; }
    bool IsBarVisible() const { return !(flags & BFX_HIDDEN); }
    LRESULT CallClassProc(UINT message, WPARAM wParam, LPARAM lParam) const {
        return CallWindowProcA(classProc, hwnd, message, wParam, lParam);
    }

private:
    bool Attach(UINT childId);
    void RememberWindow();
    DWORD TakeToolBarRole(UINT childId);
};

// Gives a bar back completely (FXS_DETACH; FXS_DESTROY: its procedure only, the window is going)
// and releases it: the way out of UnDock, of a failed docking and of a frame's detach. Nothing
// happens to a bar whose release began already.
// With a frame, that frame is laid out again once the window is back and before the bar's
// floating window goes.
void DiscardBar(CToolBarFx* bar, int code, CDockFrameFx* relayout = nullptr);

}  // namespace varnex
