// Engine-wide state of the skin, one instance per process, touched only on the
// user-interface thread. Internal to the skin; tests read it too.
#pragma once

// The one-time set-up of SkinWindow has run and the SkinBitmaps exist.
extern bool SkinInitialised;
// user32 exports TrackMouseEvent; otherwise leave tracking goes through comctl32.
extern bool HasUserTrackMouseEvent;
// Windows that currently carry SkinWindowProc.
extern int SkinnedWindowCount;
