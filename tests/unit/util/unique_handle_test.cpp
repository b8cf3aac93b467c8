// The owning-handle template closes each handle exactly once, however it is handed on.
#include <gtest/gtest.h>

#include <map>

#include "util/unique_handle.h"

namespace vimbrel {
namespace {

std::map<int, int> closes;  // handle -> times closed

struct CountingTraits {
    static int Invalid() { return -1; }
    static void Close(int h) { ++closes[h]; }
};
using Counted = UniqueHandleT<int, CountingTraits>;

class UniqueHandleTest : public ::testing::Test {
protected:
    void SetUp() override { closes.clear(); }
};

TEST_F(UniqueHandleTest, EachHandleIsClosedOnceAcrossMovesResetsAndScopeEnds) {
    {
        Counted a(1);
        Counted b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 1);
        Counted c(2);
        c = std::move(b);  // 2 closes now, 1 moves on
        EXPECT_EQ(closes, (std::map<int, int>{{2, 1}}));
        c.reset(3);  // 1 closes
        c.reset(3);  // the same handle again: kept, not closed
        auto& self = c;
        c = std::move(self);
        EXPECT_EQ(c.get(), 3) << "a move into itself keeps the handle";
    }
    EXPECT_EQ(closes, (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}}));
}

TEST_F(UniqueHandleTest, AReleasedHandleIsNeverClosedAndPutClosesTheOldOne) {
    {
        Counted a(4);
        EXPECT_EQ(a.release(), 4);
        EXPECT_FALSE(a);
        Counted b(5);
        *b.put() = 6;
        EXPECT_EQ(b.get(), 6);
    }
    EXPECT_EQ(closes, (std::map<int, int>{{5, 1}, {6, 1}}));
}

}  // namespace
}  // namespace vimbrel
