// Engine-wide state of the skin, one per process, touched only on the user-interface thread.
// Internal to the skin; tests read it too.
#pragma once

// The one-time set-up of SkinWindow has run and the skin bitmaps exist.
bool SkinInitialised();
// Windows that currently carry the skin.
int SkinnedWindowCount();
// Leave tracking goes through user32's TrackMouseEvent when it exists, otherwise through
// comctl32's emulation. Tests switch it to try both.
bool UsesUserTrackMouseEvent();
void SetUsesUserTrackMouseEvent(bool use);

// The one-time set-up before the first attach: the skin bitmaps and the leave-tracking choice.
// Does nothing while the engine is set up.
void SetUpEngine();

// Bookkeeping of AttachSkin and DetachSkin: the count, and the engine torn down (bitmaps
// released) when the last skinned window goes.
void CountAttachedWindow();
void CountDetachedWindow();
