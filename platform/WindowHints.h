#pragma once
// What the window manager is told about an owned window beyond its transient parent: it stays
// out of the taskbar and the pager, where only the program's main window belongs. Qt has no
// call for this, so on X11 the window's _NET_WM_STATE gets the two hints directly, before the
// window is mapped (Qt merges its own states into what is there). Elsewhere (the offscreen
// platform of the tests, Wayland) it does nothing.

class QWindow;

namespace WindowHints {
// Adds _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER to an unmapped window. A window
// manager clears the state of a window it withdraws, so this is done before every show.
void SkipTaskbar(QWindow* window);
} // namespace WindowHints
