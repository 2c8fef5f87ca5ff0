/* Varnex: docking, floating and sizable bars, frame scroll bars, a status-bar progress control,
 * toolbar drop-down menus and image lists for hosts built on an MFC 4.x-style framework.
 *
 * Every export uses the standard Windows calling convention, takes 32-bit arguments and returns
 * an integer: 1 for success and 0 for failure unless stated otherwise. Usable from C and C++. */
#ifndef VARNEX_H
#define VARNEX_H

#include <stddef.h>
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- frames: AttachFrame flags ---------------------------------------------------------- */
#define AF_MDIFRAME        0x00000001u /* top-level frame with an "MDIClient" child */
#define AF_MDICHILD        0x00000002u /* child frame with WS_EX_MDICHILD */
#define AF_SDIFRAME        0x00000004u /* top-level frame with a view of id 0xE900 */
#define AF_CHILDFRAME      0x00000008u /* any other child window */
#define AF_KINDMASK        0x0000000Fu
#define AF_SYSMENU         0x00000010u
#define AF_TOPMOST         0x00000020u
#define AF_TOOLWINDOW      0x00000040u
#define AF_THICKFRAME      0x00000080u
#define AF_CAPTIONMOVE     0x00001000u
#define AF_BORDERSIZE      0x00002000u
#define AF_MINIMIZEBOX     0x00004000u
#define AF_MAXIMIZEBOX     0x00008000u
#define AF_REDRAWSCROLL    0x00010000u
#define AF_MERGEBORDERS    0x00100000u
#define AF_KEEPCLIENTSIZE  0x00200000u
#define AF_FLOATAUTOHIDE   0x00400000u

/* ---- frame layout request words --------------------------------------------------------- */
#define LAYOUT_MEASURE     0x0001u
#define LAYOUT_COMPUTE     0x0002u
#define LAYOUT_APPLY       0x0004u
#define LAYOUT_RECORD      0x0008u
#define LAYOUT_FITFRAME    0x0010u
#define LAYOUT_RESTORED    0x0100u
#define LAYOUT_MAXIMIZED   0x0200u
#define LAYOUT_QUERYZOOM   0x0400u
#define LAYOUT_RESERVED    0x0800u
#define LAYOUT_DEFAULT     0x0C06u

/* ---- frame state codes (wParam of WM_FXSTATE) ------------------------------------------- */
#define FXS_DETACH    3
#define FXS_DESTROY   4
#define FXS_ACTIVE    5
#define FXS_INACTIVE  6
#define FXS_RESTORE   7
#define FXS_MINIMIZE  8

/* ---- private messages, posted to a frame window ----------------------------------------- */
#define WM_FXRECALC   0x054D /* lay the frame out again */
#define WM_FXSTATE    0x054E /* wParam: FXS_* code for the frame's dock sites */

/* ---- host child ids --------------------------------------------------------------------- */
#define VNX_ID_TOOLBAR         0xE800 /* main toolbar */
#define VNX_ID_STATUSBAR       0xE801
#define VNX_ID_PROGRESS        0xE810 /* progress control inside the status bar */
#define VNX_ID_DOCK_TOP        0xE81B
#define VNX_ID_DOCK_LEFT       0xE81C
#define VNX_ID_DOCK_RIGHT      0xE81D
#define VNX_ID_DOCK_BOTTOM     0xE81E
#define VNX_ID_PANE            0xE900 /* view, MDI client, or a pane made by the library */
#define VNX_ID_MINIFRAME       0xE700 /* marks a floating window created without id */
#define VNX_ID_ADOPTED_TOOLBAR 0xE799 /* bar id of the adopted "Standard" toolbar */

/* ---- framework messages the library sends to and receives from the host ----------------- */
#ifndef WM_SIZEPARENT
#define WM_SIZEPARENT       0x0361 /* lParam: layout record; the receiver takes its room from it.
                                    * A host frame sends it to its children on every WM_SIZE: on
                                    * MDI and SDI frames the library computes there, the host's
                                    * pass places. */
