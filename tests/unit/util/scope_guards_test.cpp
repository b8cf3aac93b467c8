// The scoped restores run exactly once on every way out, and put back what was there
// before rather than a fixed value.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "util/scope_exit.h"
#include "util/scoped_value.h"

namespace vimbrel {
namespace {

TEST(ScopeExit, RunsOnceWhetherTheScopeEndsNormallyOrByAThrow) {
    int runs = 0;
    {
        const ScopeExit restore([&runs] { ++runs; });
        EXPECT_EQ(runs, 0) << "not before the scope ends";
    }
    EXPECT_EQ(runs, 1);
    EXPECT_THROW(
        {
            const ScopeExit restore([&runs] { ++runs; });
            throw std::runtime_error("failed half-way");
        },
        std::runtime_error);
    EXPECT_EQ(runs, 2);
}

TEST(ScopeExit, GuardsUndoInTheReverseOrderOfTheirSetUp) {
    std::string order;
    {
        const ScopeExit first([&order] { order += "first "; });
        const ScopeExit second([&order] { order += "second "; });
    }
    EXPECT_EQ(order, "second first ");
}

TEST(ScopedValue, SetsForTheScopeAndPutsBackTheEarlierValue) {
    bool filling = false;
    {
        const ScopedValue<bool> guard(filling, true);
        EXPECT_TRUE(filling);
    }
    EXPECT_FALSE(filling);

    // A guard entered while another holds the variable leaves it as the outer one set it.
    int* active = nullptr;
    int outer = 1, inner = 2;
    {
        const ScopedValue<int*> first(active, &outer);
        {
            const ScopedValue<int*> second(active, &inner);
            EXPECT_EQ(active, &inner);
        }
        EXPECT_EQ(active, &outer);
    }
    EXPECT_EQ(active, nullptr);
}

TEST(ScopedValue, AThrowStillRestores) {
    std::string state = "idle";
    EXPECT_THROW(
        {
            const ScopedValue<std::string> guard(state, "busy");
            throw std::runtime_error("the event failed");
        },
        std::runtime_error);
    EXPECT_EQ(state, "idle");
}

}  // namespace
}  // namespace vimbrel
