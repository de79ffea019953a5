// Runs a dialogue as a real process: bytes in on standard input, bytes out, exit status.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "texts.h"

struct Result {
  std::string out;
  std::string err;
  // Exit status; 128 + signal when killed; -1 when the harness stopped a run that waited too long,
  // `stopped` then saying where it was left; -2 when a Windows build's run showed no pause.
  int status = -1;
  std::string stopped;
};

// A program under test: the command that starts it, the name it writes in front of its
// diagnostics, and the prompts of its dialogue.
struct Program {
  std::vector<std::string> argv;
  std::string name;
  std::vector<std::string> prompts;
};

// Where the program's standard output goes: to the harness, which collects it, or somewhere that
// loses every byte written.
enum class Output {
  Collected,
  FullDisk,     // kFullDisk: every write fails with "No space left on device"
  Closed,       // no standard output at all
  ReaderGone,   // a pipe whose reader closed it before the first answer (SIGPIPE stays ignored, as
                // for every program the harness runs)
  ReaderLeaves, // a pipe whose reader takes a few hundred bytes, throws them away and closes it
};

// A device on which every write fails for want of space. Linux and the BSDs have it; where it is
// missing, the full-disk cases are skipped.
inline constexpr const char* kFullDisk = "/dev/full";

// Runs the program with `input` on standard input, which is closed after it.
Result run(const Program& program, const std::string& input, Output output = Output::Collected);

// Runs the program typing the i-th answer only once its i-th prompt has appeared on standard
// output. A prompt that never appears (left unflushed, say) ends the run with status -1, and
// `stopped` says which prompt was awaited.
Result converse(const Program& program, const std::vector<std::string>& answers);

// A table row: what the case shows, the bytes typed, the exact bytes expected on standard output,
// and what the lines expected on standard error say after the program's name, a line end between
// two (none when empty).
struct Case {
  std::string what;
  std::string input;
  std::string out;
  std::string err = {};
};

// The bytes a program writes on standard error for a row's `err`: each line after its name.
inline std::string errorLine(const Program& program, const std::string& err) {
  std::string bytes;
  for (std::size_t at = 0; at < err.size();) {
    const std::size_t end = std::min(err.find('\n', at), err.size());
    bytes += program.name + ": " + err.substr(at, end - at) + "\n";
    at = end + 1;
  }
  return bytes;
}

// Where two texts part, in a few lines: the offset of the first byte that differs, and the bytes
// around it in each, labelled, control bytes escaped, with a caret under the first that differs.
std::string firstDifference(const std::string& expected, const std::string& actual);

// Expects a run's exact standard output, standard error and exit status. A failure is reported at
// the caller's line, with where each stream first differs.
void expectRun(const Result& r, const std::string& out, const std::string& err, int status = 0,
               const char* file = __builtin_FILE(), int line = __builtin_LINE());

// Runs every case and expects its output, its standard error and exit status 0. A failing row is
// reported at its own line in the caller's file (at the table's, for a row whose name is not
// written out there), and rows that fail alike are reported once, with their names.
void expectDialogues(const Program& program, const std::vector<Case>& cases,
                     const char* file = __builtin_FILE(), int line = __builtin_LINE());

// The programs under test, and the exact bytes their dialogues write, shared by the tables.
inline const Program kVostrel{{VOSTREL_PATH}, "vostrel", kPatientPromptList};
inline const Program kKandomir{{KANDOMIR_PATH}, "kandomir", kProductPromptList};

// One of vostrel's further exercise routines, reached through vostrel-exercise.
inline Program exercise(const std::string& routine) {
  return {{EXERCISE_PATH, routine}, "vostrel", {}};
}

inline const std::string kPatientPrompts = joined(kPatientPromptList);
inline const std::string kProductPrompts = joined(kProductPromptList);

// All five prompts, then the name line and the verdict: the number, city and diagnosis never
// show.
inline std::string patient(const std::string& name, bool pension) {
  return kPatientPrompts + kNameLabel + name + "\n" + (pension ? kPension : kNoPension);
}

// Both prompts, then the two products.
inline std::string products(const std::string& p1, const std::string& p2) {
  return kProductPrompts + "p1=" + p1 + "\np2=" + p2 + "\n";
}

// The area and perimeter block that the circle and the rectangle share.
inline std::string measures(const std::string& s, const std::string& p) {
  return kAreaLabel + s + kPerimeterLabel + p + "\n\n";
}

// All four prompts, then one trace line a term, then the result.
inline std::string series(int traceLines, const std::string& y) {
  std::string out = joined(kSeriesPromptList);
  for (int i = 0; i < traceLines; ++i)
    out += kTraceLine;
  return out + kSeriesResultLabel + y + "\n\n";
}
