// kandomir: reads n and x, prints p1 = x * 2 * 3 * ... * (n + 1) and p2 = 5 * 7 * ... * (2n - 1).
#include <cmath>
#include <iostream>

#include "console.h"

struct prodhimi {
  // Defined before the reads, so a failed read leaves 0.
  int n = 0;
  float x = 0;
  double p1 = 0;
  double p2 = 0;

  prodhimi() {
    std::cout << "Cakto vleren per n:";
    std::cin >> n;
    std::cout << "Cakto vleren per x:";
    std::cin >> x;
  }

  // The product of the factors c*i + 1 for i = a, a + 1, ... while i <= b. The test comes after
  // each factor, so the first factor is always taken. Index and factor are 64-bit, so that every
  // int bound ends the loop and no factor wraps.
  double pro(long long a, long long b, long long c) const {
    double r = 1.0;
    long long i = a;
    do {
      const long long factor = c * i + 1;
      r *= static_cast<double>(factor);
      ++i;
      // Infinity and not-a-number stay as they are when multiplied by a positive number. With
      // c >= 0 the factors only grow, so once r is one of them and this factor is positive, no
      // remaining factor can change the result: stopping keeps the cost flat in n.
      if (!std::isfinite(r) && c >= 0 && factor > 0)
        break;
    } while (i <= b);
    return r;
  }

  void llogaritVleratDalese() {
    p1 = static_cast<double>(x) * pro(1, n, 1);
    p2 = pro(2, static_cast<long long>(n) - 1, 2);
  }

  void shtypVleratDalese() const {
    std::cout << "p1=" << p1 << std::endl;
    std::cout << "p2=" << p2 << std::endl;
  }
};

int main() {
  Console console("kandomir");
  prodhimi prodhim;
  prodhim.llogaritVleratDalese();
  prodhim.shtypVleratDalese();
  return console.finish();
}
