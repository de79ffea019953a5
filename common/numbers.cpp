#include "numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ios>
#include <limits>
#include <string>
#include <system_error>
#include <type_traits>

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
  Traits::int_type stop = Traits::eof(); // the character that stopped the scan
};

struct Skipped {
  long long count = 0;
  bool nonZero = false;
};

// Takes a run of digits, from the current character on, to the first character that is no digit,
// which stays in the input, keeping in `text` those that fit in NumberScan::kText. From a
// ReadAhead, such as standard input, the digits held ahead are taken in one tight loop rather than
// one stream call each, so a long answer reads at about the speed of its pipe even where those
// calls are costly (in WebAssembly each is a call into the standard library that can wait for
// input).
Skipped skipDigits(std::streambuf& in, std::string& text) {
  Skipped skipped;
  auto* const own = dynamic_cast<ReadAhead*>(&in);
  Traits::int_type c = in.sgetc();
  while (c >= '0' && c <= '9') {
    if (own != nullptr) {
      // The loop keeps its state in locals: for all the compiler knows, the characters it reads
      // could be the bytes of `skipped`, which it would then store again for every digit.
      const char* const first = own->aheadBegin();
      const char* const end = own->aheadEnd();
      const char* digit = first;
      bool nonZero = false;
      for (; digit != end && *digit >= '0' && *digit <= '9'; ++digit)
        nonZero |= *digit != '0';
      skipped.nonZero |= nonZero;
      skipped.count += digit - first;
      text.append(first, std::min<std::size_t>(digit - first, NumberScan::kText - text.size()));
      own->take(digit - first);
      c = in.sgetc();
    } else {
      ++skipped.count;
      skipped.nonZero |= c != '0';
      if (text.size() < NumberScan::kText)
        text += Traits::to_char_type(c);
      c = in.snextc();
    }
  }
  return skipped;
}

// The characters of a number, taken as NumberScan says (numbers.h), the first of them kept in
// `text`. Of the characters taken only what the value needs is kept: leading zeros and the point
// only move the exponent, and at most `most` significant digits are kept.
Kept scan(std::streambuf& in, bool real, std::size_t most, std::string& text) {
  Kept k;
  k.significant.reserve(most);
  // Takes the current character, `c`, and gives the next.
  const auto next = [&](Traits::int_type c) {
    if (text.size() < NumberScan::kText)
      text += Traits::to_char_type(c);
    return in.snextc();
  };
  Traits::int_type c = in.sgetc();
  if (c == '+' || c == '-') {
    k.negative = c == '-';
    c = next(c);
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
        const Skipped skipped = skipDigits(in, text);
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
    c = next(c);
  }
  // The exponent, after at least one digit.
  if (real && k.digits && (c == 'e' || c == 'E')) {
    k.exponent = true;
    c = next(c);
    const bool negative = c == '-';
    if (c == '+' || c == '-')
      c = next(c);
    for (; c >= '0' && c <= '9'; c = next(c)) {
      k.exponentDigits = true;
      if (k.exponentValue < kTypedExponentLimit)
        k.exponentValue = k.exponentValue * 10 + (c - '0');
    }
    if (negative)
      k.exponentValue = -k.exponentValue;
  }
  k.stop = c;
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

// Scans a number from `in` into `value`, adding to `state` what the read leaves: failbit for a
// failed read, eofbit when the input ran out during the scan. A number that does not convert is
// out of range when it has all a number needs, and otherwise no number; either stores 0.
template <typename Number>
NumberScan::Last scanInto(std::streambuf& in, std::ios_base::iostate& state, Number& value) {
  constexpr bool real = std::is_floating_point_v<Number>;
  NumberScan::Last last;
  last.whole = !real;
  if (const auto* const block = dynamic_cast<const ReadAhead*>(&in))
    last.first = block->place();
  const Kept kept = scan(in, real, real ? kRealDigits : kIntDigits, last.text);
  last.stop = Traits::eq_int_type(kept.stop, Traits::eof()) ? -1 : kept.stop;
  if (last.stop == -1)
    state |= std::ios_base::eofbit;
  if (convert(kept, value)) {
    last.outcome = NumberScan::Outcome::Read;
    return last;
  }
  value = 0;
  state |= std::ios_base::failbit;
  const bool number = kept.digits && (!kept.exponent || kept.exponentDigits);
  last.outcome = number ? NumberScan::Outcome::OutOfRange : NumberScan::Outcome::NotANumber;
  return last;
}

// The buffer that a stream's `>>` reads, or none when `stream` is no stream.
std::streambuf* bufferOf(std::ios_base& stream) {
  auto* const ios = dynamic_cast<std::ios*>(&stream);
  return ios != nullptr ? ios->rdbuf() : nullptr;
}

} // namespace

