// Image lists of tree views and tab controls extended with CCF_TREEVIEW or CCF_NOTEBOOK: the
// library keeps the lists, places the host's icons in them and destroys each icon once placed.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace varnex {

struct CCtrlClassFx;

// Tree-view fields of a CCtrlClassFx.
struct TreeImages {
    int iconSize;              // width and height of the images of both lists
    int defaultImage;          // normal-list index items show by default; -2: none set
    int defaultSelectedImage;  // the same for selected items
    HIMAGELIST normalList;
    HIMAGELIST stateList;  // made on the first state icon
};

// Notebook fields of a CCtrlClassFx.
struct NoteImages {
    int iconSize;
    HIMAGELIST imageList;  // made by SNB_ICONSIZE or the first icon
};

inline constexpr int kNoImageSet = -2;

// Replaces image `index` when the list has it, otherwise appends; the image's index or -1.
// The icon is left to the caller.
int PlaceIcon(HIMAGELIST list, int index, HICON icon);

// A new, empty normal list of `size` (0: the current list's size) in place of the current one.
void ResetTreeImageList(CCtrlClassFx* object, int size);
// Places the icon in the normal list (STV_NORMAL or STV_NORMALEX in `flags`) or in the state
// list, and destroys it; the image's index or -1.
int PutTreeIcon(CCtrlClassFx* object, int index, HICON icon, UINT flags);

// Makes the notebook's list once; 1 when a list was made now.
int ResetNoteImageList(CCtrlClassFx* object, int size);
// Places the icon in the notebook's list (made at 16 pixels if needed) and destroys it.
int PutNoteIcon(CCtrlClassFx* object, int index, HICON icon);

}  // namespace varnex
