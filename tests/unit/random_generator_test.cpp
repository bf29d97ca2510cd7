// The suite's generator against the C library's own srand/rand, value for
// value, from each kind of start.
#include <cstdlib>

#include <gtest/gtest.h>

#include "random_generator.h"

namespace {
// Copied before main, so no test has drawn from it yet; program_random is
// set up at compile time, so the copy cannot see it unset.
const RandomGenerator program_random_at_start = program_random;

struct Start {
  const char* name;
  bool seeded;  // false: program_random as the program finds it
  unsigned seed;  // the C library's seed; unseeded, rand() acts as srand(1)
};
}  // namespace

TEST(RandomGenerator, DrawsTheCLibrarySequenceFromEveryStart) {
#ifndef __GLIBC__
  GTEST_SKIP() << "the reference is the GNU C library's rand()";
#endif
  const Start starts[] = {
      {"unseeded", false, 1},
      {"seed 0, taken as 1", true, 0},
      {"seed 1", true, 1},
      {"a clock", true, 1700000000},
      {"2^31 - 1, the modulus", true, 2147483647u},
      {"2^31, first seed read as negative", true, 2147483648u},
      {"largest unsigned", true, 4294967295u},
  };
  for (const Start& start : starts) {
    RandomGenerator generator = program_random_at_start;
    if (start.seeded) seed_random(generator, start.seed);
    std::srand(start.seed);
    for (long i = 0; i < 1000000; ++i)
      ASSERT_EQ(next_random(generator), std::rand()) << start.name << ", value " << i;
  }
}
