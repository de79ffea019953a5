// The patient record and the entry of vostrel: five answers in, the name and the pension verdict
// out.
#include <iostream>

#include "console.h"

struct clsPacienti {
  // Every field starts defined, so a read that fails leaves 0 or an empty text behind.
  int numri = 0;
  char emri[30] = {};
  int mosha = 0;
  char qyteti[16] = {};
  char diagnoza[50] = {};

  clsPacienti() {
    std::cout << "Numri i pacientit:";
    std::cin >> numri;
    // The number leaves its line end in the input. Dropping that one character lets the next
    // line read see the next line; anything else typed after the number stays for it.
    std::cin.ignore();
    std::cout << "Emri dhe mbiemri i pacientit:";
    std::cin.getline(emri, sizeof emri);
    std::cout << "Mosha e pacientit:";
    std::cin >> mosha;
    std::cin.ignore();
    std::cout << "Qyteti i pacientit:";
    // One short of the array: at most 14 characters are kept.
    std::cin.getline(qyteti, sizeof qyteti - 1);
    std::cout << "Diagnoza e pacientit:";
    std::cin.getline(diagnoza, sizeof diagnoza);
  }

  void shtypEmrin() const { std::cout << "Emri i pacientit:" << emri << std::endl; }

  bool PacientiEshteNePension() const { return mosha >= 65; }
};

int main() {
  Console console("vostrel");
  clsPacienti pacienti;
  pacienti.shtypEmrin();
  if (pacienti.PacientiEshteNePension())
    std::cout << "Pacienti eshte ne pension.\n";
  else
    std::cout << "Pacienti nuk eshte ne pension.\n";
  return console.finish();
}
