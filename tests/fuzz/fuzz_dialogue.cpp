// libFuzzer harness for one dialogue, chosen when the target is built (DIALOGUE names it). The
// routine runs on the fuzz input as standard input; its output is then read back against the
// dialogue's shape: every prompt once and in order, every printed value where it belongs, nothing
// more. The routine must return 0, and standard error may hold only the lines on its reads.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "exercises.h"
#include "texts.h"

// The two programs' entries, renamed for this build.
int vostrel_main();
int kandomir_main();

namespace {

[[noreturn]] void fail(const std::string& why, const std::string& out) {
  std::fprintf(stderr, "dialogue shape broken: %s\noutput:\n%s\n", why.c_str(), out.c_str());
  std::abort();
}

// Reads the output from the front; any mismatch aborts, which libFuzzer reports as a crash.
class Reader {
public:
  explicit Reader(const std::string& out) : out_(out) {}

  void literal(const std::string& text) {
    if (out_.compare(pos_, text.size(), text) != 0)
      fail("expected \"" + text + "\" at byte " + std::to_string(pos_), out_);
    pos_ += text.size();
  }

  void literals(const std::vector<std::string>& texts) {
    for (const std::string& text : texts)
      literal(text);
  }

  void oneOf(std::initializer_list<std::string> texts) {
    for (const std::string& text : texts)
      if (out_.compare(pos_, text.size(), text) == 0)
        return literal(text);
    fail("no expected text at byte " + std::to_string(pos_), out_);
  }

  // Text of at most `most` bytes up to the next line end, which is left unread.
  std::string text(std::size_t most = std::string::npos) {
    const std::size_t end = out_.find('\n', pos_);
    if (end == std::string::npos || end - pos_ > most)
      fail("no line end within reach of byte " + std::to_string(pos_), out_);
    std::string value = out_.substr(pos_, end - pos_);
    pos_ = end;
    return value;
  }

  // A number as the stream's default format prints it, infinity and not-a-number included.
  void number() {
    const std::string value = text();
    char* end = nullptr;
    std::strtod(value.c_str(), &end);
    if (value.empty() || *end != '\0')
      fail("not a number: " + value, out_);
  }

