// kandomir's product series dialogue.
#include <gtest/gtest.h>

#include "dialogue.h"

namespace {

TEST(Product, Dialogue) {
  expectDialogues(
      kKandomir,
      {
          {"n 3, x 2", "3\n2\n", products("48", "5")},
          {"n 4, x 0.5", "4\n0.5\n", products("60", "35")},
          {"n 5, x 1", "5\n1\n", products("720", "315")},
          {"n 0", "0\n3\n", products("6", "5")},
          {"negative n", "-5\n1\n", products("2", "5")},
          {"n 1", "1\n1.5\n", products("3", "5")},
          {"x 0.1 widened from single precision", "3\n0.1\n", products("2.4", "5")},
          {"exponent form", "10\n1\n", products("3.99168e+07", "2.18243e+08")},
          // Two answers on one line: the second is named as taken from the first's line.
          {"answers on one line, no line end", "4 0.5", products("60", "35"),
           taken(kAskX, kAskN, "0.5")},
          {"n 4.5", "4.5\n", products("60", "35"), taken(kAskX, kAskN, ".5", Hint::Whole)},
          {"n 4,5", "4,5\n", products("0", "35"),
           taken(kAskX, kAskN, ",5", Hint::Comma) + "\n" + notANumber(kAskX, ",5", false, false)},
          // Read in memory that does not grow with a number's length.
          {"numbers of 3 MB",
           std::string(3 << 20, '0') + "3\n2." + std::string(3 << 20, '0') + "\n",
           products("48", "5")},
          // x is 1 only if every one of the 100000 digits before the point counts.
          {"x of 100001 digits, e-100000", "4\n1" + std::string(100'000, '0') + "e-100000\n",
           products("120", "35")},
          // Last finite and first infinite products: stopping early changes nothing.
          {"p2 last finite", "150\n1\n", products("8.62721e+264", "1.25109e+306")},
          {"p2 infinite", "151\n1\n", products("1.31134e+267", "inf")},
          {"p1 last finite", "169\n1\n", products("7.25742e+306", "inf")},
          {"p1 infinite", "170\n1\n", products("inf", "inf")},
          // 0 times infinity: not-a-number, written without a sign on every platform.
          {"x 0 times infinity", "170\n0\n", products("nan", "inf")},
          {"negative x", "170\n-1\n", products("-inf", "inf")},
          // Ends of the int range: every factor and bound fits in 64 bits.
          {"largest int", "2147483647\n1\n", products("inf", "inf")},
          {"smallest int", "-2147483648\n1\n", products("2", "5")},
          {"2n + 1 beyond int", "1073741825\n1\n", products("inf", "inf")},
          {"non-numeric n", "n\n2\n", products("0", "5"), notANumber(kAskN, "n")},
          {"non-numeric x", "3\nx\n", products("0", "5"), notANumber(kAskX, "x")},
          {"end of input", "", products("0", "5"), inputEnded(kAskN)},
          // Nothing failed, yet the line of the last answer held more than it.
          {"decimal comma", "4\n0,5\n", products("0", "35"), unread(kAskX, ",5")},
          {"a word after x", "4\n0.5 cm\n", products("60", "35"), unread(kAskX, "cm")},
          {"trailing blanks", "4\n0.5 \t \n", products("60", "35")},
          {"a long rest, and bytes past ASCII", "4\n0.5 \xEB" + std::string(30, 'y') + "\n",
           products("60", "35"), unread(kAskX, "\\xEB" + std::string(19, 'y'), true)},
          {"a rest of 20 bytes", "4\n0.5 " + std::string(20, 'y') + "\n", products("60", "35"),
           unread(kAskX, std::string(20, 'y'))},
          {"a rest of 21 bytes", "4\n0.5 " + std::string(21, 'y') + "\n", products("60", "35"),
           unread(kAskX, std::string(20, 'y'), true)},
      });
}

// Hostile input: status 0, both prompts, and a failed read leaves 0 (n 0 gives p2 5).
TEST(Product, HostileInput) {
  const std::string digits(1 << 20, '9');
  using namespace std::string_literals;
  expectDialogues(
      kKandomir,
      {
          {"1 MB n", digits + "\n2\n", products("0", "5"),
           outOfRange(kAskN, std::string(20, '9'), true)},
          {"1 MB x", "3\n" + digits + "\n", products("0", "5"),
           outOfRange(kAskX, std::string(20, '9'), true)},
          {"NUL as n", "\0\n2\n"s, products("0", "5"), notANumber(kAskN, "\\x00")},
          {"bytes 0x80 to 0xFF as x", "3\n\x80\xFF\n", products("0", "5"),
           notANumber(kAskX, "\\x80\\xFF")},
          {"CRLF line ends", "3\r\n2\r\n", products("48", "5")},
          // Out of range is a failed read: n stays 0 rather than becoming the
          // largest int, and x stays 0 rather than becoming the largest float.
          {"n 2147483648", "2147483648\n2\n", products("0", "5"), outOfRange(kAskN, "2147483648")},
          {"n -2147483649", "-2147483649\n2\n", products("0", "5"),
           outOfRange(kAskN, "-2147483649")},
          {"n 99999999999999999999", "99999999999999999999\n2\n", products("0", "5"),
           outOfRange(kAskN, "99999999999999999999")},
          {"x 1e99999", "3\n1e99999\n", products("0", "5"), outOfRange(kAskX, "1e99999")},
          // n is the 1 before the "e"; x then fails on the "e".
          {"n 1e99999", "1e99999\n2\n", products("0", "5"),
           taken(kAskX, kAskN, "e99999", Hint::Whole) + "\n" +
               notANumber(kAskX, "e99999", false, false)},
          {"x -1e39", "3\n-1e39\n", products("0", "5"), outOfRange(kAskX, "-1e39")},
          {"x a decimal comma", "4\n,5\n", products("0", "35"), notANumber(kAskX, ",5")},
          // What a read meets is shown to its line's end, past standard input's 4 KiB blocks.
          {"blanks past a block's end, then 1e39", "4\n" + std::string(4093, ' ') + "1e39\n",
           products("0", "35"), outOfRange(kAskX, "1e39")},
          {"blanks past a block's end, then a word", "4\n" + std::string(4094, ' ') + "abcdef\n",
           products("0", "35"), notANumber(kAskX, "abcdef")},
          {"a long blank tail, then a word", "4\n0.5" + std::string(5000, ' ') + "cm\n",
           products("60", "35"), unread(kAskX, "cm")},
          {"x nan", "3\nnan\n", products("0", "5"), notANumber(kAskX, "nan")},
          {"x inf", "3\ninf\n", products("0", "5"), notANumber(kAskX, "inf")},
          {"n a lone minus", "-\n2\n", products("0", "5"), notANumber(kAskN, "-")},
          {"end of input at x", "4\n", products("0", "35"), inputEnded(kAskX)},
          {"end of input right after n", "4", products("0", "35"), inputEnded(kAskX)},
      });
}

TEST(Product, EachPromptShowsBeforeItsRead) {
  const Result r = converse(kKandomir, {"3\n", "2\n"});
  expectRun(r, products("48", "5"), "");
}

} // namespace
