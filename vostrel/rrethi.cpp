// Circle: area and perimeter from a radius typed at the console.
#include <iostream>

#include "console.h"
#include "exercises.h"

struct rrethi {
  double pi;
  double r = 0;
  double s = 0;
  double p = 0;

  // The exercise's own seven-decimal pi, not the full-precision constant.
  rrethi() : pi(3.1415926) {}

  void rrezja(double x) { r = x; }

  void llogaritja() {
    s = pi * r * r;
    p = 2.0 * pi * r;
  }

  // "\xEB" is the single byte of the area label's e with diaeresis.
  void shtypja() const {
    std::cout << "\nVlerat e llogaritura"
              << "\n\nSip\xEB"
                 "rfaqja s="
              << s << "\n\nPerimetri p=" << p << "\n\n";
  }
};

int mainT2() {
  Console console("vostrel");
  rrethi rreth;
  double x = 0; // defined, so a failed read of the radius gives 0
  std::cout << "\nRrezja e rrethit x: ";
  std::cin >> x;
  rreth.rrezja(x);
  rreth.llogaritja();
  rreth.shtypja();
  return console.finish();
}
