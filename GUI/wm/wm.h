#pragma once
// The window manager: every drawn area is a window in a tree under the desktop; windows are repainted
// only where they became invalid and only where no child or window above them covers the screen.
// GUI thread only.
#include <cstdint>

#include "GUI/gui_types.h"

// Message record; the data is a value or a pointer depending on the id.
struct WM_MSG_RECORD {
    int32_t MsgId;
    WM_HWINDOW hWin;     // target, filled in by delivery
    WM_HWINDOW hWinSrc;  // source, 0 here
    union {
        const void* p;
        intptr_t v;
    } Data;
};
typedef void WM_CALLBACK(WM_MSG_RECORD* msg);

inline constexpr int32_t WM_MSG_CREATE = 1;
inline constexpr int32_t WM_MSG_MOVE = 3;  // data: two int32_t dx, dy
inline constexpr int32_t WM_MSG_SIZE = 5;
inline constexpr int32_t WM_MSG_PAINT = 15;  // data: the invalid rectangle (GUI_BOX, screen coordinates)
inline constexpr int32_t WM_MSG_PRE_PAINT = 46;
inline constexpr int32_t WM_MSG_POST_PAINT = 47;

inline constexpr uint32_t WM_SF_VISIBLE = 2;
inline constexpr uint32_t WM_SF_INVALID = 32;
inline constexpr int WM_CF_SHOW = 2;  // creation style: visible at once
inline constexpr int32_t WM_MAX_NESTING = 20;

// Pool blocks are only 4-byte aligned, so the window object is packed to 4.
#pragma pack(push, 4)
struct WM_WINDOW {
    GUI_BOX rect;     // absolute screen coordinates
    GUI_BOX invalid;  // meaningful while WM_SF_INVALID is set
    WM_CALLBACK* cb;
    WM_HWINDOW hNextLin;     // window list
    WM_HWINDOW hParent;      // 0 for the desktop
    WM_HWINDOW hFirstChild;  // bottom-most child
    WM_HWINDOW hNext;        // sibling directly above
    GUI_HBLOCK hMem;         // memory device, always 0 here
    uint32_t status;
};
#pragma pack(pop)

// Window-manager state (process-wide).
struct WM_STATE {
    WM_HWINDOW hDesktop;
    int32_t numWindows;
    int32_t numInvalid;  // windows with WM_SF_INVALID
    WM_HWINDOW hFirst;   // head of the window list
    WM_HWINDOW hResume;  // where the next paint step of a pass goes on
    int32_t depth;       // message delivery nesting
    uint8_t paintInProgress;
    GUI_BOX paintRect;  // the area being painted while paintInProgress is set
};
extern WM_STATE WM_State;

// Window tree.
WM_HWINDOW WM_CreateChild(int x0, int y0, int xsize, int ysize, WM_HWINDOW parent, int style, WM_CALLBACK* cb,
                          int extraBytes);
WM_HWINDOW WM_CreateTop(int x0, int y0, int xsize, int ysize, int style, WM_CALLBACK* cb, int extraBytes);
void WM_Show(WM_HWINDOW h);
void WM_Hide(WM_HWINDOW h);
int WM_IsShown(WM_HWINDOW h);
void WM_MoveToPos(WM_HWINDOW h, int x, int y);
// Popups and the home page's lists size their windows; the tests read the tree through the getters.
int WM_SetHeight(WM_HWINDOW h, int ysize);
void WM_ResizeBy(WM_HWINDOW h, int dx, int dy);
WM_HWINDOW WM_Select(WM_HWINDOW h);
WM_HWINDOW WM_GetSelected();
int WM_GetLeft(WM_HWINDOW h);
int WM_GetTop(WM_HWINDOW h);
int WM_GetWidth(WM_HWINDOW h);
int WM_GetHeight(WM_HWINDOW h);
// Tests read the window tree through these.
WM_HWINDOW WM_GetDesktop();
WM_HWINDOW WM_GetParent(WM_HWINDOW h);
void WM_Setup();

// Invalidation and painting.
void WM_Invalidate(WM_HWINDOW h);
void WM_Repaint(WM_HWINDOW h);
void WM_DrawNow(WM_HWINDOW h);
int WM_Run();
int WM_ClipBegin(const GUI_BOX* rect);
int WM_ClipNext();

// Messages.
void WM_Deliver(WM_HWINDOW h, WM_MSG_RECORD* msg);
void WM_SendId(WM_HWINDOW h, int32_t id);
void WM_DefaultHandler(WM_MSG_RECORD* msg);

namespace wm {

// The window object locked for the duration of one access (a locked block never moves).
class Locked {
  public:
    explicit Locked(WM_HWINDOW h) : w_(static_cast<WM_WINDOW*>(GUI_ALLOC_LockBlock(h))) {}
    ~Locked() {
        if (w_ != nullptr) GUI_ALLOC_UnlockBlock(&w_);
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    WM_WINDOW* operator->() const { return w_; }
    explicit operator bool() const { return w_ != nullptr; }

  private:
    WM_WINDOW* w_;
};

// Clips rect by the window and every ancestor; false when one is hidden, the walk does not end at the
// desktop, or nothing is left.
bool ClipToVisible(WM_HWINDOW h, GUI_BOX* rect);
// Marks rect invalid in the window (clipped to it).
void MarkInvalid(WM_HWINDOW h, const GUI_BOX& rect);
// Invalidates rect in window w and in its children below the stop window, with their descendants.
void InvalidateArea(const GUI_BOX& rect, WM_HWINDOW w, WM_HWINDOW stop);

}  // namespace wm
