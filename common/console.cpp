#include "console.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

// Shows the watch what the put area holds that it has not met yet (single characters, which
// sputc puts there itself), then the `n` bytes at `s`.
void WatchedOutput::meet(const char* s, std::size_t n) {
  if (seen_ != pptr())
    watch_->meets(seen_, static_cast<std::size_t>(pptr() - seen_));
  watch_->meets(s, n);
}

// Passes the put area on, with errno cleared first, so that a reason kept is this pass's own. A
// failure that sets no reason of its own is still an input/output error.
void WatchedOutput::passOn() {
  const std::streamsize held = pptr() - pbase();
  setp(buffer_, buffer_ + sizeof buffer_);
  seen_ = buffer_;
  errno = 0;
  if (firstError_ == 0 && held > 0 && to_->sputn(buffer_, held) < held)
    firstError_ = errno != 0 ? errno : EIO;
}

WatchedOutput::int_type WatchedOutput::overflow(int_type c) {
  meet(nullptr, 0);
  passOn();
  if (traits_type::eq_int_type(c, traits_type::eof()))
    return traits_type::not_eof(c);
  return sputc(traits_type::to_char_type(c));
}

// What does not fit in the put area fills it, and it is passed on, as often as needed.
std::streamsize WatchedOutput::xsputn(const char* s, std::streamsize n) {
  meet(s, static_cast<std::size_t>(n));
  std::streamsize done = 0;
  for (std::streamsize room; n - done > (room = epptr() - pptr()); done += room) {
    std::memcpy(pptr(), s + done, static_cast<std::size_t>(room));
    pbump(static_cast<int>(room));
    passOn();
  }
  std::memcpy(pptr(), s + done, static_cast<std::size_t>(n - done));
  pbump(static_cast<int>(n - done));
  seen_ = pptr();
  return n;
}

int WatchedOutput::sync() {
  meet(nullptr, 0);
  passOn();
  errno = 0;
  if (firstError_ == 0 && to_->pubsync() != 0)
    firstError_ = errno != 0 ? errno : EIO;
  return 0;
}

// fgets stops after a line end and ends what it stored with a terminator, but a line may hold NUL
// characters of its own, so its length is told from what fgets left untouched: the block is full
// of line ends before each read. The first line end found is then the line's own when the
// terminator follows it, or else the first untouched byte, right after the terminator; with none,
// the block is full.
StandardInput::int_type StandardInput::underflow() {
  if (gptr() < egptr())
    return traits_type::to_int_type(*gptr());
  moveOn(true); // fgets stops after a line end: a block holds at most one, as its last character
  std::memset(block_, '\n', dirty_);
  if (std::fgets(block_, static_cast<int>(sizeof block_), stdin) == nullptr) {
    dirty_ = 0;
    return traits_type::eof();
  }
  const char* const end = block_ + sizeof block_;
  const char* const lineEnd = static_cast<const char*>(std::memchr(block_, '\n', sizeof block_));
  const char* terminator = end - 1;
  if (lineEnd != nullptr)
    terminator = lineEnd + 1 != end && lineEnd[1] == '\0' ? lineEnd + 1 : lineEnd - 1;
  dirty_ = static_cast<std::size_t>(terminator - block_) + 1;
  setg(block_, block_, block_ + (terminator - block_));
  return traits_type::to_int_type(*gptr());
}

Console::Console(const char* program) : program_(program), reads_(std::cin, numbers_, input_) {
  // In this order, each step needing the one before:
  // 1. The programs write only through the C++ streams, never C's, so the streams need not pass
  //    every character through the C library one call at a time: unsynchronised, standard output
  //    writes through a buffer of its own (standard input is read through StandardInput).
  //    Standard input stays tied to standard output, so each prompt is still flushed before its
  //    read waits, and standard error stays unbuffered. This must come before the first input or
  //    output, and in GNU's library it gives standard output a new stream buffer.
  std::ios_base::sync_with_stdio(false);
  // 2. So standard output's buffer is taken only now. WatchedOutput passes what is written on to
  //    it, and standard output meets the read watch there.
  originalOutput_ = std::cout.rdbuf();
  watched_.passTo(originalOutput_, &reads_);
  std::cout.rdbuf(&watched_);
  // 3. Standard input is read in blocks, and the number scan reads from them.
  originalInput_ = std::cin.rdbuf(&input_);
  // 4. Every `>>` of a number scans with NumberScan, every `<<` of one writes with NanWithoutSign.
  inputLocale_ = std::cin.imbue(std::locale(std::cin.getloc(), &numbers_));
  outputLocale_ = std::cout.imbue(std::locale(std::cout.getloc(), &nanWithoutSign_));
}

Console::~Console() {
  std::cout.flush();
  std::cout.imbue(outputLocale_);
  std::cin.imbue(inputLocale_);
  std::cin.rdbuf(originalInput_);
  std::cout.rdbuf(originalOutput_);
}

int Console::finish() {
  // A write that fails only now, as the last output leaves, counts too.
  std::cout.flush();
  std::cerr << reads_.story(program_);
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
