// The number scan, through standard streams imbued with it, against a straightforward conversion
// of the whole text (strtod, strtof, std::from_chars): the same value or the same failure, however
// long the number, with the whole text consumed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <limits>
#include <locale>
#include <random>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "numbers.h"

namespace {

// The conversion of the whole text at once: the value the scan must give, or a failure.
template <typename Number> bool whole(const std::string& text, Number& value) {
  const char* const last = text.data() + text.size();
  if constexpr (std::is_same_v<Number, int>) {
    const auto [end, error] = std::from_chars(text.data() + (text[0] == '+'), last, value);
    return error == std::errc{} && end == last;
  } else {
    char* end = nullptr;
    if constexpr (std::is_same_v<Number, float>)
      value = std::strtof(text.c_str(), &end);
    else
      value = std::strtod(text.c_str(), &end);
    return end == last && std::isfinite(value);
  }
}

// Hands out its text seven characters per refill, as standard input hands out its blocks, so that
// refills fall everywhere in a long number.
class Trickle final : public ReadAhead {
public:
  explicit Trickle(const std::string& text) : text_(text) {}

protected:
  int_type underflow() override {
    if (gptr() == egptr() && next_ < text_.size()) {
      const std::size_t count = std::min<std::size_t>(7, text_.size() - next_);
      setg(&text_[next_], &text_[next_], &text_[next_] + count);
      next_ += count;
    }
    return gptr() == egptr() ? traits_type::eof() : traits_type::to_int_type(*gptr());
  }

private:
  std::string text_;
  std::size_t next_ = 0;
};

template <typename Number> void expectAsWhole(const std::string& text) {
  SCOPED_TRACE(text.size() <= 60 ? text
                                 : text.substr(0, 30) + "..." + text.substr(text.size() - 30) +
                                       " (" + std::to_string(text.size()) + " characters)");
  Number want{};
  const bool ok = whole(text, want);
  // Read a character at a time from a string stream, and from a buffer held ahead a few
  // characters at a time.
  std::istringstream plain(text);
  Trickle trickle(text);
  std::istream held(&trickle);
  for (std::istream* in : {static_cast<std::istream*>(&plain), &held}) {
    in->imbue(std::locale(in->getloc(), new NumberScan));
    Number got{};
    *in >> got;
    EXPECT_EQ(in->rdstate(),
              ok ? std::ios_base::eofbit : std::ios_base::eofbit | std::ios_base::failbit);
    // The same value and sign (-0 is not 0); a failed read stores 0.
    EXPECT_EQ(got, ok ? want : Number{});
    EXPECT_EQ(std::signbit(got), ok && std::signbit(want));
  }
}

// digits times 10^power, exactly.
struct Decimal {
  std::string digits;
  int power = 0;
};

// The exact decimal value of odd * 2^exponent.
Decimal exactly(std::uint64_t odd, int exponent) {
  std::vector<std::uint64_t> limbs; // base 10^9, lowest first
  for (; odd != 0; odd /= 1'000'000'000)
    limbs.push_back(odd % 1'000'000'000);
  const auto times = [&](std::uint64_t factor) {
    std::uint64_t carry = 0;
    for (std::uint64_t& limb : limbs) {
      carry += limb * factor;
      limb = carry % 1'000'000'000;
      carry /= 1'000'000'000;
    }
    for (; carry != 0; carry /= 1'000'000'000)
      limbs.push_back(carry % 1'000'000'000);
  };
  for (int i = 0; i < std::abs(exponent); ++i)
    times(exponent > 0 ? 2 : 5);
  std::string digits = std::to_string(limbs.back());
  for (auto limb = limbs.rbegin() + 1; limb != limbs.rend(); ++limb)
    digits += std::string(9 - std::to_string(*limb).size(), '0') + std::to_string(*limb);
  return {digits, std::min(exponent, 0)};
}

// The number exactly halfway between a positive value and the next one above it of its type.
template <typename Real> Decimal halfwayAbove(Real value) {
  constexpr int bits = std::numeric_limits<Real>::digits;
  int exponent = std::numeric_limits<Real>::min_exponent - bits; // subnormals' spacing
  if (value != 0) {
    int binary = 0;
    std::frexp(value, &binary);
    exponent = std::max(binary - bits, exponent);
  }
  const auto m = static_cast<std::uint64_t>(std::ldexp(value, -exponent));
  return exactly(2 * m + 1, exponent - 1);
}

// Written out in full with `zeros` leading zeros, and `tail` added after its last digit.
std::string written(const Decimal& d, std::size_t zeros = 0, const std::string& tail = "") {
  std::string text = std::string(zeros, '0');
  const long point = static_cast<long>(d.digits.size()) + d.power;
  if (point <= 0)
    return text + "0." + std::string(static_cast<std::size_t>(-point), '0') + d.digits + tail;
  text += d.digits.substr(0, static_cast<std::size_t>(point)) + ".";
  return text + d.digits.substr(static_cast<std::size_t>(point)) + tail;
}

// As 0.000…digits with `zeros` zeros after the point, and an exponent with `exponentZeros`
// leading zeros.
std::string scientific(const Decimal& d, std::size_t zeros, std::size_t exponentZeros,
                       const std::string& tail = "") {
  const long exponent = d.power + static_cast<long>(d.digits.size() + zeros);
  return "0." + std::string(zeros, '0') + d.digits + tail + (exponent < 0 ? "e-" : "e+") +
         std::string(exponentZeros, '0') + std::to_string(std::labs(exponent));
}

TEST(NumberScan, LongNumbersAsWhole) {
  const std::string nonZeroFarOn = std::string(5000, '0') + "1";
  const std::string zeros(100000, '0');
  const std::string nines(5000, '9');
  const Decimal smallestHalf = halfwayAbove(0.0); // 2^-1075, 752 digits
  for (const std::string& text :
       {written(smallestHalf), written(smallestHalf, 0, nonZeroFarOn),
        // Zeros past the kept digits leave a tie a tie: it reads as 0.
        written(smallestHalf, 0, std::string(100, '0')),
        // The tie with the most significant digits, 768.
        written(exactly((1ULL << 53) - 1, -1075)), "-" + written(smallestHalf, 0, nonZeroFarOn),
        scientific(smallestHalf, 3000, 2000), scientific(smallestHalf, 3000, 2000, nonZeroFarOn),
        written(halfwayAbove(1.0)), written(halfwayAbove(1.0), 7, nonZeroFarOn),
        written(exactly((1ULL << 53) - 1, 971), 0, zeros), written(halfwayAbove(DBL_MAX)),
        written(halfwayAbove(DBL_MIN), 0, nonZeroFarOn), zeros + "1.5e3",
        "0." + zeros + "15e100001", "-" + zeros + "." + zeros + "e" + nines, "1e" + zeros + "308",
        "1e+" + zeros + "309", "1e-" + zeros + "324", "1e" + nines, "1" + zeros + "e-" + nines,
        "0e" + nines, "1" + zeros + "e-100300", nines + "." + nines})
    expectAsWhole<double>(text);
  for (const std::string& text :
       {written(halfwayAbove(0.0F)), written(halfwayAbove(0.0F), 0, nonZeroFarOn),
        written(halfwayAbove(1.0F)), written(halfwayAbove(1.0F), 0, nonZeroFarOn),
        written(exactly((1ULL << 24) - 1, 104), 0, zeros), written(halfwayAbove(FLT_MAX)),
        "1e-" + zeros + "46", "0." + zeros + "1e" + nines})
    expectAsWhole<float>(text);
  const std::string million(1'000'000, '0');
  for (const std::string& text :
       {million + "2147483647", "-" + million + "2147483648", million + "2147483648",
        "-" + million + "2147483649", "+" + million + "7", "-" + million, million + nines})
    expectAsWhole<int>(text);
}

// Long random numbers right at a rounding tie, on it or a non-zero digit past it, in either
// form, against the conversion of the whole text.
TEST(NumberScan, RandomTiesAsWhole) {
  std::mt19937_64 random(20261207); // NOLINT(cert-msc32-c,cert-msc51-cpp): the same cases each run
  const auto pick = [&](std::size_t most) { return random() % (most + 1); };
  for (int i = 0; i < 300; ++i) {
    // Positive and finite: the sign bit clear, and not the largest exponent.
    const std::uint64_t bits = random() % 0x7FF0'0000'0000'0000;
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    const auto singleBits = static_cast<std::uint32_t>(bits % 0x7F80'0000);
    float single = 0;
    std::memcpy(&single, &singleBits, sizeof single);
    const std::string tail = pick(1) ? std::string(pick(2000), '0') + "1" : "";
    const std::string sign = pick(1) ? "-" : "";
    const Decimal d = halfwayAbove(value);
    expectAsWhole<double>(
        sign + (pick(1) ? written(d, pick(50), tail) : scientific(d, pick(1000), pick(50), tail)));
    expectAsWhole<float>(sign + written(halfwayAbove(single), pick(50), tail));
  }
}

} // namespace
