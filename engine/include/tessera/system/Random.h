// A seeded source of random numbers that a game owns.
#ifndef TS_RANDOM_H
#define TS_RANDOM_H

#include <cstdint>

namespace ts {

/// Random integers and floats in a range from a seed: the same seed gives the
/// same numbers on every machine and every run (the generator and the way
/// numbers are fitted to a range are the engine's own, not the standard
/// library's, whose distributions differ between implementations). Each
/// instance is independent, so a game may keep one per purpose and replay
/// one without disturbing the others.
class Random {
 public:
  /// The seed of a default-constructed generator.
  static constexpr uint64_t DEFAULT_SEED = 1;

  /// A generator at the start of the sequence of `seed`.
  explicit Random(uint64_t seed = DEFAULT_SEED);
  /// Starts the sequence of `seed` again.
  void seed(uint64_t seed);
  /// The seed the sequence started from.
  uint64_t getSeed() const { return m_seed; }

  /// An integer from low to high, both included; the bounds may come in
  /// either order.
  int between(int low, int high);
  /// A float from low (included) to high (excluded); low when they are
  /// equal. The bounds may come in either order.
  float uniform(float low, float high);
  /// The next 64 raw bits.
  uint64_t next();

 private:
  uint64_t m_seed;
  uint64_t m_state;
};

}  // namespace ts

#endif
