// Control class extensions: kinds, the wheel filter, detaching, and the image lists of tree views
// and tab controls as a host sees them.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <set>
#include <utility>
#include <vector>

#include "controls/ctrl_class.h"
#include "hostkit.h"
#include "census.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::ProcOf;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kCyan = RGB(0, 255, 255), kWhite = RGB(255, 255, 255);

// The bitmaps of an opaque 16-pixel icon of one colour; each Make() is a new icon.
class IconBits {
public:
    explicit IconBits(COLORREF color) {
        HDC screen = GetDC(nullptr);
        color_ = CreateCompatibleBitmap(screen, 16, 16);
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, color_);
        SetBkColor(dc, color);
        RECT all{0, 0, 16, 16};
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        const WORD zeros[16] = {};
        mask_ = CreateBitmap(16, 16, 1, 1, zeros);
    }
    ~IconBits() {
        DeleteObject(mask_);
        DeleteObject(color_);
    }
    HICON Make() const {
        ICONINFO info{TRUE, 0, 0, mask_, color_};
        return CreateIconIndirect(&info);
    }

private:
    HBITMAP color_, mask_;
};

HICON SolidIcon(COLORREF color) { return IconBits(color).Make(); }

int Arg(HICON icon) { return static_cast<int>(reinterpret_cast<INT_PTR>(icon)); }
int Arg(HTREEITEM item) { return static_cast<int>(reinterpret_cast<INT_PTR>(item)); }

bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    return true;
}

// ImageList_GetImageCount answers 0 for a dead list too; the icon size fails.
bool ListAlive(HIMAGELIST list) {
    int cx, cy;
    return ImageList_GetIconSize(list, &cx, &cy) != FALSE;
}

int IconSizeOf(HIMAGELIST list) {
    int cx = -1, cy = -1;
    ImageList_GetIconSize(list, &cx, &cy);
    return cx == cy ? cx : -1;
}

// The colour in the middle of image `index`.
COLORREF ImageColor(HIMAGELIST list, int index) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bits = CreateCompatibleBitmap(screen, 64, 64);
    HGDIOBJ old = SelectObject(dc, bits);
    ImageList_Draw(list, index, dc, 0, 0, ILD_NORMAL);
    const int middle = IconSizeOf(list) / 2;
    const COLORREF color = GetPixel(dc, middle, middle);
    SelectObject(dc, old);
    DeleteObject(bits);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return color;
}

HIMAGELIST TreeList(HWND tree, int which) {
    return reinterpret_cast<HIMAGELIST>(SendMessageA(tree, TVM_GETIMAGELIST, which, 0));
}

HIMAGELIST TabList(HWND tabs) {
    return reinterpret_cast<HIMAGELIST>(SendMessageA(tabs, TCM_GETIMAGELIST, 0, 0));
}

HTREEITEM AddItem(HWND tree, int image, int selectedImage) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

std::pair<int, int> ItemImages(HWND tree, HTREEITEM item) {
    TVITEMA query{};
    query.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    query.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    return {query.iImage, query.iSelectedImage};
}

int TabImage(HWND tabs, int index, int set = -3) {
    TCITEMA tab{};
    tab.mask = TCIF_IMAGE;
    tab.iImage = set;
    SendMessageA(tabs, set == -3 ? TCM_GETITEMA : TCM_SETITEMA, index,
                 reinterpret_cast<LPARAM>(&tab));
    return tab.iImage;
}

// SetTreeView's item result: image index in the low half, selected-image index in the high.
int Packed(int image, int selectedImage) {
    return static_cast<int>((image & 0xFFFF) | (selectedImage << 16));
}

