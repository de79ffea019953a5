#include "read_watch.h"

#include <algorithm>
#include <limits>

#ifdef __EMSCRIPTEN__
#include <sstream>

// The web page's console (common/console_web.js): a read ended with `prompt`, leaving `value` in
// its field; `ending` is 1 when it failed, 2 when it took its answer and the input then ended
// (every later read fails at once), 0 otherwise.
extern "C" void console_read(const char* prompt, std::size_t promptLength, const char* value,
                             std::size_t valueLength, int ending);
#endif

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

// The input moved on or changed since the last meeting: a read took place. What it took and how
// it ended are what the input, its state and the number scan say now.
void ReadWatch::record() {
  const ReadAhead::Place began = at_;
  at_ = input_.place();
  state_ = in_.rdstate();
  Read read;
  read.prompt = written_.take();
  read.number = numbers_.takeLast();
  if (read.prompt.empty() && !reads_.empty())
    return; // the rest of the read before it: the character dropped after a number
  using Outcome = NumberScan::Outcome;
  const Outcome outcome = read.number.outcome;
  if (outcome == Outcome::NotANumber || outcome == Outcome::OutOfRange)
    read.ending = outcome == Outcome::NotANumber ? Ending::NotANumber : Ending::OutOfRange;
  else if (outcome == Outcome::None && (state_ & std::ios_base::failbit) != 0)
    // With no number, only blanks came before the end of the input, or a line read stopped short
    // of its line end: its field is full.
    read.ending = (state_ & std::ios_base::eofbit) != 0 ? Ending::InputEnded : Ending::TooLong;
  if (outcome != Outcome::None) {
    read.took = read.number.text;
    read.more = read.took.size() == NumberScan::kText;
    read.line = read.number.first.line;
  } else if (read.ending != Ending::InputEnded) {
    // A line read takes the characters up to its line end, which it drops: within its field's
    // bound, so the input still keeps them all (ReadAhead::kRecent), and the one before them.
    const std::size_t count = at_.offset - began.offset;
    const std::string seen = input_.recent(count + 1);
    const bool lineEnd = at_.line > began.line;
    read.took = seen.substr(seen.size() - std::min(count, seen.size()));
    if (lineEnd && !read.took.empty())
      read.took.pop_back();
    read.more = read.ending == Ending::TooLong;
    read.crLineEnd = lineEnd && seen.size() >= 2 && seen[seen.size() - 2] == '\r';
    read.line = began.line;
  }
  const auto earlier = std::find_if(reads_.rbegin(), reads_.rend(),
                                    [](const Read& before) { return before.line != kNone; });
  if (read.line != kNone && earlier != reads_.rend() && earlier->line == read.line)
    read.earlier = earlier->earlier != kNone
                       ? earlier->earlier
                       : static_cast<std::size_t>(reads_.rend() - earlier) - 1;
#ifdef __EMSCRIPTEN__
  // The web page shows each field as its read left it.
  std::ostringstream value;
  if (outcome == Outcome::None)
    value << read.took;
  else if (read.number.whole)
    value << static_cast<int>(read.number.stored);
  else
    value << read.number.stored;
  const std::string text = value.str();
  const int ending = read.ending != Ending::Read ? 1 : (state_ & std::ios_base::failbit) ? 2 : 0;
  console_read(read.prompt.data(), read.prompt.size(), text.data(), text.size(), ending);
#endif
  reads_.push_back(std::move(read));
}

