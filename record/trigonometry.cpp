// Sine and cosine: the argument is reduced to [-pi/4, pi/4] plus a tail against pi/2 held in four
// parts, then a minimax polynomial for the quadrant gives the value.
#include "record/trigonometry.h"

#include <cassert>
#include <cmath>

namespace nimbo {

namespace {

constexpr double kTwoOverPi = 0.6366197723675814;
// pi/2 in 28-bit parts: n times each of the first three is exact for |n| < 2^25.
constexpr double kHalfPi1 = 0x1.921fb54p+0;
constexpr double kHalfPi2 = 0x1.10b461p-30;
constexpr double kHalfPi3 = 0x1.a626330p-58;
constexpr double kHalfPi4 = 0x1.45c06e0e68948p-86;
[[maybe_unused]] constexpr double kLargestQuadrant = 0x1p25;  // read only by the assertion
constexpr double kLargestArgument = 0x1.8p25;  // 1.5 x 2^25 < 2^25 x pi / 2: fewer quadrants than that
// Adding and taking away 1.5 x 2^52 rounds a smaller number to the nearest integer, ties to even: plain
// IEEE arithmetic, so the same on every build, and without a library call.
constexpr double kRoundingShift = 0x1.8p52;

constexpr double kS1 = -1.66666666666666324348e-01, kS2 = 8.33333333332248946124e-03,
                 kS3 = -1.98412698298579493134e-04, kS4 = 2.75573137070700676789e-06,
                 kS5 = -2.50507602534068634195e-08, kS6 = 1.58969099521155010221e-10;
constexpr double kC1 = 4.16666666666666019037e-02, kC2 = -1.38888888888741095749e-03,
                 kC3 = 2.48015872894767294178e-05, kC4 = -2.75573143513906633035e-07,
                 kC5 = 2.08757232129817482790e-09, kC6 = -1.13596475577881948265e-11;

// x = quadrant x pi/2 + head + tail, |head + tail| <= about pi/4.
struct Reduced {
  int quadrant;  // 0 to 3
  double head, tail;
};

// a + b = sum + error exactly, whatever their magnitudes.
void twoSum(double a, double b, double& sum, double& error) {
  sum = a + b;
  double bPart = sum - a;
  error = (a - (sum - bPart)) + (b - bPart);
}

Reduced reduce(double x) {
  double n = (x * kTwoOverPi + kRoundingShift) - kRoundingShift;
  assert(std::fabs(n) < kLargestQuadrant);
  double rest = x - n * kHalfPi1;  // exact: the two are within a factor of 2 of each other
  double head, error2, error3;
  twoSum(rest, -(n * kHalfPi2), head, error2);
  twoSum(head, -(n * kHalfPi3), head, error3);
  double low = (error2 + error3) - n * kHalfPi4;
  Reduced reduced{static_cast<int>(static_cast<long long>(n) & 3), 0, 0};
  twoSum(head, low, reduced.head, reduced.tail);
  return reduced;
}

double sinePolynomial(double x, double tail) {
  double z = x * x, v = z * x;
  double r = kS2 + z * (kS3 + z * (kS4 + z * (kS5 + z * kS6)));
  return x - ((z * (0.5 * tail - v * r) - tail) - v * kS1);
}

double cosinePolynomial(double x, double tail) {
  double z = x * x, w = z * z;
  double r = z * (kC1 + z * (kC2 + z * kC3)) + w * w * (kC4 + z * (kC5 + z * kC6));
  double halfZ = 0.5 * z;
  double one = 1.0 - halfZ;
  return one + (((1.0 - one) - halfZ) + (z * r - x * tail));
}

Reduced reduceAny(double x) {
  return reduce(std::fabs(x) < kLargestArgument ? x : std::fmod(x, 2 * kPi));
}

double inRange(double degrees) {
  constexpr double kLargestAngle = 2147483647.0;
  return std::fabs(degrees) <= kLargestAngle ? degrees : std::fmod(degrees, 360.0);
}

}  // namespace

double sine(double x) {
  if (!std::isfinite(x)) return x - x;
  Reduced r = reduceAny(x);
  switch (r.quadrant) {
    case 0:
      return sinePolynomial(r.head, r.tail);
    case 1:
      return cosinePolynomial(r.head, r.tail);
    case 2:
      return -sinePolynomial(r.head, r.tail);
    default:
      return -cosinePolynomial(r.head, r.tail);
  }
}

double cosine(double x) {
  if (!std::isfinite(x)) return x - x;
  Reduced r = reduceAny(x);
  switch (r.quadrant) {
    case 0:
      return cosinePolynomial(r.head, r.tail);
    case 1:
      return -sinePolynomial(r.head, r.tail);
    case 2:
      return -cosinePolynomial(r.head, r.tail);
    default:
      return sinePolynomial(r.head, r.tail);
  }
}

double sineOfDegrees(double degrees) {
  return sine(radians(inRange(degrees)));
}

double cosineOfDegrees(double degrees) {
  return cosine(radians(inRange(degrees)));
}

}  // namespace nimbo
