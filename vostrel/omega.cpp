// Series accumulator: y = 3x + k * sum of (2i + a) for i = 1 .. n + 1, one trace line a term.
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
    std::cin >> n;
    std::cout << "\nVariabla x: ";
    std::cin >> x;
    std::cout << "\nVariabla a: ";
    std::cin >> a;
    std::cout << "\nVariabla k: ";
    std::cin >> k;
    double s = 0.0;
    // n + 1 and 2i are 64-bit, so every int n ends the loop and no term wraps.
    for (long long i = 1; i <= static_cast<long long>(n) + 1; ++i) {
      s = s + (static_cast<double>(2 * i) + a);
      std::cout << "Test.\n";
    }
    y = 3.0 * x + static_cast<double>(k) * s;
  }
};

int maint3() {
  Console console("vostrel");
  Omega omega;
  std::cout << "\nVlera e y=" << omega.y << "\n\n";
  return console.finish();
}
