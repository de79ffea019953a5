// What both programs' dialogues share: reading a number, and what stands in for the platform at
// the end of every dialogue.
#pragma once

#include <cmath>
#include <iostream>

// Reads a number from standard input by formatted extraction. A read that fails leaves `field` as
// it was: on an out-of-range answer the extraction itself would store the type's largest or
// smallest value, and a number that was never read must not decide a verdict or a product.
template <typename Number> void readNumber(Number& field) {
  Number value{};
  if (std::cin >> value)
    field = value;
}

// A not-a-number's sign means nothing, yet C libraries differ on showing it ("-nan" in one,
// "nan" in another). Writing every not-a-number as the positive one gives the same bytes on
// every platform.
inline double withoutNanSign(double value) {
  return std::isnan(value) ? std::fabs(value) : value;
}

// Ends a dialogue: flushes standard output, writes one line on standard error if any read of
// the run failed, then runs the closing pause.
void closingPause(const char* program);
