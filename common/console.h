// What both programs' dialogues share: reading a line, writing not-a-number, watching standard
// output for lost writes, and what stands in for the platform at the end of every dialogue.
#pragma once

#include <cmath>
#include <cstddef>
#include <iostream>
#include <streambuf>

#include "read_number.h"

// Line read into a character field: keeps at most bound - 1 characters and always writes the
// terminator; a longer line leaves its rest in the input and fails the read. The bound is the
// field's own size unless a smaller one is given, so a read can never write past its field.
template <std::size_t Size> void readLine(char (&field)[Size], std::size_t bound = Size) {
  std::cin.getline(field, static_cast<std::streamsize>(bound < Size ? bound : Size));
}

// A not-a-number's sign means nothing, yet C libraries differ on showing it ("-nan" in one,
// "nan" in another). Writing every not-a-number as the positive one gives the same bytes on
// every platform.
inline double withoutNanSign(double value) {
  return std::isnan(value) ? std::fabs(value) : value;
}

// Passes every write on to another stream buffer and keeps the system's reason for the first one
// that fails, taken at the moment it fails: by the end of the dialogue the reason may long be gone.
class WatchedOutput final : public std::streambuf {
public:
  void passTo(std::streambuf* to) { to_ = to; }
  int firstError() const { return firstError_; }

protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

private:
  void failed();

  std::streambuf* to_ = nullptr;
  int firstError_ = 0;
};

// Standard input, taken from the C library's standard input a block at a time, on every standard
// library: LLVM's passes C's standard input on one character at a time, and a long answer would
// be read no faster than that. Going through the C library keeps what each C runtime does to the
// input, such as Windows' CR LF line ends read as one line end. A block is at most one line, so an
// answer is taken as soon as its line end is typed.
class StandardInput final : public ReadAhead {
protected:
  int_type underflow() override;

private:
  char block_[1 << 12] = {};
  std::size_t dirty_ = sizeof block_; // how much of block_, from its start, a read may have written
};

// One dialogue on the console, declared first in every routine: for its lifetime standard output
// is watched for lost writes, and standard input is read in blocks. `finish` is the dialogue's
// closing step and gives the routine's exit status.
class Console {
public:
  explicit Console(const char* program);
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Flushes standard output, writes one line on standard error if any read of the run failed and
  // one if any write to standard output failed, then runs the closing pause. Returns 0, or 1 when
  // output was lost: a dialogue nobody could see is not a success.
  int finish();

private:
  const char* program_;
  WatchedOutput watched_;
  std::streambuf* original_ = nullptr;      // standard output's and standard input's own buffers,
  std::streambuf* originalInput_ = nullptr; // given back when the dialogue ends
  StandardInput input_;
};
