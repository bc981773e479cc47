// The real world's cheap reads: the clock without the C library, and the
// tick's cursor from its timer message.
#include "support/TestSupport.h"
#include "engine/World.h"
#include <gtest/gtest.h>
#include <time.h>

namespace {
POINT g_seen = { -1, -1 };
int g_ticks;

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    World().GetTickCursorPos(&g_seen);
    ++g_ticks;
}
}  // namespace

TEST(RealWorld, ClockAndTickCursorAgreeWithTheSystem)
{
    SetWorld(nullptr);
    __int64 before = (__int64)_time64(nullptr);
    __int64 now = World().Now();
    __int64 after = (__int64)_time64(nullptr);
    EXPECT_GE(now, before);
    EXPECT_LE(now, after);

    // A timer handled through the message loop sees where the cursor was
    // when its message was handed over.
    ASSERT_TRUE(::SetCursorPos(123, 45));
    UINT_PTR id = ::SetTimer(nullptr, 0, 10, OnTimer);
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(PumpUntil([] { return g_ticks > 0; }, 3000));
    ::KillTimer(nullptr, id);
    EXPECT_EQ(g_seen.x, 123);
    EXPECT_EQ(g_seen.y, 45);
}
