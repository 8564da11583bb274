// The extension's own sine and cosine: exact where the worked positions depend on the last bit, and
// within the C library's accuracy everywhere else, over the whole range of 32-bit angles.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>

#include "record/trigonometry.h"

namespace nimbo {
namespace {

TEST(Trigonometry, ValuesThatDecideAPixelAreTheCorrectlyRoundedOnes) {
  EXPECT_EQ(sine(kPi), 1.2246467991473532e-16);
  EXPECT_EQ(cosine(kPi / 2), 6.123233995736766e-17);
  EXPECT_EQ(sineOfDegrees(30), 0.49999999999999994);
  EXPECT_EQ(sineOfDegrees(90), 1.0);
  EXPECT_EQ(cosineOfDegrees(180), -1.0);
  EXPECT_EQ(sineOfDegrees(0), 0.0);
  EXPECT_EQ(cosineOfDegrees(0), 1.0);
}

// Both within about an ulp of the exact value: at most two apart. Far out, the library's own argument
// reduction may be the coarser one (an x87 sine is some 1e-13 off there).
TEST(Trigonometry, WholeDegreesUpToThe32BitRangeMatchTheLibraryWithinItsAccuracy) {
  auto near = [](double ours, double library) { return std::fabs(ours - library) <= 5e-16; };
  for (int64_t degrees = -100000; degrees <= 100000; degrees += 7) {
    double x = radians(static_cast<double>(degrees));
    ASSERT_TRUE(near(sine(x), std::sin(x))) << degrees;
    ASSERT_TRUE(near(cosine(x), std::cos(x))) << degrees;
  }
  for (int64_t degrees = INT_MAX - 3600; degrees <= INT_MAX; ++degrees) {
    double x = radians(static_cast<double>(degrees));
    ASSERT_NEAR(sine(x), std::sin(x), 1e-12) << degrees;
    ASSERT_NEAR(sineOfDegrees(static_cast<double>(-degrees)), -std::sin(x), 1e-12) << degrees;
  }
}

TEST(Trigonometry, AnglesBeyondThe32BitRangeAreTakenModulo360) {
  EXPECT_EQ(sineOfDegrees(4294967296.0 + 90), sineOfDegrees(std::fmod(4294967296.0 + 90, 360)));
  EXPECT_EQ(cosineOfDegrees(-8589934592.0), cosineOfDegrees(std::fmod(-8589934592.0, 360)));
}

// A figure's angle in radians can be any float: past the reduction's range it is taken modulo the double
// 2 pi first, so it still lands on the circle; infinities and NaN are no angle at all.
TEST(Trigonometry, HugeRadiansStayOnTheCircleAndNonFiniteOnesGiveNaN) {
  for (double x : {1e8, -3.4e38, 1e300}) {
    EXPECT_EQ(sine(x), sine(std::fmod(x, 2 * kPi))) << x;
    EXPECT_EQ(cosine(x), cosine(std::fmod(x, 2 * kPi))) << x;
    EXPECT_NEAR(sine(x) * sine(x) + cosine(x) * cosine(x), 1.0, 1e-15) << x;
  }
  EXPECT_TRUE(std::isnan(sine(INFINITY)));
  EXPECT_TRUE(std::isnan(cosine(-INFINITY)));
  EXPECT_TRUE(std::isnan(sine(NAN)));
}

}  // namespace
}  // namespace nimbo