// A host frame with real tree views and tab controls in it. The lists the library gives the
// controls stay with them, so the host (here, TearDown) destroys them after the controls.
class Controls : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(frame_ = hostkit::CreateSdiFrame("controls", 0, 0, 400, 300));
    }

    void TearDown() override {
        std::set<HIMAGELIST> lists;
        for (HWND control : controls_) {
            if (!IsWindow(control)) continue;
            lists.insert({TreeList(control, TVSIL_NORMAL), TreeList(control, TVSIL_STATE),
                          TabList(control)});
        }
        DestroyWindow(frame_);
        for (HIMAGELIST list : lists)
            if (list) ImageList_Destroy(list);
    }

    HWND Control(const char* cls) {
        HWND control = CreateWindowExA(0, cls, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 200, 150,
                                       frame_, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_TRUE(control) << cls;
        controls_.push_back(control);
        return control;
    }

    HWND Tree() { return Control(WC_TREEVIEWA); }

    HWND Tabs(int count) {
        HWND tabs = Control(WC_TABCONTROLA);
        TCITEMA tab{};
        tab.mask = TCIF_IMAGE;
        tab.iImage = -1;
        for (int i = 0; i < count; ++i)
            SendMessageA(tabs, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&tab));
        return tabs;
    }

    // A tree view extended as such, with 16-pixel lists.
    HWND ExtendedTree() {
        HWND tree = Tree();
        EXPECT_EQ(AttachClass(tree, CCF_TREEVIEW), 1);
        EXPECT_EQ(SetTreeView(tree, 16, 0, 0, STV_ICONSIZE), 1);
        return tree;
    }

    HWND frame_ = nullptr;
    std::vector<HWND> controls_;
};

// ---- the extension --------------------------------------------------------------------------

TEST_F(Controls, KindIsTheLowFourBitsAndTheFirstKindStays) {
    HWND tree = Tree();
    for (UINT flags : {0u, 3u, 5u, 6u, 7u, 8u, 9u, 10u, 11u, 12u, 13u, 14u, 15u, 0x10u, 0x13u}) {
        EXPECT_EQ(AttachClass(tree, flags), 0) << flags;
        EXPECT_FALSE(GetPropA(tree, kCtrlClassProp)) << flags;
    }
    const WNDPROC own = ProcOf(tree);
    ASSERT_EQ(AttachClass(tree, 0x12), 1);
    ASSERT_TRUE(GetPropA(tree, kCtrlClassProp));
    EXPECT_EQ(GetWindowObjectAs<CCtrlClassFx>(tree, kCtrlClassProp)->flags, 0x12u);  // kept whole
    EXPECT_TRUE(TreeList(tree, TVSIL_NORMAL));  // a tree-view extension gives the normal list
    EXPECT_EQ(AttachClass(tree, CCF_NOWHEEL), 1);
    EXPECT_EQ(AttachClass(tree, CCF_NOTEBOOK), 1);
    EXPECT_EQ(GetWindowObjectAs<CCtrlClassFx>(tree, kCtrlClassProp)->flags, 0x12u);
    EXPECT_EQ(LiveWindowObjects(), 1);

    // Detached once: procedure back, property gone, the list left with the control.
    HIMAGELIST list = TreeList(tree, TVSIL_NORMAL);
    EXPECT_EQ(DetachClass(tree), 1);
    EXPECT_EQ(DetachClass(tree), 0);
    EXPECT_EQ(ProcOf(tree), own);
    EXPECT_FALSE(GetPropA(tree, kCtrlClassProp));
    EXPECT_EQ(TreeList(tree, TVSIL_NORMAL), list);
    EXPECT_TRUE(ListAlive(list));

    // Plain first, tree view second: the plain extension stays and has no images to set.
    ASSERT_EQ(AttachClass(tree, CCF_NOWHEEL), 1);
    EXPECT_EQ(AttachClass(tree, CCF_TREEVIEW), 1);
    EXPECT_EQ(SendMessageA(tree, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0), 0);
    EXPECT_EQ(SetTreeView(tree, 16, 0, 0, STV_ICONSIZE), 0);
    EXPECT_EQ(TreeList(tree, TVSIL_NORMAL), list);
}

