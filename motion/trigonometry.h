// Sine and cosine of the motion steps, computed by the extension itself: the C libraries of our builds
// may differ in the last bit of a sine, and truncating a coordinate turns that bit into a pixel. These
// use IEEE double operations only, so every build gives the same bits.
#pragma once

namespace nimbo::motion {

inline constexpr double kPi = 3.141592653589793;

// Degrees to radians as the steps compute it: angle x pi / 180, in this order.
inline double radians(double degrees) {
  return degrees * kPi / 180.0;
}

// Within one unit in the last place of the exact value, for |x| below 2^25 x pi / 2 (every angle a
// 32-bit number of degrees can hold).
double sine(double x);
double cosine(double x);

// Sine and cosine of an angle in degrees. An angle beyond the 32-bit range is first taken modulo 360
// (exactly), which only designer values far outside any motion reach.
double sineOfDegrees(double degrees);
double cosineOfDegrees(double degrees);

}  // namespace nimbo::motion
