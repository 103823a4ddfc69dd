// The kernel-handle holder: it closes what it holds once, and holds nothing for either of the
// two values the API uses for "no handle".
#include <gtest/gtest.h>

#include <utility>

#include "win/handles.h"

namespace {

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST(ScopedHandle, ClosesItsHandleOnScopeExitUnlessReleased) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(IsOpen(event));
    {
        ScopedHandle held(event);
        EXPECT_TRUE(held);
        EXPECT_EQ(held.get(), event);
    }
    EXPECT_FALSE(IsOpen(event));

    HANDLE kept = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        ScopedHandle held(kept);
        EXPECT_EQ(held.release(), kept);
        EXPECT_FALSE(held);
    }
    EXPECT_TRUE(IsOpen(kept));
    CloseHandle(kept);
}

TEST(ScopedHandle, NullAndInvalidHandleValueHoldNothing) {
    EXPECT_FALSE(ScopedHandle(nullptr));
    EXPECT_FALSE(ScopedHandle(INVALID_HANDLE_VALUE));
    // A failed CreateFileW answers INVALID_HANDLE_VALUE: the holder must not "close" it.
    ScopedHandle missing(
        CreateFileW(L"C:\\no\\such\\folder\\file.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
}

TEST(ScopedHandle, MovesHandTheHandleOverAndCloseTheOneReplaced) {
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE second = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ScopedHandle a(first);
    ScopedHandle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), first);
    ScopedHandle c(second);
    c = std::move(b);
    EXPECT_FALSE(IsOpen(second));
    EXPECT_EQ(c.get(), first);
    EXPECT_TRUE(IsOpen(first));
}

}  // namespace