TEST_F(Controls, TheWheelNeverReachesAPlainExtension) {
    HWND view = hostkit::CreateView(frame_, 0x200, 0, 0, 100, 100);
    ASSERT_EQ(AttachClass(view, CCF_NOWHEEL), 1);
    hostkit::Recorder recorder;
    recorder.Watch(view);
    EXPECT_EQ(SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(5, 5)), 0);
    SendMessageA(view, WM_USER + 7, 11, 22);  // anything else goes through unchanged
    const hostkit::Expected passedOn{WM_USER + 7, hostkit::kMatchWParam | hostkit::kMatchLParam, 11, 22};
    EXPECT_EQ(recorder.Compare(view, {passedOn}, false), "");
    ASSERT_EQ(DetachClass(view), 1);
    SendMessageA(view, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(recorder.Count(view, WM_MOUSEWHEEL), 1u);
}

TEST_F(Controls, RefusalsTouchNothing) {
    HWND stale = Tree();
    DestroyWindow(stale);
    HWND tabs = Tabs(1);
    HIMAGELIST hostList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    SendMessageA(tabs, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hostList));
    ASSERT_EQ(AttachClass(tabs, CCF_NOTEBOOK), 1);
    HWND tree = Tree();
    ASSERT_EQ(AttachClass(tree, CCF_TREEVIEW), 1);
    HIMAGELIST treeList = TreeList(tree, TVSIL_NORMAL);
    HWND plain = Tree();
    ASSERT_EQ(AttachClass(plain, CCF_NOWHEEL), 1);

    HICON icon = SolidIcon(kRed);
    // Not a window of this process: nothing is attached (the desktop belongs to another one).
    for (HWND bad : {HWND{}, stale, reinterpret_cast<HWND>(-1), GetDesktopWindow()}) {
        for (UINT kind : {CCF_NOWHEEL, CCF_TREEVIEW, CCF_NOTEBOOK})
            EXPECT_EQ(AttachClass(bad, kind), 0);
        EXPECT_EQ(DetachClass(bad), 0);
    }
    EXPECT_FALSE(GetPropA(GetDesktopWindow(), kCtrlClassProp));
    EXPECT_EQ(LiveWindowObjects(), 3);
    // Each export on any other window, or another kind of extension.
    for (HWND other : {HWND{}, stale, tabs, plain}) {
        EXPECT_EQ(SetTreeView(other, 16, Arg(icon), 0, STV_ICONSIZE | STV_NORMAL), 0);
        EXPECT_EQ(SetTreeView(other, 0, Arg(icon), 0, STV_APPEND), 0);
    }
    for (HWND other : {HWND{}, stale, tree, plain}) {
        EXPECT_EQ(SetNoteBook(other, 16, nullptr, SNB_ICONSIZE), 0);
        EXPECT_EQ(SetNoteBook(other, 0, icon, SNB_IMAGE), 0);
    }
    EXPECT_TRUE(IconAlive(icon));
    EXPECT_EQ(TabList(tabs), hostList);
    EXPECT_TRUE(ListAlive(hostList));
    EXPECT_EQ(TreeList(tree, TVSIL_NORMAL), treeList);
    EXPECT_FALSE(TreeList(plain, TVSIL_NORMAL));
    DestroyIcon(icon);
}

// What a subclass below the extension sees while the control is destroyed.
struct DestroyWitness {
    WNDPROC below;
    bool detach;  // the host detaches from its own WM_DESTROY handling
    WNDPROC procAtDestroy;
    bool propertyAtDestroy, propertyAtNcDestroy;
} g_witness;

LRESULT CALLBACK WitnessProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        g_witness.procAtDestroy = ProcOf(hwnd);
        g_witness.propertyAtDestroy = GetPropA(hwnd, kCtrlClassProp) != nullptr;
        if (g_witness.detach) DetachClass(hwnd);
    } else if (message == WM_NCDESTROY) {
        g_witness.propertyAtNcDestroy = GetPropA(hwnd, kCtrlClassProp) != nullptr;
    }
    return CallWindowProcA(g_witness.below, hwnd, message, wParam, lParam);
}

