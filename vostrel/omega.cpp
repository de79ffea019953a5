// Series accumulator: y = 3x + k * sum of (2i + a) for i = 1 .. n + 1, one trace line a term.
#include <cstdint>
#include <iostream>

#include "console.h"
#include "exercises.h"

struct Omega {
  // Defined before the reads, so a failed read leaves 0.
  int n = 0;
  int k = 0;
  double x = 0;
  double a = 0;
  double y = 0;

  Omega() {
    std::cout << "\nVlerat inicializuese"
              << "\n\nVariabla n: ";
    readNumber(n);
    std::cout << "\nVariabla x: ";
    readNumber(x);
    std::cout << "\nVariabla a: ";
    readNumber(a);
    std::cout << "\nVariabla k: ";
    readNumber(k);
    // n + 1 and 2i are 64-bit, so every int n ends the loop and no term wraps.
    double s = 0.0;
    const std::int64_t last = std::int64_t{n} + 1;
    for (std::int64_t i = 1; i <= last; ++i) {
      s = s + (static_cast<double>(2 * i) + a);
      std::cout << "Test.\n";
    }
    y = 3.0 * x + static_cast<double>(k) * s;
  }
};

int maint3() {
  Omega omega;
  std::cout << "\nVlera e y=" << withoutNanSign(omega.y) << "\n\n";
  closingPause("vostrel");
  return 0;
}