#endif
#ifndef WM_SETMESSAGESTRING
#define WM_SETMESSAGESTRING 0x0362 /* lParam: text for the frame's status bar */
#endif
#ifndef WM_FLOATSTATUS
#define WM_FLOATSTATUS      0x036D /* wParam: exactly one FS_* code */
#endif

/* ---- WM_FLOATSTATUS codes (the framework may already define them) ----------------------- */
#ifndef FS_SHOW
#define FS_SHOW        0x01 /* show the floating window */
#endif
#ifndef FS_HIDE
#define FS_HIDE        0x02 /* hide the floating window */
#endif
#ifndef FS_ACTIVATE
#define FS_ACTIVATE    0x04 /* active caption; with AF_FLOATAUTOHIDE: show */
#endif
#ifndef FS_DEACTIVATE
#define FS_DEACTIVATE  0x08 /* inactive caption; with AF_FLOATAUTOHIDE: hide */
#endif
#ifndef FS_ENABLE
#define FS_ENABLE      0x10 /* enable the floating window */
#endif
#ifndef FS_DISABLE
#define FS_DISABLE     0x20 /* disable the floating window */
#endif

/* ---- bar flags (SetDock flags argument) ------------------------------------------------- */
#define BFX_HIDDEN         0x00000001u /* window hidden; the layout skips it */
#define BFX_FLOATING       0x00000004u /* floats in its own mini frame */
#define BFX_CONSTRAINED    0x00000008u /* wrapped, or stretched in a shared row */
#define BFX_TOP            0x00000010u /* docked on the top side */
#define BFX_LEFT           0x00000020u /* docked on the left side */
#define BFX_RIGHT          0x00000040u /* docked on the right side */
#define BFX_BOTTOM         0x00000080u /* docked on the bottom side */
#define BFX_HORZ           0x00000090u /* mask: top or bottom */
#define BFX_VERT           0x00000060u /* mask: left or right */
#define BFX_ALLOW_TOP      0x00000100u /* may dock on the top side */
#define BFX_ALLOW_LEFT     0x00000200u /* may dock on the left side */
#define BFX_ALLOW_RIGHT    0x00000400u /* may dock on the right side */
#define BFX_ALLOW_BOTTOM   0x00000800u /* may dock on the bottom side */
#define BFX_MOVABLE        0x00001000u /* border press starts a move drag */
#define BFX_SIZABLE        0x00002000u /* has sizing edges */
#define BFX_FLOATABLE      0x00004000u /* may float */
#define BFX_STRETCH        0x00010000u /* fills the rest of its row */
#define BFX_WRAPPABLE      0x00020000u /* toolbar buttons may wrap onto several lines */
#define BFX_ROTATE         0x00040000u /* vertical size is the horizontal size turned 90 degrees */
#define BFX_FIXED          0x00080000u /* never shrinks below its stored size in a row */
#define BFX_RAISEDBORDER   0x00100000u /* one-pixel raised outer border */
#define BFX_SUNKENBORDER   0x00200000u /* one-pixel sunken edge around the client area */
#define BFX_SPACING        0x00400000u /* one more pixel of space on each side */
#define BFX_GRIPPER        0x00800000u /* gripper band before the first button */
#define BFX_CAPTION        0x01000000u /* small caption on top of the bar */
#define BFX_STANDALONE     0x40000000u /* attached and sized by SetToolBar, no frame */

/* ---- bar size modes --------------------------------------------------------------------- */
#define BSZ_DOCKED         0x00000001u /* size for a docked bar */
#define BSZ_FLOATING       0x00000002u /* size for a floating bar (when BSZ_DOCKED is clear) */
#define BSZ_BASE           0x00000010u /* start from the bar's base size for the mode */
#define BSZ_FRAME          0x00000020u /* add borders, caption or gripper */
#define BSZ_HORZ           0x00000100u /* docked on top or bottom */
#define BSZ_VERT           0x00000200u /* docked on left or right (when BSZ_HORZ is clear) */
#define BSZ_NATURAL        0x00000400u /* natural size; selected by leaving out BSZ_STORED */
#define BSZ_STORED         0x00000800u /* stored size of the mode instead of the natural size */

