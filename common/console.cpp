#include "console.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <system_error>

namespace {

// Standard libraries' formatted extraction differs on odd answers: one reads "inf", "nan" and
// hexadecimal numbers such as "0x1p3", fails on "1.5e3x" or an underflowing "1e-400", and leaves
// other characters in the input after a failure. The programs read every number the way GNU's
// library does, on every library, by scanning its characters themselves:
//  - an optional sign, then digits;
//  - for a real number also one decimal point, and after at least one digit an exponent: "e" or
//    "E", an optional sign and digits. "e" is taken even when no digit follows, and the read then
//    fails, as "1e" is no number.
// Each character taken is consumed; the first one that cannot continue the number stays in the
// input. Returns whether the input ran out during the scan.
bool scanNumber(std::streambuf& in, bool real, std::string& text) {
  using Traits = std::char_traits<char>;
  Traits::int_type c = in.sgetc();
  const auto take = [&](char kept) {
    text += kept;
    c = in.snextc();
  };
  if (c == '+' || c == '-')
    take(Traits::to_char_type(c));
  bool digits = false;
  bool point = false;
  bool exponent = false;
  while (!Traits::eq_int_type(c, Traits::eof())) {
    if (c >= '0' && c <= '9') {
      digits = true;
      take(Traits::to_char_type(c));
    } else if (real && c == '.' && !point && !exponent) {
      point = true;
      take('.');
    } else if (real && (c == 'e' || c == 'E') && digits && !exponent) {
      exponent = true;
      take('e');
      if (c == '+' || c == '-')
        take(Traits::to_char_type(c));
    } else {
      break;
    }
  }
  return Traits::eq_int_type(c, Traits::eof());
}

// The conversions of the scanned text, each a failure unless the whole text is one number of
// the type's range. An int is converted by std::from_chars, which takes no plus sign.
bool convert(const std::string& text, int& value) {
  const char* first = text.data();
  const char* const last = first + text.size();
  if (first != last && *first == '+')
    ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc{} && end == last;
}

// Real numbers go through strtod and strtof, whose decimal point is the C locale's: the programs
// never change it from "C". Overflow gives infinity, a failed read; underflow gives a subnormal or
// 0, which is read. strtof rounds once, straight to single precision.
template <typename Real>
bool convertReal(const std::string& text, Real& value, Real (*to)(const char*, char**)) {
  char* end = nullptr;
  value = to(text.c_str(), &end);
  return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

bool convert(const std::string& text, float& value) {
  return convertReal(text, value, std::strtof);
}

bool convert(const std::string& text, double& value) {
  return convertReal(text, value, std::strtod);
}

template <typename Number> void read(Number& field, bool real) {
  // The sentry flushes the prompt, skips white space, and fails at once when standard input has
  // already failed or runs out.
  const std::istream::sentry sentry(std::cin);
  if (!sentry)
    return;
  std::string text;
  std::ios_base::iostate state = std::ios_base::goodbit;
  if (scanNumber(*std::cin.rdbuf(), real, text))
    state |= std::ios_base::eofbit;
  Number value{};
  if (convert(text, value))
    field = value;
  else
    state |= std::ios_base::failbit;
  std::cin.setstate(state);
}

} // namespace

void readNumber(int& field) {
  read(field, false);
}

void readNumber(float& field) {
  read(field, true);
}

void readNumber(double& field) {
  read(field, true);
}

void WatchedOutput::failed() {
  // A failure that set no reason of its own is still an input/output error.
  if (firstError_ == 0)
    firstError_ = errno != 0 ? errno : EIO;
}

// errno is cleared before each write passed on, so that a reason kept is that write's own.
WatchedOutput::int_type WatchedOutput::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof()))
    return traits_type::not_eof(c);
  errno = 0;
  const int_type written = to_->sputc(traits_type::to_char_type(c));
  if (traits_type::eq_int_type(written, traits_type::eof()))
    failed();
  return written;
}

std::streamsize WatchedOutput::xsputn(const char* s, std::streamsize n) {
  errno = 0;
  const std::streamsize written = to_->sputn(s, n);
  if (written < n)
    failed();
  return written;
}

int WatchedOutput::sync() {
  errno = 0;
  const int result = to_->pubsync();
  if (result != 0)
    failed();
  return result;
}

Console::Console(const char* program)
    : program_(program), original_(std::cout.rdbuf()), watched_(original_) {
  std::cout.rdbuf(&watched_);
}

Console::~Console() {
  std::cout.rdbuf(original_);
}

int Console::finish() {
  // A write that fails only now, as the last output leaves, counts too.
  std::cout.flush();
  // Standard input never leaves its failed state once a read fails, so checking it here covers
  // every read of the run. Reaching end of input after a complete read sets only the end-of-file
  // state, which is not a failure.
  if (std::cin.fail())
    std::cerr << program_ << ": hyrja nuk u lexua e plote; vlerat qe mungojne jane 0 ose bosh\n";
  const int lost = watched_.firstError();
  if (lost != 0)
    std::cerr << program_ << ": dalja nuk u shkrua e plote: " << std::strerror(lost) << '\n';
#ifdef _WIN32
  // The Windows console's own pause command waits for a key press. Its result says nothing the
  // dialogue needs.
  static_cast<void>(std::system("Pause"));
#endif
  // Elsewhere the command interpreter has no such command: calling it would only start a shell
  // that complains on standard error, so there is nothing to do.
  return lost != 0 ? 1 : 0;
}
