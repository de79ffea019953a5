// The worked dialogues of the README and the manual pages, as the programs print them. Each is
// marked by a comment just before it, "played: PROGRAM"; its answers are what follows each prompt
// on its line, as a terminal shows them, right after the prompt.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "dialogue.h"

namespace {

using Lines = std::vector<std::pair<int, std::string>>; // each line with its number in the file

// Plays the worked dialogue `shown` of file `doc` and reports the first line that differs, with
// the line as the program shows it (expected) and as the doc does (actual).
void play(const char* doc, const Program& program, const Lines& shown) {
  // The doc's lines as the program writes them, without the answers typed: each prompt line is
  // the prompt, where the program waits, and the line end is the answer's.
  std::string input, written;
  std::vector<std::size_t> lineAt; // where each doc line starts in `written`
  std::vector<std::pair<std::size_t, std::string>> echoes; // each answer typed and where it shows
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const auto& [number, text] = shown[i];
    lineAt.push_back(written.size());
    if (i >= program.prompts.size()) {
      written += text + "\n";
      continue;
    }
    const std::string& prompt = program.prompts[i];
    if (text.rfind(prompt, 0) != 0) {
      ADD_FAILURE_AT(doc, number) << "no line starting with the prompt here: the line "
                                  << firstDifference(prompt, text);
      return;
    }
    written += prompt;
    echoes.emplace_back(written.size(), text.substr(prompt.size()) + "\n");
    input += echoes.back().second;
  }
  const Result r = run(program, input);
  if (!r.err.empty() || r.status != 0)
    ADD_FAILURE_AT(doc, shown.front().first)
        << "the answers give status " << r.status << " and on standard error: " << r.err;
  if (r.out == written)
    return;
  const auto at = static_cast<std::size_t>(
      std::mismatch(written.begin(), written.end(), r.out.begin(), r.out.end()).first -
      written.begin());
  if (at == written.size()) {
    ADD_FAILURE_AT(doc, shown.back().first) << "the program shows more after this: \""
                                            << r.out.substr(at, r.out.find('\n', at) - at) << '"';
    return;
  }
  // The doc's line where the two part, and the program's as a terminal shows it: the answers
  // before that point echoed where the doc shows them, as the two agree up to there.
  // A difference where an answer shows belongs to the prompt's line: the program wrote more there.
  std::size_t line = std::upper_bound(lineAt.begin(), lineAt.end(), at) - lineAt.begin() - 1;
  if (line > 0 && line - 1 < echoes.size() && echoes[line - 1].first == at)
    --line;
  std::string view = r.out;
  for (std::size_t i = std::min(line + 1, echoes.size()); i-- > 0;)
    if (echoes[i].first < at)
      view.insert(echoes[i].first, echoes[i].second);
  std::size_t from = lineAt[line];
  for (std::size_t i = 0; i < line && i < echoes.size(); ++i)
    from += echoes[i].second.size();
  ADD_FAILURE_AT(doc, shown[line].first)
      << "this line is not what the program shows: it "
      << firstDifference(view.substr(from, view.find('\n', from) - from), shown[line].second);
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