namespace {

constexpr std::size_t kShown = 20; // the bytes of an answer that a line on standard error shows

// The length of the UTF-8 character that starts at `text[at]`, or 0 where none does: no overlong
// form, surrogate or code point past U+10FFFF.
std::size_t characterAt(const std::string& text, std::size_t at) {
  const auto byte = [&](std::size_t i) {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0U;
  };
  const unsigned lead = byte(at);
  const std::size_t length = lead < 0x80                  ? 1
                             : lead < 0xC2 || lead > 0xF4 ? 0
                             : lead < 0xE0                ? 2
                             : lead < 0xF0                ? 3
                                                          : 4;
  unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80; // the second byte's range
  unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  for (std::size_t i = 1; i < length; ++i, low = 0x80, high = 0xBF)
    if (byte(at + i) < low || byte(at + i) > high)
      return 0;
  return length;
}

// Text as a line on standard error shows it, quoted: its first kShown bytes, cut at a character's
// start, then "..." when there is more (or `more` says so). What prints is shown as it was typed,
// in UTF-8, as the terminal that sent it shows it back; control characters (C0, DEL and C1) and
// bytes that are no UTF-8 are shown as \xHH.
std::string quoted(const std::string& text, bool more) {
  std::string shown = "\"";
  std::size_t at = 0;
  for (std::size_t length = 0; at < text.size(); at += std::max<std::size_t>(length, 1)) {
    length = characterAt(text, at);
    if (at + std::max<std::size_t>(length, 1) > kShown)
      break;
    const auto lead = static_cast<unsigned char>(text[at]);
    if (length == 0 || lead < 0x20 || lead == 0x7F ||
        (lead == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0)) {
      shown += {'\\', 'x', "0123456789ABCDEF"[lead >> 4], "0123456789ABCDEF"[lead & 0xF]};
      length = 1; // a control character of two bytes shows each
    } else {
      shown.append(text, at, length);
    }
  }
  return shown + (more || at < text.size() ? "\"..." : "\"");
}

bool blank(int c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The rest of the line the input stands on, read to its line end: its first `most` characters
// without trailing blanks (and without leading ones, when `skip`), and whether a character that is
// no blank follows them.
struct Rest {
  std::string text;
  bool more = false;
};
Rest restOfLine(std::streambuf& in, std::size_t most, bool skip) {
  Rest rest;
  std::size_t kept = 0; // up to its last character that is no blank
  for (int c = in.sbumpc(); c != EOF && c != '\n' && !rest.more; c = in.sbumpc()) {
    if (blank(c) && (rest.text.size() == most || (skip && rest.text.empty())))
      continue;
    rest.more = rest.text.size() == most;
    if (!rest.more)
      rest.text += static_cast<char>(c);
    kept = blank(c) || rest.more ? kept : rest.text.size();
  }
  rest.text.resize(kept);
  return rest;
}

std::string named(const std::string& prompt) {
  return '"' + prompt + '"';
}

const char* const kComma = "numrat shkruhen me pike dhjetore, jo me presje";
const char* const kCr = "rreshtat mbarojne me CR si ne Windows; hiqni CR-te: tr -d '\\r'";
const char* const kOwnLine = "shkruani vetem numrin ne rreshtin e tij";
const char* const kMissing = "shtoni pergjigjet qe mungojne";

} // namespace

// Why `read` failed, with what it took, and what to do.
std::pair<std::string, std::string> ReadWatch::failure(const Read& read) {
  const std::string answer = "pergjigjja e " + named(read.prompt) + ' ';
  const std::string typed = quoted(read.took, read.more);
  switch (read.ending) {
  case Ending::NotANumber:
    return {answer + "nuk eshte numer: " + typed,
            read.took.rfind(',', 0) == 0 ? kComma
            : read.number.whole          ? "shkruani numrin me shifra"
                                         : "shkruani numrin me shifra dhe pike dhjetore"};
  case Ending::OutOfRange:
    if (read.number.whole)
      return {answer + "eshte jashte kufijve " + std::to_string(std::numeric_limits<int>::min()) +
                  " deri " + std::to_string(std::numeric_limits<int>::max()) + ": " + typed,
              "shkruani nje numer brenda tyre"};
    if (read.took[0] == '-')
      return {answer + "eshte numer negativ shume i madh: " + typed,
              "shkruani nje numer me afer zeros"};
    return {answer + "eshte numer shume i madh: " + typed, "shkruani nje numer me te vogel"};
  case Ending::TooLong: {
    // The field is full. When all that did not fit is the CR before the line end, the CR is why.
    const bool cr = input_.sbumpc() == '\r' && (input_.sgetc() == '\n' || input_.sgetc() == EOF);
    const bool marked =
        std::any_of(read.took.begin(), read.took.end(), [](char c) { return (c & 0x80) != 0; });
    return {answer + "eshte me e gjate se " + std::to_string(read.took.size()) + " bajt: " + typed,
            cr       ? kCr
            : marked ? "shkurtojeni: shkronjat me shenje zene nga dy bajt"
                     : "shkurtojeni"};
  }
  default:
    return {"hyrja mbaroi para pergjigjes se " + named(read.prompt), kMissing};
  }
}

std::string ReadWatch::story(const std::string& program) {
  std::string lines;
  std::vector<std::string> advised; // no advice is given twice
  const auto say = [&](const std::string& line, const std::string& advice) {
    const bool fresh =
        !advice.empty() && std::find(advised.begin(), advised.end(), advice) == advised.end();
    lines += program + ": " + line + (fresh ? "; " + advice : "") + '\n';
    advised.push_back(advice);
  };
  const auto failed = std::find_if(reads_.begin(), reads_.end(),
                                   [](const Read& read) { return read.ending != Ending::Read; });
  const auto taken = std::find_if(reads_.begin(), reads_.end(),
                                  [](const Read& read) { return read.earlier != kNone; });
  if (failed != reads_.end() && failed->number.outcome != NumberScan::Outcome::None) {
    // A number read that failed is the last to take input, which still stands where it stopped:
    // what it met runs on to its line's end.
    const Rest rest = restOfLine(input_, NumberScan::kText - failed->took.size(), false);
    failed->took += rest.text;
    failed->more = failed->more || rest.more;
  }
  if (taken != reads_.end()) {
    const Read& earlier = reads_[taken->earlier];
    const std::string& took = taken->took;
    const int stop = earlier.number.stop;
    std::string advice = kOwnLine;
    if (std::all_of(took.begin(), took.end(), [](char c) { return blank(c); }))
      advice = taken->crLineEnd ? kCr : "pas numrit shtypni Enter menjehere";
    else if (took[0] == ',' || stop == ',')
      advice = kComma;
    else if (earlier.number.whole && (stop == '.' || stop == 'e' || stop == 'E'))
      advice = named(earlier.prompt) + " pret numer te plote";
    say("pergjigjja e " + named(taken->prompt) + " u mor nga rreshti i " + named(earlier.prompt) +
            ": " + quoted(took, taken->more),
        advice);
  }
  if (failed != reads_.end()) {
    // Once an answer was taken from an earlier line, the answers after it are out of step with
    // their prompts, and advice on what they hold would be a guess.
    const auto [said, advice] = failure(*failed);
    say(said, taken == reads_.end() || failed->ending == Ending::InputEnded ? advice : "");
  } else if (in_.fail() && !reads_.empty()) {
    // A read that met the end of the input took its answer, and the read after it failed at once.
    say("hyrja mbaroi pas pergjigjes se " + named(reads_.back().prompt), kMissing);
  } else if (!reads_.empty() && reads_.back().line == input_.place().line) {
    const Rest rest = restOfLine(input_, kShown + 1, true);
    if (!rest.text.empty())
      say("pas pergjigjes se " + named(reads_.back().prompt) +
              " mbeti pa u lexuar: " + quoted(rest.text, rest.more),
          rest.text[0] == ',' ? kComma : kOwnLine);
  }
  return lines;
}