/* ---- SetDock operation bits ------------------------------------------------------------- */
#define SD_ATTACH          0x00000001u /* dock or float now; with SD_FLAGS may create the bar */
#define SD_POSITION        0x00000002u /* (x, y) is the docked or floating position */
#define SD_SIZE            0x00000004u /* (cx, cy) is a stored size; components <= 0 are kept */
#define SD_FLAGS           0x00000008u /* replace the bar flags (checked), then dock or float */
#define SD_TOP             0x00000010u /* position and size refer to the top side */
#define SD_LEFT            0x00000020u /* ... the left side */
#define SD_RIGHT           0x00000040u /* ... the right side */
#define SD_BOTTOM          0x00000080u /* ... the bottom side */
#define SD_FLOAT           0x00000100u /* ... the floating state */
#define SD_RECALC          0x00001000u /* lay the frame (or mini frame) out afterwards */

/* ---- SetScrollBar flags ----------------------------------------------------------------- */
#define SSR_START          0x00000001u /* set the range; start is the second argument */
#define SSR_END            0x00000002u /* set the range; end is the third argument */
#define SSR_POS            0x00000004u /* new position; SSR_AUTO alone: show the focus */
#define SSR_LINE           0x00000008u /* fifth argument (if >= 1) is the line step */
#define SSR_HORZ           0x00000010u /* act on the horizontal bar */
#define SSR_VERT           0x00000020u /* act on the vertical bar */
#define SSR_REMOVE         0x00000100u /* remove the bar */
#define SSR_AUTO           0x00000200u /* take missing values from the pane's content */

/* ---- SetClientRange flags --------------------------------------------------------------- */
#define SSC_MIN            0x00000001u /* minimum client size from arguments 2 and 3 */
#define SSC_MAX            0x00000002u /* maximum client size, arguments 4, 5; 0: none */

/* ---- SetStatusBar flags ----------------------------------------------------------------- */
#define SSB_RANGE          0x00000003u /* set the progress range; either bit of the pair does it */
#define SSB_POS            0x00000004u /* set the progress position */
#define SSB_HIDE           0x00000100u /* hide the progress control */
#define SSB_SHOW           0x00000200u /* show the progress control; wins over SSB_HIDE */
#define SSB_TEXT           0x00000400u /* show the text in the status bar */
#define SSB_PROGRESS       0x00000800u /* act on the progress control at all */

/* ---- SetToolBar operations (one per call) ----------------------------------------------- */
#define STB_QUERY          0x00000001u /* result tells whether the toolbar has a bar */
#define STB_ATTACH         0x00000002u /* value1: new parent, 0 gives back; value2: notify */
#define STB_STYLE          0x00000004u /* value1: toolbar style; value2: extended toolbar style */
#define STB_MOVE           0x00000008u /* value1, value2: new position */
#define STB_BITMAPSIZE     0x00000010u /* value1, value2: bitmap width and height */
#define STB_BUTTONSIZE     0x00000020u /* value1: button width; value2: padding */
#define STB_AUTOSIZE       0x00000080u /* re-measure and resize a stand-alone toolbar */
/* per-button operations: value1 is the button index */
#define STB_BUTTONRECORD   0x00000100u /* pointer: ToolButtonRecord to clear and bind */
#define STB_BUTTONSTYLE    0x00000200u /* value2: style bits plus STB_SETBITS or STB_CLEARBITS */
#define STB_BUTTONSTATE    0x00000400u /* value2: state bits plus STB_SETBITS or STB_CLEARBITS */
#define STB_BUTTONTEXT     0x00001000u /* pointer: UTF-16 button text */
#define STB_BUTTONTIP      0x00002000u /* pointer: UTF-16 tooltip text, kept in the record */
#define STB_BUTTONSTATUS   0x00004000u /* pointer: UTF-16 status text, kept in the record */
#define STB_BUTTONMENU     0x00008000u /* value2: drop-down menu, kept in the record */
/* value2 bits of STB_BUTTONSTYLE and STB_BUTTONSTATE; neither means "replace" */
#define STB_SETBITS        0x00000100u /* add the low-byte bits */
#define STB_CLEARBITS      0x00000200u /* remove the low-byte bits */

