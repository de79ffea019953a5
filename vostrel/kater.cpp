// Rectangle: area and perimeter from two sides typed at the console.
#include <iostream>

#include "console.h"
#include "exercises.h"

struct kater {
  double a;
  double b;
  double s = 0;
  double p = 0;

  kater(double x, double y) : a(x), b(y) {}

  void llogaritja() {
    s = a * b;
    p = 2.0 * (a + b);
  }

  // The same labels as the circle's, written here again so that each exercise stands alone;
  // "\xEB" is the single byte of the e with diaeresis.
  void shtypja() const {
    std::cout << "\nVlerat e llogaritura"
              << "\n\nSip\xEB"
                 "rfaqja s="
              << s << "\n\nPerimetri p=" << p << "\n\n";
  }
};

int mainT3() {
  Console console("vostrel");
  // Defined, so a failed read gives 0; after a failed first side the second read fails at once.
  double a = 0;
  double b = 0;
  std::cout << "\nVlerat e lexuara"
            << "\n\nBrinja a: ";
  std::cin >> a;
  std::cout << "\nBrinja b: ";
  std::cin >> b;
  kater drejtkendeshi(a, b);
  drejtkendeshi.llogaritja();
  drejtkendeshi.shtypja();
  return console.finish();
}
