#include "read_number.h"

#include "console.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <string>
#include <system_error>
#include <tuple>
#include <type_traits>
#include <utility>

namespace {

using Traits = std::char_traits<char>;

// An int has at most 10 digits, so 11 significant digits are out of its range whatever follows.
static_assert(std::numeric_limits<int>::digits == 31, "the digit count assumes a 32-bit int");
constexpr std::size_t kIntDigits = 11;

// A double lies halfway between two neighbours at a number whose decimal expansion has at most
// 768 significant digits ((2^53 - 1) * 2^-1075, the tie just below the smallest normal double, has
// that many), so past the 768th no digit can change the rounding except by not being zero. The
// digits past this many are kept as one non-zero digit when any of them is not zero. A float needs
// far fewer.
constexpr std::size_t kRealDigits = 800;

// The exponent typed after "e" stops growing here, far beyond any double's range (10^±400). The
// place of the point, counted from the digits typed, stays far below it in size, as no input
// reaches 10^17 characters: added together, the saturated exponent still decides.
constexpr long long kTypedExponentLimit = 100'000'000'000'000'000;

// Past 10^(±100000) every kept number is infinite or 0 for a double, so the exponent handed to
// the conversion, the typed one plus the point's place, is clamped here.
constexpr long long kConvertedExponentLimit = 100'000;

// What the scan keeps of a number: enough to give its value, however many characters it has.
struct Kept {
  bool negative = false;
  bool digits = false;         // a digit came before any exponent
  std::string significant;     // from the first non-zero digit on, at most the kept count
  bool droppedNonZero = false; // a digit past the kept count was not zero
  long long pointAt = 0;       // the value is 0.<significant> times 10^(pointAt + exponent)
  bool exponent = false;       // "e" was taken
  bool exponentDigits = false; // and a digit after it
  long long exponentValue = 0; // with its sign; saturated
  bool endOfInput = false;
};

struct Skipped {
  long long count = 0;
  bool nonZero = false;
};

// Takes a run of digits, from the current character on, to the first character that is no digit,
// which stays in the input. From a ReadAhead, such as standard input, the digits held ahead are
// taken in one tight loop rather than one stream call each, so a long answer reads at about the
// speed of its pipe even where those calls are costly (in WebAssembly each is a call into the
// standard library that can wait for input).
Skipped skipDigits(std::streambuf& in) {
  Skipped skipped;
  auto* const own = dynamic_cast<ReadAhead*>(&in);
  Traits::int_type c = in.sgetc();
  while (c >= '0' && c <= '9') {
    if (own != nullptr) {
      const char* const first = own->aheadBegin();
      const char* digit = first;
      for (; digit != own->aheadEnd() && *digit >= '0' && *digit <= '9'; ++digit)
        skipped.nonZero |= *digit != '0';
      skipped.count += digit - first;
      own->take(digit - first);
      c = in.sgetc();
    } else {
      ++skipped.count;
      skipped.nonZero |= c != '0';
      c = in.snextc();
    }
  }
  return skipped;
}

// Standard libraries' formatted extraction differs on odd answers: one reads "inf", "nan" and
// hexadecimal numbers such as "0x1p3", fails on "1.5e3x" or an underflowing "1e-400", and leaves
// other characters in the input after a failure. The programs take the characters of a number as
// GNU's library does, on every library, by scanning them themselves:
//  - an optional sign, then digits;
//  - for a real number also one decimal point, and after at least one digit an exponent: "e" or
//    "E", an optional sign and digits. "e" is taken even when no digit follows, and the read then
//    fails, as "1e" is no number.
// Each character taken is consumed; the first one that cannot continue the number stays in the
// input. Unlike GNU's library, which stores 0 or the type's limit when a read fails or
// overflows, a failed read leaves the field as it was (see readNumber). Of the characters taken
// only what the value needs is kept: leading zeros and the point only move the exponent, and at
// most `most` significant digits are kept.
Kept scan(std::streambuf& in, bool real, std::size_t most) {
  Kept k;
  k.significant.reserve(most);
  Traits::int_type c = in.sgetc();
  if (c == '+' || c == '-') {
    k.negative = c == '-';
    c = in.snextc();
  }
  // The digits, and for a real number one point among them.
  bool point = false;
  for (;;) {
    if (c >= '0' && c <= '9') {
      k.digits = true;
      if (k.significant.empty() && c == '0') {
        // A zero before the first significant digit: after the point it moves the point.
        if (point)
          --k.pointAt;
      } else if (k.significant.size() < most) {
        k.significant += Traits::to_char_type(c);
        if (!point)
          ++k.pointAt;
      } else {
        // Past the kept digits only two things still count: how many digits there are, and
        // whether any of them is not zero.
        const Skipped skipped = skipDigits(in);
        k.droppedNonZero = k.droppedNonZero || skipped.nonZero;
        if (!point)
          k.pointAt += skipped.count;
        c = in.sgetc();
        continue;
      }
    } else if (real && c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    c = in.snextc();
  }
  // The exponent, after at least one digit.
  if (real && k.digits && (c == 'e' || c == 'E')) {
    k.exponent = true;
    c = in.snextc();
    const bool negative = c == '-';
    if (c == '+' || c == '-')
      c = in.snextc();
    for (; c >= '0' && c <= '9'; c = in.snextc()) {
      k.exponentDigits = true;
      if (k.exponentValue < kTypedExponentLimit)
        k.exponentValue = k.exponentValue * 10 + (c - '0');
    }
    if (negative)
      k.exponentValue = -k.exponentValue;
  }
  k.endOfInput = Traits::eq_int_type(c, Traits::eof());
  return k;
}

// An int is converted by std::from_chars, which reports a number out of range.
bool convert(const Kept& k, int& value) {
  const std::string text =
      (k.negative ? "-" : "") + (k.significant.empty() ? std::string("0") : k.significant);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return k.digits && error == std::errc{} && end == text.data() + text.size();
}

// Real numbers go through strtod and strtof, which round correctly, and whose decimal point is
// the C locale's: the programs never change it from "C". The text handed to them is the kept
// number, "0.<digits>e<exponent>", which rounds to the same value as the whole number typed.
// Overflow gives infinity, a failed read; underflow gives a subnormal or 0, which is read.
// strtof rounds once, straight to single precision.
template <typename Real> bool convert(const Kept& k, Real& value) {
  if (!k.digits || (k.exponent && !k.exponentDigits))
    return false;
  std::string text = k.negative ? "-" : "";
  if (k.significant.empty()) {
    text += '0';
  } else {
    const long long exponent =
        std::clamp(k.pointAt + k.exponentValue, -kConvertedExponentLimit, kConvertedExponentLimit);
    text += "0." + k.significant + (k.droppedNonZero ? "1" : "") + 'e' + std::to_string(exponent);
  }
  if constexpr (std::is_same_v<Real, float>)
    value = std::strtof(text.c_str(), nullptr);
  else
    value = std::strtod(text.c_str(), nullptr);
  return std::isfinite(value);
}

// The state a read leaves, and how it ended: a number that does not convert is out of range when
// it has all a number needs, and otherwise no number.
template <typename Number>
std::pair<std::ios_base::iostate, ReadEnd> scanAndConvert(std::streambuf& in, Number& field) {
  constexpr bool real = std::is_floating_point_v<Number>;
  const Kept kept = scan(in, real, real ? kRealDigits : kIntDigits);
  std::ios_base::iostate state = kept.endOfInput ? std::ios_base::eofbit : std::ios_base::goodbit;
  Number value{};
  if (convert(kept, value)) {
    field = value;
    return {state, ReadEnd::Read};
  }
  const bool whole = kept.digits && (!kept.exponent || kept.exponentDigits);
  return {state | std::ios_base::failbit, whole ? ReadEnd::OutOfRange : ReadEnd::NotANumber};
}

template <typename Number> void read(Number& field) {
  // The sentry flushes the prompt, skips white space, and fails at once when standard input has
  // already failed or runs out.
  const bool failedBefore = std::cin.fail();
  const std::istream::sentry sentry(std::cin);
  ReadEnd end = failedBefore ? ReadEnd::AfterFailure : ReadEnd::InputEnded;
  if (sentry) {
    std::ios_base::iostate state{};
    std::tie(state, end) = scanAndConvert(*std::cin.rdbuf(), field);
    std::cin.setstate(state);
  }
  noteRead(end);
}

} // namespace

std::ios_base::iostate scanNumber(std::streambuf& in, int& value) {
  return scanAndConvert(in, value).first;
}

std::ios_base::iostate scanNumber(std::streambuf& in, float& value) {
  return scanAndConvert(in, value).first;
}

std::ios_base::iostate scanNumber(std::streambuf& in, double& value) {
  return scanAndConvert(in, value).first;
}

void readNumber(int& field) {
  read(field);
}

void readNumber(float& field) {
  read(field);
}

void readNumber(double& field) {
  read(field);
}
