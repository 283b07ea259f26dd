#include "core/generator/RandomSource.h"

#include <gtest/gtest.h>

using namespace kv::generator;

TEST(RandomSource, KnownSequences)
{
    SeedRandom(0);
    EXPECT_EQ(NextRandom(), 346u);
    EXPECT_EQ(NextRandom(), 13854878u);
    EXPECT_EQ(NextRandom(), 1621890440u);
    SeedRandom(1);
    EXPECT_EQ(NextRandom(), 1410184549u);
    EXPECT_EQ(NextRandom(), 672584604u);
    EXPECT_EQ(NextRandom(), 1915668986u);
}

TEST(RandomSource, BelowIsPlainRemainderAndZeroDoesNotAdvance)
{
    SeedRandom(0);
    EXPECT_EQ(RandomBelow(0), 0u);
    EXPECT_EQ(RandomBelow(100), 346u % 100);
    EXPECT_EQ(RandomBelow(1000), 13854878u % 1000);
}
