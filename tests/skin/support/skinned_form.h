// A host form skinned through the engine's public entry point, for the family tests that go
// through the skinned window procedure.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "engine/window_props.h"
#include "skin/skin.h"
#include "support/family_windows.h"
#include "win_support/message_pump.h"
#include "win_support/pixel_canvas.h"
#include "win_support/test_windows.h"
#include "win_support/window_pixels.h"

class SkinnedFormTest : public ::testing::Test {
  protected:
    void SetUp() override { form_ = CreateHostForm(FormLeft, FormTop, 560, 400); }
    void TearDown() override {
        // Destroying a skinned form detaches its whole tree; the engine goes with the last window.
        DestroyWindow(form_);
        SettleMessages();
    }

    // A child of the form: CreateChild's arguments after the parent.
    template <typename... Arguments>
    HWND Child(Arguments... arguments) {
        return CreateChild(form_, arguments...);
    }
    void Skin() {
        ASSERT_EQ(SkinWindow(form_), 1);
        UpdateAll();
    }
    void UpdateAll() {
        RedrawWindow(form_, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        SettleMessages();
    }
    static SIZE WindowSize(HWND window) {
        RECT rect;
        GetWindowRect(window, &rect);
        return SIZE{rect.right - rect.left, rect.bottom - rect.top};
    }
    // Covers the whole window (frame included) with one colour, so that what a handler draws
    // afterwards stands out.
    static void Blacken(HWND window) {
        SIZE size = WindowSize(window);
        HDC dc = GetWindowDC(window);
        RECT all{0, 0, size.cx, size.cy};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        ReleaseDC(window, dc);
    }
    static LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }
    static INT_PTR Prop(HWND window, const char* name) { return GetSkinProp(window, name); }

    static constexpr int FormLeft = 60;
    static constexpr int FormTop = 60;
    HWND form_ = nullptr;
};
