// The examples of the README and the manual pages, played against the programs. A code block is
// marked by a comment just before it, "played: PROGRAM 'INPUT'", INPUT as printf's format writes
// it, with " >/dev/full" after it for a run whose output is lost. A block that opens with the
// program's name and a colon shows its standard error; any other shows the terminal: the output,
// each answer right after its prompt, then the standard error. A table row with a command,
// "printf 'INPUT' | PROGRAM", shows in its last cell the lines on standard error.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "dialogue.h"

namespace {

using Lines = std::vector<std::pair<int, std::string>>; // each line with its number in the file

// Text as printf's format writes it (\n, \r, \t, \\, \xHH), or, with `groff`, as a manual page
// does (\e, \-, \(aq).
std::string unescaped(const std::string& text, bool groff = false) {
  std::string bytes;
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char next = at + 1 < text.size() ? text[at + 1] : '\0';
    if (text[at] != '\\') {
      bytes += text[at];
    } else if (groff) {
      bytes += next == 'e' ? '\\' : next == '-' ? '-' : '\'';
      at += next == '(' ? 3 : 1;
    } else {
      bytes += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : next;
      if (next == 'x')
        bytes.back() = static_cast<char>(std::stoi(text.substr(at + 2, 2), nullptr, 16));
      at += next == 'x' ? 3 : 1;
    }
  }
  return bytes;
}

// Plays `input` and reports the first line of `shown` that is not what the program prints, with
// that line as it should read in the doc.
void play(const char* doc, const std::string& program, const std::string& input, bool full,
          const Lines& shown) {
  ASSERT_TRUE(program == "vostrel" || program == "kandomir") << doc << ": no program " << program;
  const Program& p = program == "vostrel" ? kVostrel : kKandomir;
  const Result r = run(p, input, full ? Output::FullDisk : Output::Collected);
  EXPECT_EQ(r.status, full ? 1 : 0) << doc << ":" << shown.front().first;
  std::string view = r.err;
  if (shown.front().second.rfind(program + ": ", 0) != 0) {
    view = r.out;
    std::size_t at = 0;
    for (std::size_t i = 0, answer = 0; i < p.prompts.size(); ++i) {
      const std::size_t end = input.find('\n', answer);
      if (end == std::string::npos || (at = view.find(p.prompts[i], at)) == std::string::npos)
        break;
      at += p.prompts[i].size();
      view.insert(at, input, answer, end + 1 - answer);
      answer = end + 1;
    }
    view += r.err;
  }
  std::istringstream lines(view);
  std::size_t i = 0;
  for (std::string line; std::getline(lines, line); ++i) {
    if (i == shown.size()) {
      ADD_FAILURE_AT(doc, shown.back().first) << "the program shows more after this: " << line;
      return;
    }
    if (line != shown[i].second) {
      ADD_FAILURE_AT(doc, shown[i].first) << "this line is not what the program shows: it "
                                          << firstDifference(line, shown[i].second);
      return;
    }
  }
  if (i < shown.size())
    ADD_FAILURE_AT(doc, shown[i].first) << "the program shows nothing more from here";
}

TEST(Docs, ExamplesAsPrinted) {
  for (const std::string doc : {"README.md", "man/vostrel.1.in", "man/kandomir.1.in"}) {
    std::ifstream in(std::string(SOURCE_DIR "/") + doc);
    ASSERT_TRUE(in) << "cannot read " << doc;
    const bool groff = doc.rfind(".in") == doc.size() - 3;
    int played = 0;
    int number = 0;
    const auto next = [&](std::string& line) { return std::getline(in, line) && ++number; };
    // A block opens with a line starting "```" (Markdown) or ".EX" (a manual page), and closes
    // with the next such line or ".EE".
    const auto edge = [](const std::string& line) {
      return line.rfind("```", 0) == 0 || line == ".EX" || line == ".EE";
    };
    for (std::string line; next(line);) {
      const std::size_t command = line.find("printf '");
      const std::size_t marker = line.find("played: ");
      if (line.rfind('|', 0) == 0 && command != std::string::npos) {
        const std::size_t quote = line.find('\'', command + 8);
        const std::size_t name = line.find("| ", quote) + 2;
        Lines shown;
        const std::string last = line.substr(line.rfind(" | ") + 3);
        for (std::size_t open = last.find('`'), close;
             open != std::string::npos && (close = last.find('`', open + 1)) != std::string::npos;
             open = last.find('`', close + 1))
          shown.push_back({number, last.substr(open + 1, close - open - 1)});
        play(doc.c_str(), line.substr(name, line.find('`', name) - name),
             unescaped(line.substr(command + 8, quote - command - 8)), false, shown);
        ++played;
      } else if (marker != std::string::npos) {
        const std::size_t quote = line.find('\'', marker);
        const std::string program = line.substr(marker + 8, quote - marker - 9);
        const std::string input = line.substr(quote + 1, line.find('\'', quote + 1) - quote - 1);
        const bool full = line.find(">/dev/full") != std::string::npos;
        Lines shown;
        while (next(line) && !edge(line)) {
        }
        while (next(line) && !edge(line))
          shown.push_back({number, groff ? unescaped(line, true) : line});
        ASSERT_FALSE(shown.empty()) << doc << ":" << number << ": no block after its marker";
        play(doc.c_str(), program, unescaped(input), full, shown);
        ++played;
      }
    }
    EXPECT_GT(played, 0) << doc << " has no example marked \"played: PROGRAM 'INPUT'\"";
  }
}

} // namespace
