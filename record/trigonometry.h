// Sine and cosine of the motion steps and the figures, computed by the extension itself: the C libraries of
// our builds may differ in the last bit of a sine, and truncating a coordinate turns that bit into a pixel.
// These use IEEE double operations only, so every build gives the same bits.
#pragma once

namespace nimbo {

inline constexpr double kPi = 3.141592653589793;

// Degrees to radians as the steps compute it: angle x pi / 180, in this order.
inline double radians(double degrees) {
  return degrees * kPi / 180.0;
}

// Within one unit in the last place of the exact value for |x| below 1.5 x 2^25 (every angle a 32-bit
// number of degrees can hold). A larger x, which no motion or figure meant to reach, is first taken exactly
// modulo the double nearest 2 pi: not the true sine of so large a number, but the same on every build.
// Infinities and NaN give NaN.
double sine(double x);
double cosine(double x);

// Sine and cosine of an angle in degrees. An angle beyond the 32-bit range is first taken modulo 360
// (exactly), which only designer values far outside any motion reach.
double sineOfDegrees(double degrees);
double cosineOfDegrees(double degrees);

}  // namespace nimbo
