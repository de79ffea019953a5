// What both programs' dialogues share: reading a line, writing not-a-number, watching standard
// output for lost writes, and what stands in for the platform at the end of every dialogue.
#pragma once

#include <cmath>
#include <cstddef>
#include <iostream>
#include <streambuf>
#include <string>

#include "read_number.h"

// How a read of the dialogue ended. readNumber and readLine note each read they make, so that at
// the end of the dialogue the first that failed can be named, with its prompt and the reason.
enum class ReadEnd {
  Read,         // the answer was read
  NotANumber,   // something that is not a number where a number belongs
  OutOfRange,   // a number beyond its type's range
  TooLong,      // a text longer than its field
  InputEnded,   // the input ended before the answer
  AfterFailure, // an earlier read had failed, so this one failed at once
};
// `limit` is a text field's limit in bytes.
void noteRead(ReadEnd end, std::size_t limit = 0);

// Line read into a character field: keeps at most bound - 1 characters and always writes the
// terminator; a longer line leaves its rest in the input and fails the read. The bound is the
// field's own size unless a smaller one is given, so a read can never write past its field.
template <std::size_t Size> void readLine(char (&field)[Size], std::size_t bound = Size) {
  const std::size_t limit = (bound < Size ? bound : Size) - 1;
  const bool failedBefore = std::cin.fail();
  std::cin.getline(field, static_cast<std::streamsize>(limit + 1));
  // A line of exactly `limit` characters is read whole, its line end or the end of input next; a
  // failure that took `limit` characters is a longer line, and one that took none is the end.
  ReadEnd end = ReadEnd::Read;
  if (std::cin.fail())
    end = failedBefore                                               ? ReadEnd::AfterFailure
          : std::cin.gcount() == static_cast<std::streamsize>(limit) ? ReadEnd::TooLong
                                                                     : ReadEnd::InputEnded;
  noteRead(end, limit);
}

// A not-a-number's sign means nothing, yet C libraries differ on showing it ("-nan" in one,
// "nan" in another). Writing every not-a-number as the positive one gives the same bytes on
// every platform.
inline double withoutNanSign(double value) {
  return std::isnan(value) ? std::fabs(value) : value;
}

// Passes every write on to another stream buffer and keeps the system's reason for the first one
// that fails, taken at the moment it fails: by the end of the dialogue the reason may long be gone.
//
// It also keeps the end of what was written since the last read, which is that read's prompt.
class WatchedOutput final : public std::streambuf {
public:
  void passTo(std::streambuf* to) { to_ = to; }
  int firstError() const { return firstError_; }
  // The last line written since the last call, without its trailing blanks, and at most its last
  // kPromptKept bytes, after "..." when cut; the next call starts anew.
  std::string takePrompt();

protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

private:
  void failed();
  void see(const char* s, std::size_t n);

  static constexpr std::size_t kPromptKept = 60;
  std::streambuf* to_ = nullptr;
  int firstError_ = 0;
  std::string line_; // the end of the line being written, at most kPromptKept bytes
  bool lineCut_ = false;
};

// Standard input, taken from the C library's standard input a block at a time, on every standard
// library: LLVM's passes C's standard input on one character at a time, and a long answer would
// be read no faster than that. Going through the C library keeps what each C runtime does to the
// input, such as Windows' CR LF line ends read as one line end. A block is at most one line, so an
// answer is taken as soon as its line end is typed.
//
// It also keeps how the first of the dialogue's reads that failed failed.
class StandardInput final : public ReadAhead {
public:
  void note(const std::string& prompt, ReadEnd end, std::size_t limit);
  // What the line on standard error says about the first failed read, or nothing.
  const std::string& firstFailure() const { return firstFailure_; }
  // The line on standard error about what the last answer's line held past the answer, or
  // nothing: only what is already here is looked at, so it never waits for more input. A text
  // read takes its whole line, so that answer was a number.
  std::string unread() const;

protected:
  int_type underflow() override;

private:
  char block_[1 << 12] = {};
  std::size_t dirty_ = sizeof block_; // how much of block_, from its start, a read may have written
  std::string firstFailure_;
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

  // Flushes standard output, writes one line on standard error if any read of the run failed (or,
  // when none did, if the last answer's line held more than the answer) and one if any write to
  // standard output failed, then runs the closing pause. Returns 0, or 1 when output was lost: a
  // dialogue nobody could see is not a success.
  int finish();

private:
  const char* program_;
  WatchedOutput watched_;
  std::streambuf* original_ = nullptr;      // standard output's and standard input's own buffers,
  std::streambuf* originalInput_ = nullptr; // given back when the dialogue ends
  StandardInput input_;
};