// The block's characters read so far move the place on: each line end to the next line.
ReadAhead::Place ReadAhead::place() const {
  Place at = blockAt_;
  at.offset += static_cast<std::size_t>(gptr() - eback());
  const char* line = eback();
  for (const void* end; line != gptr() && (end = std::memchr(line, '\n', gptr() - line));) {
    ++at.line;
    at.column = 0;
    line = static_cast<const char*>(end) + 1;
  }
  at.column += static_cast<std::size_t>(gptr() - line);
  return at;
}

std::string ReadAhead::recent(std::size_t count) const {
  const auto inBlock = static_cast<std::size_t>(gptr() - eback());
  count = std::min(count, behindCount_ + inBlock);
  const std::size_t fromBlock = std::min(count, inBlock);
  std::string text(behind_ + behindCount_ - (count - fromBlock), count - fromBlock);
  if (fromBlock > 0)
    text.append(gptr() - fromBlock, fromBlock);
  return text;
}

void ReadAhead::moveOn(bool asLine) {
  const auto read = static_cast<std::size_t>(gptr() - eback());
  const std::size_t fromBlock = std::min(read, kRecent);
  const std::size_t kept = std::min(behindCount_, kRecent - fromBlock);
  std::memmove(behind_, behind_ + behindCount_ - kept, kept);
  if (fromBlock > 0)
    std::memcpy(behind_ + kept, gptr() - fromBlock, fromBlock);
  behindCount_ = kept + fromBlock;
  const bool lineEnd = read > 0 && gptr()[-1] == '\n';
  if (!asLine)
    blockAt_ = place();
  else
    blockAt_ = {blockAt_.offset + read, blockAt_.line + (lineEnd ? 1 : 0),
                lineEnd ? 0 : blockAt_.column + read};
  setg(nullptr, nullptr, nullptr);
}

// Reads a Number, and hands it on as the Stored type that num_get was asked for.
template <typename Number, typename Stored>
NumberScan::iter_type NumberScan::read(iter_type in, iter_type end, std::ios_base& stream,
                                       std::ios_base::iostate& state, Stored& value) const {
  std::streambuf* const buffer = bufferOf(stream);
  if (buffer == nullptr)
    return std::num_get<char>::do_get(in, end, stream, state, value);
  Number number = 0;
  last_ = scanInto(*buffer, state, number);
  last_.stored = number;
  value = number;
  return iter_type(buffer);
}

NumberScan::iter_type NumberScan::do_get(iter_type in, iter_type end, std::ios_base& stream,
                                         std::ios_base::iostate& state, long& value) const {
  return read<int>(in, end, stream, state, value);
}

NumberScan::iter_type NumberScan::do_get(iter_type in, iter_type end, std::ios_base& stream,
                                         std::ios_base::iostate& state, float& value) const {
  return read<float>(in, end, stream, state, value);
}

NumberScan::iter_type NumberScan::do_get(iter_type in, iter_type end, std::ios_base& stream,
                                         std::ios_base::iostate& state, double& value) const {
  return read<double>(in, end, stream, state, value);
}

NanWithoutSign::iter_type NanWithoutSign::do_put(iter_type out, std::ios_base& stream, char fill,
                                                 double value) const {
  return std::num_put<char>::do_put(out, stream, fill,
                                    std::isnan(value) ? std::fabs(value) : value);
}

NanWithoutSign::iter_type NanWithoutSign::do_put(iter_type out, std::ios_base& stream, char fill,
                                                 long double value) const {
  return std::num_put<char>::do_put(out, stream, fill,
                                    std::isnan(value) ? std::fabs(value) : value);
}
