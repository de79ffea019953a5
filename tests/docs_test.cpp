// The worked dialogues of the README and the manual pages, as the programs print them. Each is
// marked by a comment just before it, "played: PROGRAM"; its answers are what follows each prompt
// on its line, as a terminal shows them, right after the prompt.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "dialogue.h"

namespace {

using Lines = std::vector<std::pair<int, std::string>>; // each line with its number in the file

// Plays the worked dialogue `shown` of file `doc` and reports the first line that differs.
void play(const char* doc, const Program& program, const Lines& shown) {
  std::vector<std::string> answers;
  for (std::size_t i = 0; i < program.prompts.size(); ++i) {
    const std::string& prompt = program.prompts[i];
    if (i >= shown.size() || shown[i].second.rfind(prompt, 0) != 0) {
      ADD_FAILURE_AT(doc, i < shown.size() ? shown[i].first : shown.back().first)
          << "no line starting with the prompt \"" << prompt << "\" here";
      return;
    }
    answers.push_back(shown[i].second.substr(prompt.size()) + "\n");
  }
  std::string input;
  for (const std::string& answer : answers)
    input += answer;
  const Result r = run(program, input);
  if (!r.err.empty() || r.status != 0)
    ADD_FAILURE_AT(doc, shown.front().first)
        << "the answers give status " << r.status << " and on standard error: " << r.err;
  // A terminal's view: each answer echoed right after its prompt.
  std::string view = r.out;
  for (std::size_t i = 0, at = 0; i < answers.size() && at != std::string::npos; ++i)
    if ((at = view.find(program.prompts[i], at)) != std::string::npos)
      view.insert(at += program.prompts[i].size(), answers[i]);
  std::istringstream lines(view);
  std::string line;
  for (const auto& [number, text] : shown) {
    const bool more = static_cast<bool>(std::getline(lines, line));
    if (!more || line != text) {
      ADD_FAILURE_AT(doc, number) << "where this line is, the program shows "
                                  << (more ? '"' + line + '"' : std::string("nothing more"));
      return;
    }
  }
  if (std::getline(lines, line))
    ADD_FAILURE_AT(doc, shown.back().first)
        << "the program shows more after this: \"" << line << '"';
}

TEST(Docs, WorkedDialoguesAsPrinted) {
  for (const char* doc : {"README.md", "man/vostrel.1.in", "man/kandomir.1.in"}) {
    std::ifstream in(std::string(SOURCE_DIR "/") + doc);
    ASSERT_TRUE(in) << "cannot read " << doc;
    int blocks = 0;
    int number = 0;
    const auto next = [&](std::string& line) { return std::getline(in, line) && ++number; };
    // A block opens with a line starting "```" (Markdown) or ".EX" (a manual page), and closes
    // with the next such line or ".EE".
    const auto edge = [](const std::string& line) {
      return line.rfind("```", 0) == 0 || line == ".EX" || line == ".EE";
    };
    for (std::string line; next(line);) {
      const std::size_t marker = line.find("played: ");
      if (marker == std::string::npos)
        continue;
      const std::string name =
          line.substr(marker + 8, line.find_first_of(" -", marker + 8) - marker - 8);
      ASSERT_TRUE(name == "vostrel" || name == "kandomir") << doc << ":" << number << ": " << name;
      Lines shown;
      while (next(line) && !edge(line)) {
      }
      while (next(line) && !edge(line))
        shown.push_back({number, line});
      ASSERT_FALSE(shown.empty()) << doc << ":" << number << ": no block after its marker";
      play(doc, name == "vostrel" ? kVostrel : kKandomir, shown);
      ++blocks;
    }
    EXPECT_GT(blocks, 0) << doc << " marks no worked dialogue with \"played: PROGRAM\"";
  }
}

} // namespace