TEST_F(Controls, DestroyedControlsReleaseTheirExtensionInTheOrderOfTheKind) {
    for (bool detach : {false, true}) {
        for (UINT kind : {CCF_NOWHEEL, CCF_TREEVIEW, CCF_NOTEBOOK}) {
            SCOPED_TRACE(testing::Message()
                         << "kind " << kind << (detach ? ", host detaches" : ""));
            HWND control = kind == CCF_NOTEBOOK ? Tabs(1) : Tree();
            g_witness = {ProcOf(control), detach, nullptr, false, true};
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WitnessProc));
            ASSERT_EQ(AttachClass(control, kind), 1);
            HIMAGELIST made = TreeList(control, TVSIL_NORMAL);
            DestroyWindow(control);
            // A plain extension leaves the chain before the control hears WM_DESTROY, the image
            // kinds after; all are registered then, and none is by WM_NCDESTROY.
            EXPECT_EQ(g_witness.procAtDestroy,
                      kind == CCF_NOWHEEL ? WitnessProc : CtrlClassWndProc);
            EXPECT_TRUE(g_witness.propertyAtDestroy);
            EXPECT_FALSE(g_witness.propertyAtNcDestroy);
            EXPECT_EQ(LiveWindowObjects(), 0);
            EXPECT_EQ(DetachClass(control), 0);
            // The list outlives its control, for the host to destroy: the library left it.
            if (made) {
                EXPECT_TRUE(ImageList_Destroy(made));
            }
        }
    }
}

// ---- tree views -----------------------------------------------------------------------------

