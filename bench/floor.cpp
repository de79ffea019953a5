// The process floor: the smallest C++ program that prints a line and returns 0.
#include <iostream>

int main() {
  std::cout << "Pacienti nuk eshte ne pension.\n";
  return 0;
}
