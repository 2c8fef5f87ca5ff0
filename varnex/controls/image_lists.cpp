#include "controls/image_lists.h"

#include "controls/ctrl_class.h"
#include "varnex.h"

namespace varnex {

namespace {

constexpr UINT kListFlags = ILC_COLORDDB | ILC_MASK;
constexpr UINT kToNormalList = STV_NORMAL | STV_NORMALEX;

// Icon handles and item handles arrive as 32-bit integers.
HICON AsIcon(int value) { return reinterpret_cast<HICON>(static_cast<INT_PTR>(value)); }

HIMAGELIST MakeList(int size, int initialCount) {
    return ImageList_Create(size, size, kListFlags, initialCount, 1);
}

// The tree view's image-list messages go to its class procedure, past every subclass.
HIMAGELIST TreeList(const CCtrlClassFx* object, WPARAM which) {
    return reinterpret_cast<HIMAGELIST>(CallClassProc(object, TVM_GETIMAGELIST, which, 0));
}

// The list the tab control holds now.
HIMAGELIST NoteList(const CCtrlClassFx* object) {
    return reinterpret_cast<HIMAGELIST>(SendMessageA(object->hwnd, TCM_GETIMAGELIST, 0, 0));
}

// Hands a list the library made to the control. A window that does not take it (not a tree view
// at all) leaves it to nobody: the list goes again, and false says so.
bool GiveTreeList(const CCtrlClassFx* object, WPARAM which, HIMAGELIST made) {
    CallClassProc(object, TVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(made));
    if (TreeList(object, which) == made) return true;
    ImageList_Destroy(made);
    return false;
}

// The state list is made on its first icon, which it also keeps as image 0: state images
// proper start at 1.
void MakeStateList(CCtrlClassFx* object, HICON first) {
    TreeImages& tree = object->tree;
    HIMAGELIST made = MakeList(tree.iconSize, 3);
    if (!made) return;  // the tree view keeps what it has
    ImageList_ReplaceIcon(made, -1, first);
    HIMAGELIST old = TreeList(object, TVSIL_STATE);
    if (!GiveTreeList(object, TVSIL_STATE, made)) return;
    tree.stateList = made;
    // Destroyed only once the tree view no longer holds it; never the normal list we keep.
    if (old && old != tree.normalList) ImageList_Destroy(old);
}

// A list the library made, while the control still holds it. The host may put a list of its own
// in its place and destroy ours: the library then forgets it and never touches it again.
HIMAGELIST HeldList(const CCtrlClassFx* object, WPARAM which, HIMAGELIST& kept) {
    if (kept && TreeList(object, which) != kept) kept = nullptr;
    return kept;
}

// PutTreeIcon without destroying the icon, for calls that place one handle twice.
int PlaceTreeIcon(CCtrlClassFx* object, int index, HICON icon, UINT flags) {
    if (!icon) return -1;
    TreeImages& tree = object->tree;
    if (flags & kToNormalList) return PlaceIcon(HeldList(object, TVSIL_NORMAL, tree.normalList), index, icon);
    if (!HeldList(object, TVSIL_STATE, tree.stateList)) MakeStateList(object, icon);
    return PlaceIcon(tree.stateList, index, icon);
}

// Each handle once, however often it was placed.
void DestroyIcons(HICON first, HICON second) {
    if (first) DestroyIcon(first);
    if (second && second != first) DestroyIcon(second);
}

// The image of an item for `icon`: the item's own image is replaced, the shared default never
// is (a new image is appended); no image placed means the default.
int ItemImage(CCtrlClassFx* object, int current, int fallback, HICON icon, UINT flags) {
    const int placed = PlaceTreeIcon(object, current == fallback ? -1 : current, icon, flags);
    return placed == -1 ? fallback : placed;
}

int PackIndices(int image, int selectedImage) {
    return static_cast<int>(MAKELONG(static_cast<WORD>(image), static_cast<WORD>(selectedImage)));
}

int SetItemImages(CCtrlClassFx* object, HTREEITEM handle, int first, int second, UINT flags) {
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = handle;
    if (!SendMessageA(object->hwnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    if (flags & STV_SETINDEX) {
        if (first) item.iImage = first;
        if (second) item.iSelectedImage = second;
    } else {
        const TreeImages& tree = object->tree;
        item.iImage = ItemImage(object, item.iImage, tree.defaultImage, AsIcon(first), flags);
        item.iSelectedImage = ItemImage(object, item.iSelectedImage, tree.defaultSelectedImage,
                                        AsIcon(second), flags);
        DestroyIcons(AsIcon(first), AsIcon(second));
    }
    if (!SendMessageA(object->hwnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return PackIndices(item.iImage, item.iSelectedImage);
}

// Value 0: the default images of the normal list, or state images 1 and 2.
void SetTreeDefaults(CCtrlClassFx* object, HICON first, HICON second, UINT flags) {
    TreeImages& tree = object->tree;
    if (flags & kToNormalList) {
        // One icon alone serves for both defaults.
        int image = PlaceTreeIcon(object, 0, first, flags);
        if (image == -1) image = PlaceTreeIcon(object, 0, second, flags);
        if (image != -1) tree.defaultImage = image;
        int selected = PlaceTreeIcon(object, 1, second, flags);
        if (selected == -1) selected = PlaceTreeIcon(object, 1, first, flags);
        if (selected != -1) tree.defaultSelectedImage = selected;
        DestroyIcons(first, second);
        return;
    }
    HICON placedSecond = nullptr, placedFirst = nullptr;
    if (flags & STV_STATE1) {
        PlaceTreeIcon(object, 1, second, flags);
        placedSecond = second;
    }
    if (flags & STV_STATE2) {
        PlaceTreeIcon(object, 2, first, flags);
        placedFirst = first;
    }
    DestroyIcons(placedSecond, placedFirst);
}

}  // namespace

int PlaceIcon(HIMAGELIST list, int index, HICON icon) {
    if (!list || !icon) return -1;
    // A negative index other than -1 stays as it is, and fails.
    return ImageList_ReplaceIcon(list, ImageList_GetImageCount(list) > index ? index : -1, icon);
}

void ResetTreeImageList(CCtrlClassFx* object, int size) {
    TreeImages& tree = object->tree;
    HIMAGELIST old = TreeList(object, TVSIL_NORMAL);
    int cx = 0, cy = 0;
    if (old && size == 0 && ImageList_GetIconSize(old, &cx, &cy)) size = cx;
    // The new list is made before the old one goes: a size no list can have leaves the tree
    // view its images, and the tree view never holds a destroyed list.
    HIMAGELIST made = MakeList(size, 5);
    if (!made || !GiveTreeList(object, TVSIL_NORMAL, made)) return;
    tree.iconSize = size;
    tree.normalList = made;
    if (old && old != tree.stateList) ImageList_Destroy(old);
}

int PutTreeIcon(CCtrlClassFx* object, int index, HICON icon, UINT flags) {
    const int placed = PlaceTreeIcon(object, index, icon, flags);
    if (icon) DestroyIcon(icon);
    return placed;
}

int ResetNoteImageList(CCtrlClassFx* object, int size) {
    NoteImages& note = object->note;
    if (note.imageList) return 0;
    HIMAGELIST made = MakeList(size, 2);
    if (!made) return 0;  // the tab control keeps what it has
    HIMAGELIST old = NoteList(object);
    SendMessageA(object->hwnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(made));
    // Not a tab control after all: nobody would hold the list.
    if (NoteList(object) != made) {
        ImageList_Destroy(made);
        return 0;
    }
    note.iconSize = size;
    note.imageList = made;
    if (old) ImageList_Destroy(old);
    return 1;
}

int PutNoteIcon(CCtrlClassFx* object, int index, HICON icon) {
    // A list the host put in place of ours is the host's: a new one of ours is made.
    HIMAGELIST& kept = object->note.imageList;
    if (kept && NoteList(object) != kept) kept = nullptr;
    if (!kept) ResetNoteImageList(object, 16);
    const int placed = PlaceIcon(object->note.imageList, index, icon);
    if (icon) DestroyIcon(icon);
    return placed;
}

}  // namespace varnex

using namespace varnex;

namespace {

// SetTreeView's two groups of flags: changes of the normal list, and where icons go.
constexpr UINT kListChanges = 0xF0;
static_assert((STV_ICONSIZE | STV_APPEND | STV_REMOVE) & kListChanges);
constexpr UINT kIconPlacements = 0xF00;
static_assert((STV_NORMAL | STV_NORMALEX | STV_STATE2 | STV_STATE1) == kIconPlacements);

}  // namespace

extern "C" int WINAPI SetTreeView(HWND treeView, int value, int first, int second, UINT flags) {
    // Only a tree-view extension has the fields below.
    CCtrlClassFx* object = GetCtrlClassObject(treeView, kKindTreeView);
    if (!object) return 0;
    if (flags & kListChanges) {
        if (flags & STV_APPEND) return PutTreeIcon(object, -1, AsIcon(first), STV_NORMAL);
        if (flags & STV_ICONSIZE)
            ResetTreeImageList(object, value);
        else if (flags & STV_REMOVE)
            ImageList_Remove(HeldList(object, TVSIL_NORMAL, object->tree.normalList), value);
    }
    if (!(flags & kIconPlacements)) return 1;
    if (value) {
        auto item = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(value));
        return SetItemImages(object, item, first, second, flags);
    }
    // With STV_SETINDEX first and second are image indices: never placed, never destroyed.
    if (!(flags & STV_SETINDEX)) SetTreeDefaults(object, AsIcon(first), AsIcon(second), flags);
    return 1;
}

extern "C" int WINAPI SetNoteBook(HWND tabControl, int value, HICON icon, UINT flags) {
    CCtrlClassFx* object = GetCtrlClassObject(tabControl, kKindNoteBook);
    if (!object) return 0;
    if (flags & SNB_ICONSIZE) return ResetNoteImageList(object, value);
    if (!(flags & SNB_IMAGE)) return 1;
    if (!icon) return 0;
    TCITEMA tab{};
    tab.mask = TCIF_IMAGE;
    if (!SendMessageA(tabControl, TCM_GETITEMA, value, reinterpret_cast<LPARAM>(&tab))) return 0;
    // A tab without image gets a new one; a tab's own image (shared by any tab that shows the
    // same index) is replaced.
    tab.iImage = PutNoteIcon(object, tab.iImage, icon);
    return SendMessageA(tabControl, TCM_SETITEMA, value, reinterpret_cast<LPARAM>(&tab)) ? 1 : 0;
}
