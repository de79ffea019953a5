// Reference for the series' trace output: the same dialogue and sum as a textbook writes them,
// each trace line written in the loop by its own insertion into std::cout, under default stream
// settings.
#include <iostream>

int main() {
  int n = 0, k = 0;
  double x = 0, a = 0;
  std::cout << "\nVlerat inicializuese\n\nVariabla n: ";
  std::cin >> n;
  std::cout << "\nVariabla x: ";
  std::cin >> x;
  std::cout << "\nVariabla a: ";
  std::cin >> a;
  std::cout << "\nVariabla k: ";
  std::cin >> k;
  double s = 0.0;
  for (long long i = 1; i <= static_cast<long long>(n) + 1; ++i) {
    s = s + (static_cast<double>(2 * i) + a);
    std::cout << "Test.\n";
  }
  std::cout << "\nVlera e y=" << 3.0 * x + static_cast<double>(k) * s << "\n\n";
  return 0;
}