/* ---- SetToolMenu selectors (one per call) ----------------------------------------------- */
#define TMI_TYPE           0x00000020u /* value: item type */
#define TMI_STATE          0x00000040u /* value: item state */
#define TMI_TEXT           0x00000100u /* address: UTF-16 item text */
#define TMI_DATA           0x00000200u /* address: UTF-16 status text of the item */
#define TMI_SUBMENU        0x00000400u /* value: submenu handle */

/* ---- AttachClass kinds (low four bits of the flags) ------------------------------------- */
#define CCF_NOWHEEL        0x00000001u /* keep WM_MOUSEWHEEL away from the control */
#define CCF_TREEVIEW       0x00000002u /* tree view whose image lists the library keeps */
#define CCF_NOTEBOOK       0x00000004u /* tab control whose image list the library keeps */

/* ---- SetTreeView flags ------------------------------------------------------------------ */
#define STV_ICONSIZE       0x00000010u /* rebuild the normal list with icon size = value */
#define STV_APPEND         0x00000020u /* append the first icon, return its index */
#define STV_REMOVE         0x00000040u /* remove image number value (-1: all) */
#define STV_NORMAL         0x00000100u /* icons go to the normal list; value 0: default images */
#define STV_NORMALEX       0x00000200u /* same as STV_NORMAL */
#define STV_STATE2         0x00000400u /* value 0: first icon becomes state image 2 */
#define STV_STATE1         0x00000800u /* value 0: second icon becomes state image 1 */
#define STV_SETINDEX       0x00001000u /* first and second are image indices, not icons */

/* ---- SetNoteBook flags ------------------------------------------------------------------ */
#define SNB_ICONSIZE       0x00000010u /* make the image list with icon size = value */
#define SNB_IMAGE          0x00000100u /* put the icon on tab number value */

/* ---- records in host memory ------------------------------------------------------------- */
/* Compile-time layout checks, usable from C89 up and from C++. */
#if defined(__cplusplus) && __cplusplus >= 201103L
#define VNX_LAYOUT_CHECK(name, cond) static_assert(cond, #name)
#elif !defined(__cplusplus) && defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define VNX_LAYOUT_CHECK(name, cond) _Static_assert(cond, #name)
#else
#define VNX_LAYOUT_CHECK(name, cond) typedef char name[(cond) ? 1 : -1]
#endif

/* A docked bar's state, passed to SetDock and kept current by the library while the bar lives.
 * The host may read it at any time. */
typedef struct tagDOCKSTATE {
    BYTE docked;    /* 1 while docked, 0 while floating */
    BYTE side;      /* 0 top, 1 left, 2 right, 3 bottom (3 while floating) */
    WORD reserved;  /* never written */
    LONG x;         /* requested docked position, or floating position (screen) */
    LONG y;
    LONG cx;        /* stored size for the current side, or the floating size */
    LONG cy;
} DOCKSTATE;

/* Per-button data of the main toolbar, bound with STB_BUTTONRECORD. The library writes the
 * first two bytes; the texts must stay alive while the button exists. */