  void end() {
    if (pos_ != out_.size())
      fail("output after the end of the dialogue", out_);
  }

private:
  const std::string& out_;
  std::size_t pos_ = 0;
};

// The first number of the input as the dialogue reads it: 0 when that read fails.
long long firstNumber(const std::string& input) {
  std::istringstream in(input);
  int n = 0;
  return (in >> n) ? n : 0;
}

void patient(Reader& r, const std::string&) {
  r.literals(kPatientPromptList);
  r.literal(kNameLabel);
  r.text(29); // the name, at most 29 characters
  r.literal("\n");
  r.oneOf({kPension, kNoPension});
}

void product(Reader& r, const std::string&) {
  r.literals(kProductPromptList);
  r.literal("p1=");
  r.number();
  r.literal("\np2=");
  r.number();
  r.literal("\n");
}

void valuePair(Reader& r, const std::string&) {
  r.literal(kValuePairOut);
}

void measures(Reader& r) {
  r.literal(kAreaLabel);
  r.number();
  r.literal(kPerimeterLabel);
  r.number();
  r.literal("\n\n");
}

void circle(Reader& r, const std::string&) {
  r.literal(kCirclePrompt);
  measures(r);
}

void rectangle(Reader& r, const std::string&) {
  r.literal(kRectanglePrompts);
  measures(r);
}

void series(Reader& r, const std::string& input) {
  r.literals(kSeriesPromptList);
  for (long long i = 0, n = firstNumber(input); i <= n; ++i)
    r.literal(kTraceLine);
  r.literal(kSeriesResultLabel);
  r.number();
  r.literal("\n\n");
}

struct Dialogue {
  const char* name;
  int (*routine)();
  const char* program;
  void (*shape)(Reader&, const std::string& input);
  std::vector<std::string> prompts;
};

const Dialogue kDialogues[] = {
    {"patient", vostrel_main, "vostrel", patient, kPatientPromptList},
    {"product", kandomir_main, "kandomir", product, kProductPromptList},
    {"valuepair", main1, "vostrel", valuePair, {}},
    {"circle", mainT2, "vostrel", circle, {kCirclePrompt}},
    {"rectangle", mainT3, "vostrel", rectangle, {kAskSideA, kAskSideB}},
    {"series", maint3, "vostrel", series, kSeriesPromptList},
};

// Whether `line` is `start`, then anything, then `end`.
bool framed(const std::string& line, const std::string& start, const std::string& end = "") {
  return line.size() >= start.size() + end.size() && line.rfind(start, 0) == 0 &&
         line.compare(line.size() - end.size(), end.size(), end) == 0;
}

// Each kind of line on standard error, by the dialogue's prompts, as the start and end that frame
// it: 1 its first answer taken from an earlier line; 2 its first failed read, with a reason; 3
// what was left unread. A taken line also starts as a failed one does, so its frames come first.
struct Frame {
  std::string start;
  std::string end;
  int kind;
};

std::vector<Frame> framesOf(const Dialogue& d) {
  std::vector<Frame> frames;
  for (const std::string& prompt : d.prompts)
    for (const std::string& earlier : d.prompts)
      frames.push_back({takenStart(prompt, earlier) + '"', "", 1});
  for (const std::string& prompt : d.prompts) {
    frames.push_back({answerOf(prompt), "", 2});
    frames.push_back({kEndedBefore + named(prompt), kMissing, 2});
    frames.push_back({kEndedAfter + named(prompt), kMissing, 2});
    frames.push_back({unreadStart(prompt) + '"', "", 3});
  }
  return frames;
}

// What a line on standard error is: the kind of the frame it fits, or 0.
int kindOf(const std::vector<Frame>& frames, const std::string& line) {
  for (const Frame& frame : frames)
    if (framed(line, frame.start, frame.end))
      return frame.kind;
  return 0;
}

// The dialogue this target fuzzes, named by DIALOGUE when it is built.
const Dialogue& fuzzed() {
  for (const Dialogue& d : kDialogues)
    if (std::string(d.name) == DIALOGUE)
      return d;
  std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  // The series prints n + 1 trace lines. A large n is legitimate input, but hundreds of lines
  // make each run slow without reaching new code (the tables cover large n, and a trace through
  // standard output's buffer several times over), so such inputs are skipped and kept out of the
  // corpus.
  if (fuzzed().shape == series && firstNumber(input) > 100)
    return -1;

  // The routine leaves the streams unsynchronised with C's. In GNU's library the first such call
  // also gives them new buffers, so it is made here, before the buffers are swapped, and the
  // routine's own call changes nothing.
  std::ios_base::sync_with_stdio(false);
  // The routine reads C's standard input through a stream buffer of its own, so the input is
  // given as C's standard input: a stream over the fuzzed bytes.
  std::string bytes = input;
  FILE* const in = fmemopen(bytes.data(), bytes.size(), "r");
  if (in == nullptr)
    fail("fmemopen failed", "");
  FILE* const stdinBefore = stdin;
  stdin = in;
  std::ostringstream out;
  std::ostringstream err;
  std::streambuf* const cout = std::cout.rdbuf(out.rdbuf());
  std::streambuf* const cerr = std::cerr.rdbuf(err.rdbuf());
  const int status = fuzzed().routine();
  // Put the real streams back in a clean state for the next run.
  stdin = stdinBefore;
  std::fclose(in);
  std::cout.rdbuf(cout);
  std::cerr.rdbuf(cerr);

  if (status != 0)
    fail("status " + std::to_string(status), out.str());
  const std::string output = out.str();
  Reader reader(output);
  fuzzed().shape(reader, input);
  reader.end();
  // Standard error holds at most three lines with no control character, each after the
  // program's name, in the order things happened: the first answer taken from an earlier answer's
  // line, by two of the dialogue's prompts; the first failed read, by one of them, with its
  // reason; and, when no read failed, what the last answer's line held past the answer.
  const std::string said = err.str();
  const std::string name = std::string(fuzzed().program) + ": ";
  static const std::vector<Frame> frames = framesOf(fuzzed()); // made once
  int last = 0;
  for (std::size_t at = 0; at < said.size();) {
    const std::size_t end = said.find('\n', at);
    const std::string line = said.substr(at, end - at);
    const int kind = line.rfind(name, 0) == 0 ? kindOf(frames, line.substr(name.size())) : 0;
    if (end == std::string::npos || kind <= last || (kind == 3 && last == 2) ||
        std::any_of(line.begin(), line.end(),
                    [](char c) { return c >= 0 && (c < 0x20 || c == 0x7F); }))
      fail("standard error: " + said, output);
    last = kind;
    at = end + 1;
  }
  return 0;
}
