// Value pair: y = 3a + (2m - 1)!, shown on two records with fixed values.
#include <cmath>
#include <iostream>

#include "console.h"
#include "exercises.h"

struct Alfa {
  // Defined before Vlerat sets them.
  int m = 0;
  double a = 0;
  double y = 0;

  void Vlerat(int k, double x) {
    m = k;
    a = x;
    std::cout << "\nVlera e m= " << m << "\n\nVlera e a=" << a << "\n";
  }

  // F = (2m - 1)! in double; 1 when 2m - 1 is below 1. The bound is 64-bit so that no int m
  // wraps it. Every factor is at least 1, so once F is infinite it stays so: the loop stops
  // there and any m finishes at once.
  void Funk() {
    double f = 1.0;
    for (long long i = 1; i <= 2 * static_cast<long long>(m) - 1 && std::isfinite(f); ++i)
      f *= static_cast<double>(i);
    y = 3.0 * a + f;
  }
};

int main1() {
  Console console("vostrel");
  Alfa dita;
  Alfa nata;
  std::cout << "\nObjekti Dita"
            << "\n------------"
            << "\n";
  dita.Vlerat(2, 9.0);
  dita.Funk();
  std::cout << "\nVlera e y=" << dita.y;
  std::cout << "\n\n\nObjekti Nata"
            << "\n------------"
            << "\n";
  nata.Vlerat(3, 7.0);
  nata.Funk();
  std::cout << "\nVlera e y=" << nata.y << "\n\n";
  return console.finish();
}
