// The console layer beneath both programs' dialogues. Console, declared first in every routine,
// installs it beneath the standard streams and takes it away again; the exercises themselves use
// only std::cin and std::cout.
#pragma once

#include <cstddef>
#include <istream>
#include <locale>
#include <streambuf>
#include <string>

#include "numbers.h"

// Standard input, taken from the C library's standard input a block at a time, on every standard
// library: LLVM's passes C's standard input on one character at a time, and a long answer would
// be read no faster than that. Going through the C library keeps what each C runtime does to the
// input, such as Windows' CR LF line ends read as one line end. A block is at most one line, so an
// answer is taken as soon as its line end is typed.
class StandardInput final : public ReadAhead {
public:
  // The line on standard error about what the last answer's line held past the answer, or
  // nothing: only what is already here is looked at, so it never waits for more input. A text
  // read takes its whole line, so that answer was a number.
  std::string unread() const;
  // How often more input was asked of the C library: for each line or block taken, and each time
  // the end of the input was met.
  std::size_t refills() const { return refills_; }

protected:
  int_type underflow() override;

private:
  char block_[1 << 12] = {};
  std::size_t dirty_ = sizeof block_; // how much of block_, from its start, a read may have written
  std::size_t refills_ = 0;
};

// Tells which read of the dialogue failed first, and why, and which answer was first taken from
// the rest of an earlier answer's line, from the streams' state as standard output meets it.
// Standard input is tied to standard output, so while standard input is good every read flushes
// standard output before it begins: what was written since the read before is this read's prompt,
// and what standard input still holds of the line then is what the read will take first. A read
// that fails leaves standard input failed, and every later read fails at once, without a flush; so
// the first write (or flush) that finds standard input failed comes after the read that failed,
// and sees why: the number scan's word on the number it read, or else the state a line read or
// the end of the input left.
class ReadWatch {
public:
  ReadWatch(const std::istream& in, NumberScan& numbers, const StandardInput& input)
      : in_(in), numbers_(numbers), input_(input) {}

  // Standard output is about to take these bytes.
  void writing(const char* s, std::size_t n);
  // Standard output is being flushed.
  void flushing();
  // What the line on standard error says about the first failed read, or nothing.
  std::string firstFailure();
  // What the line on standard error says about the first answer taken from what followed an
  // earlier answer on its line, or nothing.
  std::string firstTaken();

private:
  // The last line of what is written, without its trailing blanks, and at most its last kKept
  // bytes, after "..." when cut.
  class Line {
  public:
    void see(const char* s, std::size_t n);
    // The line seen since the last call; the next call starts anew.
    std::string take();

  private:
    static constexpr std::size_t kKept = 60;
    std::string line_; // the end of the line being written, at most kKept bytes
    bool cut_ = false;
  };

  // A read with a prompt of its own and, once it has ended, what its number was.
  struct Read {
    std::string prompt;
    bool whole = false; // it read an int
    int stop = -1;      // the character that stopped its number
  };

  // A read that began with the rest of an earlier answer's line held.
  struct Taken {
    std::string prompt;
    Read earlier;            // the read that took that line
    std::string rest;        // the rest held, up to its line end, at most NumberScan::kBegan bytes
    bool blank = false;      // all of it white space, which a number read skips
    std::size_t refills = 0; // standard input's refills when the read began
    bool pending = false;    // the read has not ended yet
  };

  void look();
  void settle();

  const std::istream& in_;
  NumberScan& numbers_;
  const StandardInput& input_;
  Line written_;                // what was written since the last read began
  std::string prompt_;          // the prompt of the last read that began with a flush
  Read read_;                   // the last read that began with a prompt
  Read owner_;                  // the read that took the line standard input holds
  std::size_t refillsSeen_ = 0; // standard input's refills at the last flush
  Taken taken_;
  bool answeredAtEnd_ = false; // the last read took its answer, and the input ended there
  bool found_ = false;         // standard input was found failed
  bool nextIsPrompt_ = false;  // and the failed read's prompt is the next write
  std::string failure_;
  std::string firstTaken_;
};

// Standard output, through a buffer of its own, so that a small write is a copy: every write is
// shown to the read watch first, and the buffer is passed on to standard output's own buffer when
// it is full and at every flush. The reason of the first pass that fails is kept, taken at the
// moment it fails: by the end of the dialogue the reason may long be gone. From then on what is
// written is dropped, and the stream is never told: the dialogue runs to its end and every write
// still reaches the watch, and Console::finish reports the loss.
class WatchedOutput final : public std::streambuf {
public:
  void passTo(std::streambuf* to, ReadWatch* watch) {
    to_ = to;
    watch_ = watch;
  }
  int firstError() const { return firstError_; }

protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

private:
  void keep(const char* s, std::size_t n);
  bool passOn();
  void failed();

  std::streambuf* to_ = nullptr;
  ReadWatch* watch_ = nullptr;
  int firstError_ = 0;
  char buffer_[1 << 13] = {};
  std::size_t held_ = 0;
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

  // Flushes standard output and writes on standard error, in this order, a line on the first
  // read of the run that failed, one on the first answer taken from the rest of an earlier
  // answer's line, one on what the last answer's line held past it (when no read failed), and one
  // when a write to standard output failed; then runs the closing pause. Returns 0, or 1 when
  // output was lost: a dialogue nobody could see is not a success.
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