TEST_F(Controls, DefaultImagesAndItemImages) {
    HWND tree = ExtendedTree();
    HIMAGELIST list = TreeList(tree, TVSIL_NORMAL);
    HTREEITEM item = AddItem(tree, 5, 6);
    // No defaults yet: an item without icons gets -2 for both.
    EXPECT_EQ(SetTreeView(tree, Arg(item), 0, 0, STV_NORMAL), Packed(-2, -2));
    EXPECT_EQ(ItemImages(tree, item), std::make_pair(-2, -2));

    // One icon serves for both defaults: images 0 and 1 on an empty list.
    HICON red = SolidIcon(kRed);
    EXPECT_EQ(SetTreeView(tree, 0, Arg(red), 0, STV_NORMAL), 1);
    EXPECT_FALSE(IconAlive(red));
    ASSERT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_EQ(ImageColor(list, 0), kRed);
    EXPECT_EQ(ImageColor(list, 1), kRed);
    EXPECT_EQ(SetTreeView(tree, Arg(item), 0, 0, STV_NORMAL), Packed(0, 1));
    HICON white = SolidIcon(kWhite);  // the second alone replaces both
    EXPECT_EQ(SetTreeView(tree, 0, 0, Arg(white), STV_NORMALEX), 1);
    EXPECT_FALSE(IconAlive(white));
    ASSERT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_EQ(ImageColor(list, 0), kWhite);

    // An item on the defaults gets images of its own, appended; the defaults stay.
    HICON green = SolidIcon(kGreen), blue = SolidIcon(kBlue);
    EXPECT_EQ(SetTreeView(tree, Arg(item), Arg(green), Arg(blue), STV_NORMAL), Packed(2, 3));
    EXPECT_FALSE(IconAlive(green));
    EXPECT_FALSE(IconAlive(blue));
    EXPECT_EQ(ItemImages(tree, item), std::make_pair(2, 3));
    ASSERT_EQ(ImageList_GetImageCount(list), 4);
    EXPECT_EQ(ImageColor(list, 1), kWhite);
    EXPECT_EQ(ImageColor(list, 2), kGreen);
    EXPECT_EQ(ImageColor(list, 3), kBlue);

    // Its own images are replaced in place; one handle for both is placed twice, destroyed once.
    HICON cyan = SolidIcon(kCyan);
    EXPECT_EQ(SetTreeView(tree, Arg(item), Arg(cyan), Arg(cyan), STV_NORMAL), Packed(2, 3));
    EXPECT_FALSE(IconAlive(cyan));
    ASSERT_EQ(ImageList_GetImageCount(list), 4);
    EXPECT_EQ(ImageColor(list, 2), kCyan);
    EXPECT_EQ(ImageColor(list, 3), kCyan);

    // Both icons null: back to the defaults. An item that is gone: 0.
    EXPECT_EQ(SetTreeView(tree, Arg(item), 0, 0, STV_NORMAL), Packed(0, 1));
    EXPECT_EQ(ItemImages(tree, item), std::make_pair(0, 1));
    SendMessageA(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(SetTreeView(tree, Arg(item), 0, 0, STV_NORMAL), 0);
}

TEST_F(Controls, SetIndexActsOnlyWithAListFlagAndAnItem) {
    HWND tree = ExtendedTree();
    HTREEITEM item = AddItem(tree, 4, 5);
    EXPECT_EQ(SetTreeView(tree, Arg(item), 7, 8, STV_SETINDEX), 1);
    EXPECT_EQ(ItemImages(tree, item), std::make_pair(4, 5));
    EXPECT_EQ(SetTreeView(tree, Arg(item), 3, 0, STV_SETINDEX | STV_NORMAL), Packed(3, 5));
    EXPECT_EQ(ItemImages(tree, item), std::make_pair(3, 5));

    // Without an item, indices are still not icons: nothing is placed or destroyed.
    HICON icon = SolidIcon(kRed);
    EXPECT_EQ(SetTreeView(tree, 0, Arg(icon), Arg(icon), STV_SETINDEX | STV_NORMAL | STV_STATE1),
              1);
    EXPECT_TRUE(IconAlive(icon));
    EXPECT_EQ(ImageList_GetImageCount(TreeList(tree, TVSIL_NORMAL)), 0);
    EXPECT_FALSE(TreeList(tree, TVSIL_STATE));
    DestroyIcon(icon);
}

TEST_F(Controls, StateImagesStartAtOne) {
    HWND tree = ExtendedTree();
    HIMAGELIST hostList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(hostList));

    HICON red = SolidIcon(kRed);
    EXPECT_EQ(SetTreeView(tree, 0, 0, Arg(red), STV_STATE1), 1);
    EXPECT_FALSE(IconAlive(red));
    HIMAGELIST state = TreeList(tree, TVSIL_STATE);
    EXPECT_FALSE(ListAlive(hostList));
    EXPECT_EQ(IconSizeOf(state), 16);
    ASSERT_EQ(ImageList_GetImageCount(state), 2);  // the first icon also fills image 0
    EXPECT_EQ(ImageColor(state, 0), kRed);
    EXPECT_EQ(ImageColor(state, 1), kRed);

    // Second icon to 1, first to 2, in the same list; STV_STATE2 alone leaves the second icon.
    HICON green = SolidIcon(kGreen), blue = SolidIcon(kBlue);
    EXPECT_EQ(SetTreeView(tree, 0, Arg(green), Arg(blue), STV_STATE1 | STV_STATE2), 1);
    HICON white = SolidIcon(kWhite), kept = SolidIcon(kCyan);
    EXPECT_EQ(SetTreeView(tree, 0, Arg(white), Arg(kept), STV_STATE2), 1);
    EXPECT_FALSE(IconAlive(green) || IconAlive(blue) || IconAlive(white));
    EXPECT_TRUE(IconAlive(kept));
    EXPECT_EQ(TreeList(tree, TVSIL_STATE), state);
    ASSERT_EQ(ImageList_GetImageCount(state), 3);
    EXPECT_EQ(ImageColor(state, 0), kRed);
    EXPECT_EQ(ImageColor(state, 1), kBlue);
    EXPECT_EQ(ImageColor(state, 2), kWhite);
    EXPECT_EQ(ImageList_GetImageCount(TreeList(tree, TVSIL_NORMAL)), 0);
    DestroyIcon(kept);
}

