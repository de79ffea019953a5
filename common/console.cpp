#include "console.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

void WatchedOutput::failed() {
  // A failure that set no reason of its own is still an input/output error.
  if (firstError_ == 0)
    firstError_ = errno != 0 ? errno : EIO;
}

// Only the end of a long write can be the line being written, so a write is looked at from its
// last line end on, and only its last kPromptKept bytes are kept.
void WatchedOutput::see(const char* s, std::size_t n) {
  std::size_t tail = 0; // the bytes of the write after its last line end, kPromptKept at most
  while (tail < n && tail < kPromptKept && s[n - 1 - tail] != '\n')
    ++tail;
  if (tail < n) {
    // A line starts within this write: after its line end, or before the bytes kept.
    line_.clear();
    lineCut_ = s[n - 1 - tail] != '\n';
  }
  line_.append(s + n - tail, tail);
  if (line_.size() > kPromptKept) {
    line_.erase(0, line_.size() - kPromptKept);
    lineCut_ = true;
  }
}

std::string WatchedOutput::takePrompt() {
  std::string prompt = (lineCut_ ? "..." : "") + line_.substr(0, line_.find_last_not_of(' ') + 1);
  line_.clear();
  lineCut_ = false;
  return prompt;
}

// errno is cleared before each write passed on, so that a reason kept is that write's own.
WatchedOutput::int_type WatchedOutput::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof()))
    return traits_type::not_eof(c);
  const char character = traits_type::to_char_type(c);
  see(&character, 1);
  errno = 0;
  const int_type written = to_->sputc(character);
  if (traits_type::eq_int_type(written, traits_type::eof()))
    failed();
  return written;
}

std::streamsize WatchedOutput::xsputn(const char* s, std::streamsize n) {
  see(s, static_cast<std::size_t>(n));
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

// fgets stops after a line end and ends what it stored with a terminator, but a line may hold NUL
// characters of its own, so its length is told from what fgets left untouched: the block is full
// of line ends before each read. The first line end found is then the line's own when the
// terminator follows it, or else the first untouched byte, right after the terminator; with none,
// the block is full.
StandardInput::int_type StandardInput::underflow() {
  if (gptr() < egptr())
    return traits_type::to_int_type(*gptr());
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

void StandardInput::note(const std::string& prompt, ReadEnd end, std::size_t limit) {
  if (!firstFailure_.empty() || end == ReadEnd::Read || end == ReadEnd::AfterFailure)
    return;
  const std::string answer = "pergjigjja e \"" + prompt + "\" ";
  switch (end) {
  case ReadEnd::NotANumber:
    firstFailure_ = answer + "nuk eshte numer";
    break;
  case ReadEnd::OutOfRange:
    firstFailure_ = answer + "eshte numer jashte kufijve te tipit te tij";
    break;
  case ReadEnd::TooLong:
    firstFailure_ = answer + "eshte me e gjate se " + std::to_string(limit) + " bajt";
    break;
  default:
    firstFailure_ = "mbaroi para pergjigjes se \"" + prompt + '"';
  }
}

// The rest of the line is what the block holds up to its line end: the block is at most one line.
// Shown are its first 20 bytes, from the first that is not white space, each byte outside printable
// ASCII as \xHH, so that the line stays ASCII.
std::string StandardInput::unread() const {
  const auto held = static_cast<std::size_t>(egptr() - gptr());
  if (held == 0) // nothing held, or nothing read yet, when no block has been taken
    return "";
  const void* const lineEnd = std::memchr(gptr(), '\n', held);
  std::string rest(gptr(), lineEnd != nullptr ? static_cast<const char*>(lineEnd) - gptr() : held);
  const std::size_t first = rest.find_first_not_of(" \t\r\v\f");
  if (first == std::string::npos)
    return "";
  rest = rest.substr(first, rest.find_last_not_of(" \t\r\v\f") + 1 - first);
  std::string shown;
  for (std::size_t i = 0; i < rest.size() && i < 20; ++i) {
    const auto byte = static_cast<unsigned char>(rest[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\')
      shown += rest[i];
    else
      shown += {'\\', 'x', "0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 0xF]};
  }
  return "mbeti pa u lexuar: \"" + shown + (rest.size() > 20 ? "\"..." : "\"") +
         (rest[0] == ',' ? "; numrat shkruhen me pike dhjetore, jo me presje" : "");
}

void noteRead(ReadEnd end, std::size_t limit) {
  auto* const out = dynamic_cast<WatchedOutput*>(std::cout.rdbuf());
  auto* const in = dynamic_cast<StandardInput*>(std::cin.rdbuf());
  if (out != nullptr && in != nullptr)
    in->note(out->takePrompt(), end, limit);
}

Console::Console(const char* program) : program_(program) {
  // In this order, each step needing the one before:
  // 1. The programs write only through the C++ streams, never C's, so the streams need not pass
  //    every character through the C library one call at a time: unsynchronised, standard output
  //    writes through a buffer of its own (standard input is read through StandardInput).
  //    Standard input stays tied to standard output, so each prompt is still flushed before its
  //    read waits, and standard error stays unbuffered. This must come before the first input or
  //    output, and in GNU's library it gives standard output a new stream buffer.
  std::ios_base::sync_with_stdio(false);
  // 2. So standard output's buffer is taken only now, and the watch passes every write on to it.
  original_ = std::cout.rdbuf();
  watched_.passTo(original_);
  std::cout.rdbuf(&watched_);
  originalInput_ = std::cin.rdbuf(&input_);
}

Console::~Console() {
  std::cin.rdbuf(originalInput_);
  std::cout.rdbuf(original_);
}

int Console::finish() {
  // A write that fails only now, as the last output leaves, counts too.
  std::cout.flush();
  // Standard input never leaves its failed state once a read fails, so checking it here covers
  // every read of the run. Reaching end of input after a complete read sets only the end-of-file
  // state, which is not a failure.
  if (std::cin.fail())
    std::cerr << program_ << ": hyrja nuk u lexua e plote: " << input_.firstFailure()
              << "; vlerat qe mungojne jane 0 ose bosh\n";
  else if (const std::string unread = input_.unread(); !unread.empty())
    std::cerr << program_ << ": " << unread << '\n';
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
