/* The floor of a static program: a C program that writes one line and returns 0. */
#include <stdio.h>

int main(void) {
  fputs("Pacienti nuk eshte ne pension.\n", stdout);
  return 0;
}
