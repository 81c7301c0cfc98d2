// The seeded random numbers: reproducible, within their ranges.
#include <gtest/gtest.h>

#include <climits>
#include <set>

#include <tessera/system/Random.h>

TEST(Random, SameSeedSameNumbersEveryValueOfTheRange) {
  ts::Random first(42), second(42), fresh;
  // The start of the default sequence, so a seed logged today replays later.
  EXPECT_EQ(0x910A2DEC89025CC1ull, fresh.next());
  std::set<int> seen;
  for (int i = 0; i < 200; ++i) {
    const int value = first.between(-3, 3);
    ASSERT_EQ(value, second.between(3, -3));
    seen.insert(value);
    const float f = fresh.uniform(-1.0f, 2.0f);
    ASSERT_TRUE(f >= -1.0f && f < 2.0f) << f;
    (void)fresh.between(INT_MIN, INT_MAX);  // no overflow (the sanitizer build checks)
  }
  EXPECT_EQ(std::set<int>({-3, -2, -1, 0, 1, 2, 3}), seen);
}
