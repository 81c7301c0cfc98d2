#include <tessera/system/Random.h>

#include <utility>

namespace ts {

Random::Random(uint64_t seed) { this->seed(seed); }

void Random::seed(uint64_t seed) {
  m_seed = seed;
  m_state = seed;
}

// SplitMix64: small, fast, and every seed (0 included) gives a full sequence.
uint64_t Random::next() {
  uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// Rejection keeps every value of the range equally likely: raw values from
// the incomplete last block of `span` values are drawn again.
int Random::between(int low, int high) {
  if (low > high) std::swap(low, high);
  const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(high) - low) + 1;
  const uint64_t limit = UINT64_MAX - UINT64_MAX % span;
  uint64_t raw = next();
  while (raw >= limit) raw = next();
  return static_cast<int>(static_cast<int64_t>(low) + static_cast<int64_t>(raw % span));
}

float Random::uniform(float low, float high) {
  if (low > high) std::swap(low, high);
  const float unit = static_cast<float>(next() >> 40) / static_cast<float>(1u << 24);  // [0, 1), 24 bits
  const float value = low + (high - low) * unit;
  return value < high ? value : low;  // rounding may reach high
}

}  // namespace ts
