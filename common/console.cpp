#include "console.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>

// Only the end of a long write can be the line being written, so a write is looked at from its
// last line end on, and only its last kKept bytes are kept.
void ReadWatch::Line::see(const char* s, std::size_t n) {
  std::size_t tail = 0; // the bytes of the write after its last line end, kKept at most
  while (tail < n && tail < kKept && s[n - 1 - tail] != '\n')
    ++tail;
  if (tail < n) {
    // A line starts within this write: after its line end, or before the bytes kept.
    line_.clear();
    cut_ = s[n - 1 - tail] != '\n';
  }
  if (tail == 0) // the common case of a write that ends its line
    return;
  line_.append(s + n - tail, tail);
  if (line_.size() > kKept) {
    line_.erase(0, line_.size() - kKept);
    cut_ = true;
  }
}

std::string ReadWatch::Line::take() {
  std::string line = (cut_ ? "..." : "") + line_.substr(0, line_.find_last_not_of(' ') + 1);
  line_.clear();
  cut_ = false;
  return line;
}

namespace {

constexpr std::size_t kShown = 20; // the bytes of an answer that a line on standard error shows

// Text as a line on standard error shows it: quoted, its first kShown bytes, each outside
// printable ASCII as \xHH, so that the line stays ASCII, then "..." when there is more.
std::string quoted(const std::string& text) {
  std::string shown = "\"";
  for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\')
      shown += text[i];
    else
      shown += {'\\', 'x', "0123456789ABCDEF"[byte >> 4], "0123456789ABCDEF"[byte & 0xF]};
  }
  return shown + (text.size() > kShown ? "\"..." : "\"");
}

const char* const kComma = "numrat shkruhen me pike dhjetore, jo me presje";

std::string answerTo(const std::string& prompt) {
  return "pergjigjja e \"" + prompt + "\" ";
}

std::string endedBefore(const std::string& prompt) {
  return "mbaroi para pergjigjes se \"" + prompt + "\"; kjo pergjigje mungon";
}

// Why the number typed at `prompt` failed, what it was, and how a number is typed.
std::string failedNumber(const std::string& prompt, const NumberScan::Last& last) {
  const std::string typed = quoted(last.began);
  if (last.outcome == NumberScan::Outcome::NotANumber)
    return answerTo(prompt) + "nuk eshte numer: " + typed + "; " +
           (last.began.rfind(',', 0) == 0 ? kComma
            : last.whole                  ? "numri shkruhet me shifra"
                                          : "numri shkruhet me shifra dhe pike dhjetore");
  if (last.whole)
    return answerTo(prompt) + "eshte jashte kufijve te numrit te plote, " +
           std::to_string(std::numeric_limits<int>::min()) + " deri " +
           std::to_string(std::numeric_limits<int>::max()) + ": " + typed +
           "; shkruani nje numer brenda tyre";
  return answerTo(prompt) + "eshte numer shume i madh: " + typed +
         "; shkruani nje numer me te vogel";
}

} // namespace

// Once standard input is no longer good: at the end of the input after a read that took its
// answer, the next read will fail; and once it has failed, which read did and why.
void ReadWatch::look() {
  if (found_ || in_.good())
    return;
  if (!in_.fail()) {
    answeredAtEnd_ = true;
    return;
  }
  found_ = true;
  settle();
  const NumberScan::Last last = numbers_.takeLast();
  if (last.outcome == NumberScan::Outcome::NotANumber ||
      last.outcome == NumberScan::Outcome::OutOfRange) {
    failure_ = failedNumber(prompt_, last);
    return;
  }
  // A number at the very end of the input.
  answeredAtEnd_ = answeredAtEnd_ || last.outcome == NumberScan::Outcome::Read;
  // With the input not at its end, only a line read fails: on a line longer than its field, of
  // which it kept what it counts.
  if (!in_.eof()) {
    const std::string limit = std::to_string(in_.gcount());
    failure_ = answerTo(prompt_) + "eshte me e gjate se " + limit + " bajt; shkruani te shumten " +
               limit + " bajt, ku cdo shkronje me shenje (si e me dy pika, c me bisht) zene dy";
    return;
  }
  if (!answeredAtEnd_) {
    failure_ = endedBefore(prompt_);
    return;
  }
  // The read that began with the last flush took its answer, and the input ended right after it:
  // the read that failed came later, and its prompt is what was written since, or, where nothing
  // was (the character dropped after a number is no answer of its own), what is written next.
  const std::string later = written_.take();
  nextIsPrompt_ = later.empty();
  if (!nextIsPrompt_)
    failure_ = endedBefore(later);
}

// The read that began with the rest of an earlier answer's line has ended: unless it was a number
// read that skipped a rest of blanks for the next line (asking for more input), it took its answer
// from that rest, and the first such read is named, with a word on what went wrong where it shows.
void ReadWatch::settle() {
  if (!taken_.pending)
    return;
  taken_.pending = false;
  if (!firstTaken_.empty() || (taken_.blank && input_.refills() != taken_.refills))
    return;
  const Read& earlier = taken_.earlier;
  firstTaken_ = "pergjigjja e \"" + taken_.prompt + "\" u mor nga rreshti i \"" + earlier.prompt +
                "\": " + quoted(taken_.rest);
  if (taken_.rest.empty())
    firstTaken_ += "; pas numrit shtypni Enter menjehere";
  else if (taken_.rest[0] == ',' || earlier.stop == ',')
    firstTaken_ += std::string("; ") + kComma;
  else if (earlier.whole && (earlier.stop == '.' || earlier.stop == 'e' || earlier.stop == 'E'))
    firstTaken_ += "; \"" + earlier.prompt + "\" pret numer te plote";
}

