// How the dialogues read and write numbers, alike on every standard library: two locale facets,
// which Console imbues into standard input and standard output, so that every `std::cin >> x` and
// `std::cout << x` of the exercises goes through them.
#pragma once

#include <cstddef>
#include <ios>
#include <locale>
#include <streambuf>
#include <string>
#include <utility>

// A stream buffer that hands out its input a block at a time and knows where each character it
// hands out stands: its line and its place in that line, whatever the blocks' size. The number scan
// sees the characters it holds ahead, so that a long run of digits is taken in one tight loop
// rather than one stream call each. Standard input is one (StandardInput, in console.h); from any
// other stream buffer a number is read a character at a time.
class ReadAhead : public std::streambuf {
public:
  // Where a character stands: how many characters were read before it, its line, and its column
  // in that line, each counted from 0.
  struct Place {
    std::size_t offset = 0, line = 0, column = 0;
  };
  // How many of the last characters read `recent` can give back: more than any field holds.
  static constexpr std::size_t kRecent = 64;

  const char* aheadBegin() const { return gptr(); }
  const char* aheadEnd() const { return egptr(); }
  // Takes the first `count` characters held ahead; there are at least that many.
  void take(std::ptrdiff_t count) { gbump(static_cast<int>(count)); }
  // Where the next character to be read stands.
  Place place() const;
  // How many characters have been read: the place's offset, without counting lines.
  std::size_t offset() const {
    return blockAt_.offset + static_cast<std::size_t>(gptr() - eback());
  }
  // The last `count` characters read, or as many of them as are kept.
  std::string recent(std::size_t count) const;

protected:
  // The block handed out has been read: where it ends and its last characters are kept, and the
  // get area is emptied. underflow calls this before it hands out the next block. A block known to
  // hold at most one line end, as its last character (`asLine`), is not searched for line ends.
  void moveOn(bool asLine = false);

private:
  Place blockAt_;             // where the block handed out begins
  char behind_[kRecent] = {}; // the last characters read before it
  std::size_t behindCount_ = 0;
};

// The number scan of `>>` into an int, a float or a double. Standard libraries differ on odd
// answers: one reads "inf", "nan" and hexadecimal numbers such as "0x1p3", fails on "1.5e3x" or an
// underflowing "1e-400", and leaves other characters in the input after a failure. This scan takes
// the characters of a number as GNU's library does, on every library:
//  - an optional sign, then digits;
//  - for a real number also one decimal point, and after at least one digit an exponent: "e" or
//    "E", an optional sign and digits. "e" is taken even when no digit follows, and the read then
//    fails, as "1e" is no number.
// Each character taken is consumed; the first one that cannot continue the number stays in the
// input. Of a number of any length only what its value needs is kept, so it is read in memory
// that does not grow with it. A number beyond its type's range fails the read, as one that is no
// number does: it must not decide a verdict or a product. A failed read stores 0.
//
// Its rules, for whoever changes it:
//  - Its long read is an int's. GNU's and LLVM's `>>` into an int both ask num_get for a long and
//    narrow it, storing INT_MAX or INT_MIN when it is beyond int's range, and reading the long
//    even after a failure. So this facet judges int's range itself (2147483648 fails), and stores
//    0 on every failure, which the narrowing keeps: the int is then 0 on every platform, the
//    value every field starts with.
//  - It reads the buffer of the stream it is given, which `>>` makes the buffer that `in` reads:
//    through it, it reaches the block reader of standard input (a ReadAhead). A caller that hands
//    it no stream gets the library's own scan.
//  - Every other type is the library's own: the dialogues read none.
class NumberScan final : public std::num_get<char> {
public:
  enum class Outcome { None, Read, NotANumber, OutOfRange };

  // With refs 1, no locale deletes the facet: Console owns it.
  explicit NumberScan(std::size_t refs = 0) : std::num_get<char>(refs) {}
  ~NumberScan() override = default;
  NumberScan(const NumberScan&) = delete;
  NumberScan& operator=(const NumberScan&) = delete;

  // What the scan saw of the last number it read.
  struct Last {
    Outcome outcome = Outcome::None; // None when no number was read
    bool whole = false;              // it was an int
    ReadAhead::Place first;          // where its first character stood, read from a ReadAhead
    std::string text;  // its first kText characters taken: one more than a line on standard error
                       // shows of an answer, so that it can tell there were more
    int stop = -1;     // the character that stopped it, left in the input; -1 at the end of input
    double stored = 0; // the value it stored
  };
  static constexpr std::size_t kText = 21;

  // The last number read since the last call. Console reads it to tell a number that failed
  // from an answer that is missing, and to say what was typed (one dialogue at a time, on one
  // thread).
  Last takeLast() {
    Last last = std::move(last_);
    last_ = Last{};
    return last;
  }

protected:
  iter_type do_get(iter_type in, iter_type end, std::ios_base& stream,
                   std::ios_base::iostate& state, long& value) const override;
  iter_type do_get(iter_type in, iter_type end, std::ios_base& stream,
                   std::ios_base::iostate& state, float& value) const override;
  iter_type do_get(iter_type in, iter_type end, std::ios_base& stream,
                   std::ios_base::iostate& state, double& value) const override;

private:
  template <typename Number, typename Stored>
  iter_type read(iter_type in, iter_type end, std::ios_base& stream, std::ios_base::iostate& state,
                 Stored& value) const;

  mutable Last last_;
};

// Writes every not-a-number without its sign. The sign means nothing, yet C libraries differ on
// showing it ("-nan" in one, "nan" in another): written as the positive one, it gives the same
// bytes on every platform. Every other value is written as the library writes it.
class NanWithoutSign final : public std::num_put<char> {
public:
  explicit NanWithoutSign(std::size_t refs = 0) : std::num_put<char>(refs) {}
  ~NanWithoutSign() override = default;
  NanWithoutSign(const NanWithoutSign&) = delete;
  NanWithoutSign& operator=(const NanWithoutSign&) = delete;

protected:
  iter_type do_put(iter_type out, std::ios_base& stream, char fill, double value) const override;
  iter_type do_put(iter_type out, std::ios_base& stream, char fill,
                   long double value) const override;
};
