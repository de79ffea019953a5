// Series accumulator: y = 3x + k * sum of (2i + a) for i = 1 .. n + 1, one trace line a term.
#include <cstdint>
#include <cstring>
#include <iostream>

#include "console.h"
#include "exercises.h"
#include "read_number.h"

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
    for (std::int64_t i = 1; i <= last; ++i)
      s = s + (static_cast<double>(2 * i) + a);
    y = 3.0 * x + static_cast<double>(k) * s;
    // One trace line a term. Nothing else is written while the sum runs, so writing the lines
    // after it gives the same bytes as writing each beside its term. (With y already set, no sum
    // is kept across the writes, and the compiler keeps it in a register through the loop.)
    shtypTestet(last);
  }

  // Writes "Test.\n" `count` times (none when count is below 1). At a large n the trace is
  // nearly all of the routine's work, so the lines go out in blocks from a buffer on the stack:
  // one stream write per 4096 lines instead of one per line. Once a write has failed nothing more
  // can arrive, so the rest of the trace is not even tried.
  static void shtypTestet(std::int64_t count) {
    constexpr char kLine[] = "Test.\n";
    constexpr std::int64_t kLineSize = sizeof kLine - 1;
    constexpr std::int64_t kBlockLines = 4096;
    char block[kBlockLines * kLineSize];
    for (std::int64_t i = 0; i < kBlockLines && i < count; ++i)
      std::memcpy(block + i * kLineSize, kLine, kLineSize);
    for (; count >= kBlockLines && std::cout; count -= kBlockLines)
      std::cout.write(block, kBlockLines * kLineSize);
    if (count > 0)
      std::cout.write(block, count * kLineSize);
  }
};

int maint3() {
  Console console("vostrel");
  Omega omega;
  std::cout << "\nVlera e y=" << withoutNanSign(omega.y) << "\n\n";
  return console.finish();
}