TEST_F(Controls, IconSizeRebuildsTheNormalList) {
    // Extending takes the size of the list the tree view had, and destroys that list.
    HWND tree = Tree();
    HIMAGELIST hostList = ImageList_Create(24, 24, ILC_COLOR24 | ILC_MASK, 1, 1);
    SendMessageA(tree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(hostList));
    ASSERT_EQ(AttachClass(tree, CCF_TREEVIEW), 1);
    HIMAGELIST first = TreeList(tree, TVSIL_NORMAL);
    EXPECT_FALSE(ListAlive(hostList));
    EXPECT_EQ(IconSizeOf(first), 24);
    EXPECT_EQ(SetTreeView(tree, 0, Arg(SolidIcon(kRed)), 0, STV_APPEND), 0);

    // Size 0 keeps the size and empties the list.
    EXPECT_EQ(SetTreeView(tree, 0, 0, 0, STV_ICONSIZE), 1);
    HIMAGELIST second = TreeList(tree, TVSIL_NORMAL);
    EXPECT_FALSE(ListAlive(first));
    EXPECT_EQ(IconSizeOf(second), 24);
    EXPECT_EQ(ImageList_GetImageCount(second), 0);

    // A size no list can have leaves the tree view the list it has.
    EXPECT_EQ(SetTreeView(tree, 0, Arg(SolidIcon(kRed)), 0, STV_APPEND), 0);
    EXPECT_EQ(SetTreeView(tree, -5, 0, 0, STV_ICONSIZE), 1);
    EXPECT_EQ(TreeList(tree, TVSIL_NORMAL), second);
    EXPECT_EQ(ImageList_GetImageCount(second), 1);
}

TEST_F(Controls, AppendAndRemove) {
    HWND tree = ExtendedTree();
    HIMAGELIST list = TreeList(tree, TVSIL_NORMAL);
    HTREEITEM item = AddItem(tree, 9, 9);
    for (int i = 0; i < 3; ++i) {
        HICON icon = SolidIcon(i == 1 ? kGreen : kRed);
        // Append does nothing else, whatever flags and item come with it.
        EXPECT_EQ(SetTreeView(tree, Arg(item), Arg(icon), 0, STV_APPEND | STV_NORMAL), i);
        EXPECT_FALSE(IconAlive(icon));
    }
    EXPECT_EQ(ItemImages(tree, item), std::make_pair(9, 9));
    EXPECT_EQ(SetTreeView(tree, 0, 0, 0, STV_APPEND), -1);
    EXPECT_EQ(SetTreeView(tree, 0, 0, 0, STV_REMOVE), 1);
    ASSERT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_EQ(ImageColor(list, 0), kGreen);
    EXPECT_EQ(SetTreeView(tree, -1, 0, 0, STV_REMOVE), 1);
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
}

// ---- tab controls ---------------------------------------------------------------------------

