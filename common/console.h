// The console layer beneath both programs' dialogues. Console, declared first in every routine,
// installs it beneath the standard streams and takes it away again; the exercises themselves use
// only std::cin and std::cout.
//
// What the layer relies on in the standard libraries, each pinned by a row that every build CI
// runs plays (the tables of tests/):
//  - A read's sentry flushes standard output, to which standard input is tied, whenever standard
//    output's put area holds something: the standard lets it skip only an empty one. The prompt
//    waits in WatchedOutput's put area, so it shows before the read waits (the tables'
//    EachPromptShowsBeforeItsRead).
//  - `<<` of a string hands the whole string to the stream buffer's xsputn, in GNU's and LLVM's
//    libraries alike: so a prompt meets the read watch before the read after it, even one that
//    fails at once, with no flush, after the input ended ("end of input right after the name").
//  - Every read takes its characters through the stream buffer's get area, as the standard's
//    stream buffer interface has it (GNU's getline takes a run of it at once, and moves past it):
//    so where the get area stands is where the last read stopped ("a blank after the number").
//  - `>>` into an int asks num_get for a long: numbers.h says what NumberScan makes of it.
//  - GNU's library gives standard output a new buffer at sync_with_stdio(false): Console takes
//    the buffer after it.
#pragma once

#include <cstddef>
#include <istream>
#include <locale>
#include <streambuf>
#include <string>

#include "numbers.h"
#include "read_watch.h"

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

// Standard output, through a put area of its own, passed on to standard output's own buffer when
// full and at every flush. The put area holds each prompt until the read after it flushes it, so
// the flush that shows the prompt can never be skipped as one of an empty buffer. Output meets the
// read watch at each write of a text, and whenever the put area is passed on. The reason of the
// first pass that fails is kept, taken at the moment it fails: by the end of the dialogue the
// reason may long be gone. From then on what is written is dropped, and the stream is never told:
// the dialogue runs to its end, still meeting the watch, and Console::finish reports the loss.
class WatchedOutput final : public std::streambuf {
public:
  void passTo(std::streambuf* to, ReadWatch* watch) {
    to_ = to;
    watch_ = watch;
    setp(buffer_, buffer_ + sizeof buffer_);
  }
  int firstError() const { return firstError_; }

protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

private:
  void meet(const char* s, std::size_t n);
  void passOn();

  std::streambuf* to_ = nullptr;
  ReadWatch* watch_ = nullptr;
  int firstError_ = 0;
  char buffer_[1 << 13] = {};
  char* seen_ = buffer_; // the put area up to here has met the watch
};

// One dialogue on the console, declared first in every routine. For its lifetime standard input
// is read in blocks and scans numbers with NumberScan, and standard output is watched and writes
// not-a-number without its sign. `finish` is the dialogue's closing step and gives the routine's
// exit status.
class Console {
public:
  explicit Console(const char* program);
  ~Console();
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Flushes standard output and writes on standard error what went wrong with the reads, as
  // ReadWatch tells it, and a line when a write to standard output failed; then runs the closing
  // pause. Returns 0, or 1 when output was lost: a dialogue nobody could see is not a success.
  int finish();

private:
  const char* program_;
  NumberScan numbers_{1}; // refs 1: owned here, never deleted by a locale
  NanWithoutSign nanWithoutSign_{1};
  StandardInput input_;
  ReadWatch reads_;
  WatchedOutput watched_;
  // The streams' own buffers and locales, given back when the dialogue ends.
  std::streambuf* originalOutput_ = nullptr;
  std::streambuf* originalInput_ = nullptr;
  std::locale outputLocale_;
  std::locale inputLocale_;
};