void ReadWatch::writing(const char* s, std::size_t n) {
  if (!in_.good())
    look();
  if (nextIsPrompt_) {
    Line next;
    next.see(s, n);
    if (const std::string prompt = next.take(); !prompt.empty()) {
      failure_ = endedBefore(prompt);
      nextIsPrompt_ = false;
    }
  } else if (!found_) {
    written_.see(s, n);
  }
}

void ReadWatch::flushing() {
  look();
  if (!in_.good())
    return;
  // A read begins, or the output ends, so the last read has ended.
  if (const NumberScan::Last last = numbers_.takeLast();
      last.outcome != NumberScan::Outcome::None) {
    read_.whole = last.whole;
    read_.stop = last.stop;
  }
  settle();
  if (input_.refills() != refillsSeen_) {
    owner_ = read_;
    refillsSeen_ = input_.refills();
  }
  answeredAtEnd_ = false;
  // What was written since the last read is the prompt. The character dropped after a number has
  // none: it is no answer of its own.
  prompt_ = written_.take();
  if (prompt_.empty())
    return;
  read_ = Read{prompt_};
  const char* const begin = input_.aheadBegin();
  const char* const end = std::find(begin, input_.aheadEnd(), '\n');
  if (begin == input_.aheadEnd() || owner_.prompt.empty())
    return;
  taken_ = {prompt_,
            owner_,
            std::string(begin, std::min<std::size_t>(end - begin, NumberScan::kBegan)),
            std::all_of(begin, end, [](char c) { return std::strchr(" \t\r\v\f", c) != nullptr; }),
            input_.refills(),
            true};
}

std::string ReadWatch::firstFailure() {
  look();
  // Every dialogue writes after its last read, so the prompt awaited comes; were it not to, the
  // last prompt seen is named.
  if (nextIsPrompt_)
    failure_ = endedBefore(prompt_);
  nextIsPrompt_ = false;
  return failure_;
}

std::string ReadWatch::firstTaken() {
  settle();
  return firstTaken_;
}

void WatchedOutput::failed() {
  // A failure that set no reason of its own is still an input/output error.
  if (firstError_ == 0)
    firstError_ = errno != 0 ? errno : EIO;
}

// Passes the buffer on, with errno cleared first, so that a reason kept is this pass's own.
bool WatchedOutput::passOn() {
  const auto held = static_cast<std::streamsize>(held_);
  held_ = 0;
  errno = 0;
  if (held > 0 && to_->sputn(buffer_, held) < held) {
    failed();
    return false;
  }
  return true;
}

void WatchedOutput::keep(const char* s, std::size_t n) {
  watch_->writing(s, n);
  if (firstError_ != 0 || (held_ + n > sizeof buffer_ && !passOn()))
    return;
  if (n >= sizeof buffer_) {
    errno = 0;
    if (to_->sputn(s, static_cast<std::streamsize>(n)) < static_cast<std::streamsize>(n))
      failed();
    return;
  }
  std::memcpy(buffer_ + held_, s, n);
  held_ += n;
}

WatchedOutput::int_type WatchedOutput::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof()))
    return traits_type::not_eof(c);
  const char character = traits_type::to_char_type(c);
  keep(&character, 1);
  return c;
}

std::streamsize WatchedOutput::xsputn(const char* s, std::streamsize n) {
  keep(s, static_cast<std::size_t>(n));
  return n;
}

int WatchedOutput::sync() {
  watch_->flushing();
  if (firstError_ != 0 || !passOn())
    return 0;
  errno = 0;
  if (to_->pubsync() != 0)
    failed();
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
  std::memset(block_, '\n', dirty_);
  ++refills_;
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

// The rest of the line is what the block holds up to its line end: the block is at most one line.
// Shown from the first byte that is not white space.
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
  return "mbeti pa u lexuar: " + quoted(rest) + (rest[0] == ',' ? std::string("; ") + kComma : "");
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
  // 2. So standard output's buffer is taken only now. The watch passes every write on to it, and
  //    shows each to the read watch first.
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
  // Standard input never leaves its failed state once a read fails, so the watch's word covers
  // every read of the run. Reaching end of input after a complete read sets only the end-of-file
  // state, which is not a failure.
  if (const std::string failure = reads_.firstFailure(); !failure.empty())
    std::cerr << program_ << ": hyrja nuk u lexua e plote: " << failure
              << "; vlerat qe mungojne jane 0 ose bosh\n";
  if (const std::string taken = reads_.firstTaken(); !taken.empty())
    std::cerr << program_ << ": " << taken << '\n';
  if (const std::string unread = input_.unread(); !std::cin.fail() && !unread.empty())
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