// The image kinds given to windows of another class: a list such a window does not take would
// belong to nobody, so none is left behind.
TEST_F(Controls, ImageKindsOnOtherWindowsLeaveNoList) {
    // The first round also fills the system's own caches (the controls' fonts and brushes).
    for (int round = 0; round < 3; ++round) {
        for (const char* name : {"STATIC", WC_BUTTONA}) {
            SCOPED_TRACE(name);
            const long before = varnex_test::MeasureProcess().gdiObjects;
            HWND tree = Control(name), tabs = Control(name);
            // Icons the library did not place stay the host's.
            const HICON icons[] = {SolidIcon(kRed), SolidIcon(kGreen), SolidIcon(kBlue)};
            ASSERT_EQ(AttachClass(tree, CCF_TREEVIEW), 1);
            SetTreeView(tree, 24, 0, 0, STV_ICONSIZE);
            SetTreeView(tree, 0, 0, Arg(icons[0]), STV_STATE1);
            SetTreeView(tree, 0, Arg(icons[1]), 0, STV_NORMAL);
            ASSERT_EQ(AttachClass(tabs, CCF_NOTEBOOK), 1);
            SetNoteBook(tabs, 24, nullptr, SNB_ICONSIZE);
            SetNoteBook(tabs, 0, icons[2], SNB_IMAGE);
            DestroyWindow(tree);
            DestroyWindow(tabs);
            for (HICON icon : icons) DestroyIcon(icon);
            if (round > 0) {
                EXPECT_EQ(varnex_test::MeasureProcess().gdiObjects, before);
            }
        }
    }
}

TEST_F(Controls, NotebookListIsMadeOnce) {
    HWND tabs = Tabs(2);
    HIMAGELIST hostList = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 1);
    SendMessageA(tabs, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(hostList));
    ASSERT_EQ(AttachClass(tabs, CCF_NOTEBOOK), 1);
    EXPECT_EQ(TabList(tabs), hostList);  // made on first use, not on attaching

    EXPECT_EQ(SetNoteBook(tabs, 24, nullptr, SNB_ICONSIZE), 1);
    HIMAGELIST list = TabList(tabs);
    EXPECT_FALSE(ListAlive(hostList));
    EXPECT_EQ(SetNoteBook(tabs, 32, nullptr, SNB_ICONSIZE), 0);
    EXPECT_EQ(TabList(tabs), list);
    EXPECT_EQ(IconSizeOf(list), 24);
}

TEST_F(Controls, NotebookImagesAppendOrReplace) {
    HWND tabs = Tabs(3);
    ASSERT_EQ(AttachClass(tabs, CCF_NOTEBOOK), 1);
    HICON red = SolidIcon(kRed), green = SolidIcon(kGreen);
    EXPECT_EQ(SetNoteBook(tabs, 1, red, SNB_IMAGE), 1);
    HIMAGELIST list = TabList(tabs);
    EXPECT_EQ(IconSizeOf(list), 16);
    EXPECT_EQ(SetNoteBook(tabs, 0, green, SNB_IMAGE), 1);
    EXPECT_FALSE(IconAlive(red) || IconAlive(green));
    EXPECT_EQ(TabImage(tabs, 1), 0);
    EXPECT_EQ(TabImage(tabs, 0), 1);

    // Tab 2 shows tab 1's image: the image is replaced for both.
    TabImage(tabs, 2, 0);
    HICON blue = SolidIcon(kBlue);
    EXPECT_EQ(SetNoteBook(tabs, 2, blue, SNB_IMAGE), 1);
    EXPECT_FALSE(IconAlive(blue));
    EXPECT_EQ(TabImage(tabs, 2), 0);
    ASSERT_EQ(ImageList_GetImageCount(list), 2);
    EXPECT_EQ(ImageColor(list, 0), kBlue);
    EXPECT_EQ(ImageColor(list, 1), kGreen);

    // No icon, no such tab: 0; no operation: 1, and nothing done.
    HICON kept = SolidIcon(kCyan);
    EXPECT_EQ(SetNoteBook(tabs, 0, nullptr, SNB_IMAGE), 0);
    EXPECT_EQ(SetNoteBook(tabs, 7, kept, SNB_IMAGE), 0);
    EXPECT_EQ(SetNoteBook(tabs, 0, kept, 0), 1);
    EXPECT_TRUE(IconAlive(kept));
    EXPECT_EQ(ImageList_GetImageCount(list), 2);
    DestroyIcon(kept);
}

// ---- soak -----------------------------------------------------------------------------------

