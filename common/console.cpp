#include "console.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

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

namespace {

// The programs use only the C++ streams, never C's, so the streams need not pass every character
// through the C library one call at a time: unsynchronised, they read and write through buffers of
// their own, and a long answer is read at the speed of its pipe. Standard input stays tied to
// standard output, so each prompt is still flushed before its read waits, and standard error
// stays unbuffered. This must come before the first input or output; in GNU's library it also
// gives standard output a new stream buffer, so it comes before that buffer is taken.
std::streambuf* unsynchronisedOutput() {
  std::ios_base::sync_with_stdio(false);
  return std::cout.rdbuf();
}

} // namespace

Console::Console(const char* program)
    : program_(program), original_(unsynchronisedOutput()), watched_(original_) {
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
