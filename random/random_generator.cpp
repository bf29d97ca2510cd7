#include "random_generator.h"

// The seeded state, computable at compile time for program_random.
static constexpr RandomGenerator seeded(unsigned seed) {
  if (seed == 0) seed = 1;
  RandomGenerator generator{};
  generator.words[0] = seed;
  // 16807 x mod (2^31 - 1) by Schrage's decomposition, which never leaves
  // 32 bits. The chain starts from the seed read as a signed word, as the
  // C library does: a seed of 2^31 or more starts it negative.
  std::int32_t word = static_cast<std::int32_t>(seed);
  for (int i = 1; i < random_words; ++i) {
    const std::int32_t hi = word / 127773;
    const std::int32_t lo = word % 127773;
    word = 16807 * lo - 2836 * hi;
    if (word < 0) word += 2147483647;
    generator.words[i] = static_cast<std::uint32_t>(word);
  }
  // The first output adds word 0 into word 3, where the C library starts.
  generator.next = random_lag;
  for (int i = 0; i < 10 * random_words; ++i) next_random(generator);
  return generator;
}

constinit RandomGenerator program_random = seeded(1);

void seed_random(RandomGenerator& generator, unsigned seed) { generator = seeded(seed); }