// Thousands of icons placed and lists rebuilt: every icon passed and every list replaced is gone,
// and the lists hold what they should.
TEST_F(Controls, SoakEveryIconAndEveryReplacedListIsDestroyed) {
    HWND tree = Tree();
    ASSERT_EQ(AttachClass(tree, CCF_TREEVIEW), 1);
    HWND tabs = Tabs(4);
    HTREEITEM items[4];
    for (HTREEITEM& item : items) item = AddItem(tree, 0, 1);
    const int sizes[] = {16, 24, 0, 32};
    int size = 0, icons = 0, iconsAlive = 0, listsAlive = 0;
    const IconBits red(kRed);
    auto Icon = [&] {
        ++icons;
        return red.Make();
    };
    auto Gone = [&](HICON icon) { iconsAlive += IconAlive(icon); };
    auto Replaced = [&](HIMAGELIST old, HIMAGELIST now) {
        listsAlive += old == now || ListAlive(old);
    };

    for (int round = 0; round < 84; ++round) {
        // The normal list: rebuilt, or taken over by a new extension.
        HIMAGELIST before = TreeList(tree, TVSIL_NORMAL);
        if (round % 3 == 2) {
            ASSERT_EQ(DetachClass(tree), 1);
            ASSERT_EQ(AttachClass(tree, CCF_TREEVIEW), 1);
        } else {
            ASSERT_EQ(SetTreeView(tree, sizes[round % 4], 0, 0, STV_ICONSIZE), 1);
            if (sizes[round % 4]) size = sizes[round % 4];
        }
        HIMAGELIST list = TreeList(tree, TVSIL_NORMAL);
        Replaced(before, list);
        ASSERT_EQ(IconSizeOf(list), size);

        HICON a = Icon(), b = Icon();
        ASSERT_EQ(SetTreeView(tree, 0, Arg(a), Arg(b), STV_NORMAL), 1);
        Gone(a);
        Gone(b);
        for (int i = 0; i < 4; ++i) {
            for (int pass = 0; pass < 2; ++pass) {  // appended, then replaced
                HICON c = Icon(), d = Icon();
                ASSERT_EQ(SetTreeView(tree, Arg(items[i]), Arg(c), Arg(d), STV_NORMAL),
                          Packed(2 + 2 * i, 3 + 2 * i));
                Gone(c);
                Gone(d);
            }
        }
        ASSERT_EQ(ImageList_GetImageCount(list), 10);
        for (HTREEITEM item : items)
            SetTreeView(tree, Arg(item), 0, 0, STV_NORMAL);  // defaults again

        // The state list: made anew by each new extension, on its first icon.
        HIMAGELIST oldState = TreeList(tree, TVSIL_STATE);
        HICON s1 = Icon(), s2 = Icon();
        ASSERT_EQ(SetTreeView(tree, 0, Arg(s2), Arg(s1), STV_STATE1 | STV_STATE2), 1);
        Gone(s1);
        Gone(s2);
        HIMAGELIST state = TreeList(tree, TVSIL_STATE);
        if (oldState && round % 3 == 2) Replaced(oldState, state);
        ASSERT_EQ(ImageList_GetImageCount(state), 3);

        // The notebook: each new extension makes a new list in place of the last one.
        HIMAGELIST oldTabs = TabList(tabs);
        ASSERT_EQ(AttachClass(tabs, CCF_NOTEBOOK), 1);
        for (int tab = 0; tab < 4; ++tab) {
            TabImage(tabs, tab, -1);
            HICON t = Icon();
            ASSERT_EQ(SetNoteBook(tabs, tab, t, SNB_IMAGE), 1);
            Gone(t);
        }
        if (oldTabs) Replaced(oldTabs, TabList(tabs));
        ASSERT_EQ(ImageList_GetImageCount(TabList(tabs)), 4);
        ASSERT_EQ(DetachClass(tabs), 1);
    }
    EXPECT_GT(icons, 2000);
    EXPECT_EQ(iconsAlive, 0) << "of " << icons << " icons passed";
    EXPECT_EQ(listsAlive, 0);
}

}  // namespace
