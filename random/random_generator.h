// The suite's random numbers: the additive feedback generator behind the
// GNU C library's srand/rand, reproduced value for value, so a seed draws
// the same pictures as it would through the C library.
//
// The state is 31 words. Seeding fills them from the seed by
// x -> 16807 x mod (2^31 - 1) and throws away the first 310 outputs; each
// output then adds the word three places back to the word thirty-one
// places back (mod 2^32), stores the sum and returns it shifted right by
// one, a value in 0 .. 2^31 - 1. A seed of 0 acts as 1.
//
// program_random is the one generator the programs draw from. It starts as
// if seeded with 1, as rand() does before any srand(), and is set up at
// compile time, so it is ready before any code runs.
#pragma once

#include <cstdint>

constexpr int random_words = 31;
constexpr int random_lag = 3;  // the second word of each sum, this many places back

struct RandomGenerator {
  std::uint32_t words[random_words];
  int next;  // the word the next output replaces
};

extern RandomGenerator program_random;

void seed_random(RandomGenerator& generator, unsigned seed);

// Inline, so a loop drawing from a local copy makes no call; constexpr, so
// program_random can be seeded at compile time.
constexpr int next_random(RandomGenerator& generator) {
  const int i = generator.next;
  const int back = i >= random_lag ? i - random_lag : i + random_words - random_lag;
  const std::uint32_t sum = generator.words[i] + generator.words[back];
  generator.words[i] = sum;
  generator.next = i + 1 == random_words ? 0 : i + 1;
  return static_cast<int>(sum >> 1);
}
