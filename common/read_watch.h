// The record of a dialogue's reads, and the lines on standard error that tell what went wrong with
// them, cause first.
#pragma once

#include <cstddef>
#include <ios>
#include <string>
#include <utility>
#include <vector>

#include "numbers.h"

// Records each read of standard input from two facts: only a read moves the input on or changes
// its state, and standard output meets the watch at every write of a text (a `<<` of a string,
// which the libraries hand to the stream buffer whole), when its buffer is full, and at every
// flush. So when output meets the watch and the input has moved or changed since they last met, a
// read took place between the two meetings: it began where the input stood at the last meeting,
// and its prompt is the line written before that meeting. A read with nothing written before it
// (the character dropped after a number) is part of the read before it.
//
// Once a read fails, every later read fails at once without touching the input: none of them is
// seen, and the first failure is the last read recorded.
class ReadWatch {
public:
  ReadWatch(const std::ios& in, NumberScan& numbers, ReadAhead& input)
      : in_(in), numbers_(numbers), input_(input) {}

  // Standard output meets the watch, with the `n` bytes written at `s`: none at a flush.
  void meets(const char* s, std::size_t n) {
    if (in_.rdstate() != state_ || input_.offset() != at_.offset)
      record();
    written_.see(s, n);
  }

  // The lines on standard error, each after "`program`: ", in the order things happened: the
  // first answer taken from an earlier answer's line, the first read that failed, and, when none
  // did, what the last answer's line held past it. Reads the rest of that line: only once the
  // dialogue has read all it reads.
  std::string story(const std::string& program);

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

  enum class Ending { Read, NotANumber, OutOfRange, TooLong, InputEnded };
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  struct Read {
    std::string prompt;
    Ending ending = Ending::Read;
    NumberScan::Last number;     // what the number scan saw, when it read a number
    std::string took;            // what it took, at most its first NumberScan::kText characters, or
    bool more = false;           // what a line read took without its line end; and it took more
    bool crLineEnd = false;      // a CR stood right before the line end a line read took
    std::size_t line = kNone;    // the line its answer stood on: a number's first character's
    std::size_t earlier = kNone; // or a line read's own; the read whose answer it stood after
  };

  void record();
  std::pair<std::string, std::string> failure(const Read& read);

  const std::ios& in_;
  NumberScan& numbers_;
  ReadAhead& input_;
  Line written_;                                          // what was written since the last read
  std::ios_base::iostate state_ = std::ios_base::goodbit; // the input's state at the last meeting
  ReadAhead::Place at_;                                   // and where it stood
  std::vector<Read> reads_;
};