typedef struct tagToolButtonRecord {
    BYTE fromControl;   /* 1 after a command from a control, 0 after a menu choice */
    BYTE choice;        /* low 8 bits of the id of the item last chosen from the drop-down menu */
    WORD reserved;      /* not used */
    HMENU menu;         /* drop-down menu, or 0 */
    LPCWSTR tipText;    /* tooltip text, or 0 */
    LPCWSTR statusText; /* status-bar text, or 0 */
} ToolButtonRecord;

VNX_LAYOUT_CHECK(VNX_DOCKSTATE_SIZE, sizeof(DOCKSTATE) == 20);
VNX_LAYOUT_CHECK(VNX_DOCKSTATE_DOCKED, offsetof(DOCKSTATE, docked) == 0);
VNX_LAYOUT_CHECK(VNX_DOCKSTATE_SIDE, offsetof(DOCKSTATE, side) == 1);
VNX_LAYOUT_CHECK(VNX_DOCKSTATE_RESERVED, offsetof(DOCKSTATE, reserved) == 2);
VNX_LAYOUT_CHECK(VNX_DOCKSTATE_X, offsetof(DOCKSTATE, x) == 4);
VNX_LAYOUT_CHECK(VNX_DOCKSTATE_Y, offsetof(DOCKSTATE, y) == 8);
VNX_LAYOUT_CHECK(VNX_DOCKSTATE_CX, offsetof(DOCKSTATE, cx) == 12);
VNX_LAYOUT_CHECK(VNX_DOCKSTATE_CY, offsetof(DOCKSTATE, cy) == 16);

VNX_LAYOUT_CHECK(VNX_TOOLBUTTONRECORD_SIZE, sizeof(ToolButtonRecord) == 16);
VNX_LAYOUT_CHECK(VNX_TOOLBUTTONRECORD_FROMCONTROL, offsetof(ToolButtonRecord, fromControl) == 0);
VNX_LAYOUT_CHECK(VNX_TOOLBUTTONRECORD_CHOICE, offsetof(ToolButtonRecord, choice) == 1);
VNX_LAYOUT_CHECK(VNX_TOOLBUTTONRECORD_RESERVED, offsetof(ToolButtonRecord, reserved) == 2);
VNX_LAYOUT_CHECK(VNX_TOOLBUTTONRECORD_MENU, offsetof(ToolButtonRecord, menu) == 4);
VNX_LAYOUT_CHECK(VNX_TOOLBUTTONRECORD_TIPTEXT, offsetof(ToolButtonRecord, tipText) == 8);
VNX_LAYOUT_CHECK(VNX_TOOLBUTTONRECORD_STATUSTEXT, offsetof(ToolButtonRecord, statusText) == 12);

/* ---- exports ---------------------------------------------------------------------------- */
int WINAPI AttachFrame(HWND frame, UINT flags);
int WINAPI DetachFrame(HWND frame);
int WINAPI RecalcFrame(HWND frame);
int WINAPI SetScrollBar(HWND pane, int start, int end, int position, int line, UINT flags);
int WINAPI SetClientRange(HWND pane, int minWidth, int minHeight, int maxWidth, int maxHeight,
                          UINT flags);
int WINAPI SetStatusBar(HWND window, int rangeLow, int rangeHigh, int position, LPCSTR text,
                        UINT flags);
int WINAPI SetDock(HWND bar, HWND frame, int x, int y, int cx, int cy, UINT flags,
                   DOCKSTATE *state, UINT operation);
int WINAPI UnDock(HWND bar);
int WINAPI SetToolMenu(HMENU menu, UINT item, UINT value, LPCWSTR address, UINT selector);
int WINAPI SetToolBar(HWND toolbar, int value1, int value2, void *pointer, UINT operation);
int WINAPI AttachClass(HWND control, UINT flags);
int WINAPI DetachClass(HWND control);
int WINAPI SetTreeView(HWND treeView, int value, int first, int second, UINT flags);
int WINAPI SetNoteBook(HWND tabControl, int value, HICON icon, UINT flags);

#ifdef __cplusplus
}
#endif

#endif /* VARNEX_H */
