#include "dialogue.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <map>
#include <sstream>
#include <stdexcept>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using Clock = std::chrono::steady_clock;

// Generous: valgrind and the sanitizers slow the programs down a lot on megabyte inputs.
constexpr auto kRunLimit = std::chrono::seconds(120);
// A visible prompt shows up at once; one that is not there after this was never flushed. Under a
// launcher (valgrind, Wine, qemu, Node) the program first waits for the launcher to start, which
// on a busy machine can take seconds.
const std::chrono::seconds kPromptLimit(std::getenv("DIALOGUE_LAUNCHER") ? 30 : 5);

struct Child {
  pid_t pid = -1;
  int in = -1; // our ends of the child's standard streams
  int out = -1;
  int err = -1;
  // Bytes the reader of standard output still takes and throws away before it closes the pipe;
  // 0 for a reader that keeps all.
  std::size_t leavesAfter = 0;
};

// The command that starts a program: DIALOGUE_LAUNCHER, when set, names a command (with its
// options, split at blanks) that runs the program for the harness, such as valgrind, wine or qemu.
// DIALOGUE_PROGRAMS, when set, names the folder of another build of the programs (another
// standard library, architecture or system), from which each program then runs, as NAME followed
// by DIALOGUE_SUFFIX (".exe" for Windows, ".js" for WebAssembly under Node).
// DIALOGUE_WINDOWS, when set, says that build is for Windows: its output is normalised below.
std::vector<std::string> command(const std::vector<std::string>& argv) {
  std::vector<std::string> words;
  if (const char* launcher = std::getenv("DIALOGUE_LAUNCHER")) {
    std::istringstream in(launcher);
    for (std::string word; in >> word;)
      words.push_back(word);
  }
  words.insert(words.end(), argv.begin(), argv.end());
  if (const char* folder = std::getenv("DIALOGUE_PROGRAMS")) {
    std::string& program = words[words.size() - argv.size()];
    const char* suffix = std::getenv("DIALOGUE_SUFFIX");
    program =
        std::string(folder) + "/" + program.substr(program.rfind('/') + 1) + (suffix ? suffix : "");
  }
  return words;
}

void replaceAll(std::string& s, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = s.find(from, at)) != std::string::npos; at += to.size())
    s.replace(at, from.size(), to);
}

// Bytes as a C or a JSON string literal writes them: line ends, quotes and backslashes escaped,
// and every other control byte or byte past ASCII as `hex` ("\\x", or "\\u00" for JSON, where
// each byte is then one character, U+0000 to U+00FF) and two hexadecimal digits.
std::string escaped(const std::string& bytes, const char* hex = "\\x") {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n' || c == '\r' || c == '"' || c == '\\')
      text += {'\\', c == '\n' ? 'n' : c == '\r' ? 'r' : c};
    else if (byte < 0x20 || byte >= 0x7F)
      text += hex + std::string{"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 0xF]};
    else
      text += c;
  }
  return text;
}

// The last bytes that a run the harness stopped had written: where it was left.
std::string endOf(const std::string& out) {
  const std::size_t from = out.size() > 60 ? out.size() - 60 : 0;
  return "its output ends " + std::string(from > 0 ? "..." : "") + '"' + escaped(out.substr(from)) +
         '"';
}

// Two differences of a Windows build are the platform's, not the program's, and are taken out
// before comparing with the native bytes:
//  - the C runtime writes each line end as CR LF, so CR LF turns back into LF on both streams;
//  - the console's pause command writes its "Press any key to continue" line after all of the
//    dialogue's output and, with standard input used up, returns at once. That line shows that
//    the pause ran: it is cut off, and a dialogue without it gets status -2.
void normaliseWindows(Result& r) {
  replaceAll(r.out, "\r\n", "\n");
  replaceAll(r.err, "\r\n", "\n");
  if (r.status != 0) // no dialogue ran (a usage error, a timeout): nothing paused
    return;
  const std::string pauseLine = "Press any key to continue";
  const std::size_t pause = r.out.rfind(pauseLine);
  if (pause == std::string::npos ||
      r.out.find_first_not_of(" .\n", pause + pauseLine.size()) != std::string::npos) {
    r.status = -2;
    return;
  }
  r.out.erase(pause);
}

void closeFd(int& fd) {
  if (fd >= 0)
    close(fd);
  fd = -1;
}

// Both ends of a pipe, closed on exec: each child keeps only the ends it is given as 0, 1 and 2.
bool openPipe(int (&ends)[2]) {
  return pipe(ends) == 0 && fcntl(ends[0], F_SETFD, FD_CLOEXEC) == 0 &&
         fcntl(ends[1], F_SETFD, FD_CLOEXEC) == 0;
}

Child spawn(const std::vector<std::string>& program, Output output = Output::Collected) {
  // Everything the child needs is made before the fork: between fork and exec it only moves
  // descriptors, and allocates nothing.
  const std::vector<std::string> words = command(program);
  std::vector<char*> argv(words.size() + 1, nullptr);
  std::transform(words.begin(), words.end(), argv.begin(),
                 [](const std::string& word) { return const_cast<char*>(word.c_str()); });
  // A child that exits before reading all its input must not kill the harness.
  static_cast<void>(std::signal(SIGPIPE, SIG_IGN));
  int in[2], out[2], err[2];
  const int fullDisk = output == Output::FullDisk ? open(kFullDisk, O_WRONLY | O_CLOEXEC) : -2;
  if (!openPipe(in) || !openPipe(out) || !openPipe(err) || fcntl(in[1], F_SETFL, O_NONBLOCK) != 0 ||
      fullDisk == -1)
    throw std::runtime_error(std::string("cannot start the program: ") + std::strerror(errno));
  Child c;
  c.pid = fork();
  if (c.pid == 0) {
    if (dup2(in[0], 0) < 0 || dup2(output == Output::FullDisk ? fullDisk : out[1], 1) < 0 ||
        dup2(err[1], 2) < 0)
      _exit(126);
    if (output == Output::Closed)
      close(1);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  const int forkError = errno;
  for (const int fd : {in[0], out[1], err[1], fullDisk})
    if (fd >= 0)
      close(fd);
  if (c.pid < 0) {
    for (const int fd : {in[1], out[0], err[0]})
      close(fd);
    throw std::runtime_error(std::string("fork failed: ") + std::strerror(forkError));
  }
  c.in = in[1];
  c.out = out[0];
  c.err = err[0];
  if (output == Output::ReaderGone)
    closeFd(c.out);
  if (output == Output::ReaderLeaves)
    c.leavesAfter = 300;
  return c;
}

// Writes `input` and collects output until `enough` holds with all of `input` written, or both
// output streams have closed. Returns false when the deadline passes first.
bool pump(Child& c, const std::string& input, Result& r, const std::function<bool()>& enough,
          Clock::time_point deadline) {
  std::size_t sent = 0;
  while (!(sent == input.size() && enough())) {
    if (c.out < 0 && c.err < 0)
      return true;
    pollfd fds[3];
    nfds_t n = 0;
    if (c.in >= 0 && sent < input.size())
      fds[n++] = {c.in, POLLOUT, 0};
    for (int fd : {c.out, c.err})
      if (fd >= 0)
        fds[n++] = {fd, POLLIN, 0};
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0 || poll(fds, n, static_cast<int>(left.count())) <= 0)
      return false;
    for (nfds_t i = 0; i < n; ++i) {
      if (fds[i].revents == 0)
        continue;
      if (fds[i].fd == c.in) {
        const ssize_t w = write(c.in, input.data() + sent, input.size() - sent);
        if (w > 0)
          sent += static_cast<std::size_t>(w);
        else if (errno != EAGAIN)
          sent = input.size(); // the child closed its input: the rest stays unread
        continue;
      }
      char buf[65536];
      const ssize_t got = read(fds[i].fd, buf, sizeof buf);
      int& fd = fds[i].fd == c.out ? c.out : c.err;
      std::string& into = fds[i].fd == c.out ? r.out : r.err;
      if (got > 0 && &fd == &c.out && c.leavesAfter > 0) {
        c.leavesAfter -= std::min(c.leavesAfter, static_cast<std::size_t>(got));
        if (c.leavesAfter == 0)
          closeFd(c.out);
      } else if (got > 0) {
        into.append(buf, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EAGAIN)
        closeFd(fd);
    }
  }
  return true;
}

// Closes the child's input, collects the rest of its output and its exit status.
void finish(Child& c, Result& r, bool ok, Clock::time_point deadline) {
  closeFd(c.in);
  if (ok)
    ok = pump(
        c, "", r, [] { return false; }, deadline);
  // Only a child of this run is ever signalled or waited for: a pid of -1 would reach every
  // process the harness may signal, and every child it has.
  if (c.pid <= 0)
    throw std::logic_error("no child to finish");
  if (!ok)
    kill(c.pid, SIGKILL);
  closeFd(c.out);
  closeFd(c.err);
  int wstatus = 0;
  pid_t waited = 0;
  while ((waited = waitpid(c.pid, &wstatus, 0)) < 0 && errno == EINTR) {
  }
  if (waited != c.pid)
    throw std::runtime_error(std::string("waitpid failed: ") + std::strerror(errno));
  r.status = !ok ? -1 : WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  if (!ok && r.stopped.empty())
    r.stopped =
        "stopped, still running after " + std::to_string(kRunLimit.count()) + " s; " + endOf(r.out);
  if (std::getenv("DIALOGUE_WINDOWS"))
    normaliseWindows(r);
}

bool endsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// What is wrong with a run, or nothing.
std::string mismatch(const Result& r, const std::string& out, const std::string& err, int status) {
  std::string what = r.stopped.empty() ? "" : r.stopped + "\n";
  if (r.out != out)
    what += "standard output " + firstDifference(out, r.out);
  if (r.err != err)
    what += "standard error " + firstDifference(err, r.err);
  if (r.status != status)
    what += "exit status " + std::to_string(r.status) + ", not " + std::to_string(status) + "\n";
  return what;
}

} // namespace

// Where two texts part: the offset of the first byte that differs, and the bytes around it in
// each, labelled, with a caret under the first that differs.
std::string firstDifference(const std::string& expected, const std::string& actual) {
  const auto at = static_cast<std::size_t>(
      std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end()).first -
      expected.begin());
  const std::size_t from = at < 30 ? 0 : at - 30;
  const std::string before =
      (from > 0 ? "...\"" : "\"") + escaped(expected.substr(from, at - from));
  const auto around = [&](const std::string& s) {
    return before + escaped(s.substr(at, 30)) + '"' + (s.size() > at + 30 ? "..." : "");
  };
  return "differs from byte " + std::to_string(at) + " on:\n  expected: " + around(expected) +
         "\n  actual:   " + around(actual) + "\n" + std::string(12 + before.size(), ' ') + "^\n";
}

Result run(const Program& program, const std::string& input, Output output) {
  Result r;
  Child c = spawn(program.argv, output);
  const auto deadline = Clock::now() + kRunLimit;
  const bool ok = pump(
      c, input, r, [] { return true; }, deadline);
  finish(c, r, ok, deadline);
  return r;
}

Result converse(const Program& program, const std::vector<std::string>& answers) {
  Result r;
  Child c = spawn(program.argv);
  bool ok = answers.size() <= program.prompts.size();
  for (std::size_t i = 0; ok && i < answers.size(); ++i) {
    const auto shown = [&] { return endsWith(r.out, program.prompts[i]); };
    ok = pump(c, "", r, shown, Clock::now() + kPromptLimit) && shown() &&
         pump(
             c, answers[i], r, [] { return true; }, Clock::now() + kPromptLimit);
    if (!ok)
      r.stopped = "stopped after " + std::to_string(kPromptLimit.count()) +
                  " s waiting for prompt " + std::to_string(i + 1) + ", \"" +
                  escaped(program.prompts[i]) + "\", or for its answer to be taken; " +
                  endOf(r.out);
  }
  finish(c, r, ok, Clock::now() + kRunLimit);
  return r;
}

void expectRun(const Result& r, const std::string& out, const std::string& err, int status,
               const char* file, int line) {
  const std::string what = mismatch(r, out, err, status);
  if (!what.empty())
    ADD_FAILURE_AT(file, line) << what;
}

namespace {

std::string json(const std::string& bytes) {
  return '"' + escaped(bytes, "\\u00") + '"';
}

// DIALOGUE_EXPORT, when set, names a file to which the tables are written instead of run, a line
// of JSON a case, for the browser test to play the same cases on the web page.
bool exported(const Program& program, const std::vector<Case>& cases) {
  const char* path = std::getenv("DIALOGUE_EXPORT");
  if (!path)
    return false;
  std::ofstream file(path, std::ios::app);
  std::string prompts;
  for (const std::string& prompt : program.prompts)
    prompts += (prompts.empty() ? "" : ", ") + json(prompt);
  for (const Case& c : cases)
    file << "{\"program\": " << json(program.name) << ", \"prompts\": [" << prompts << "]"
         << ", \"what\": " << json(c.what) << ", \"input\": " << json(c.input)
         << ", \"out\": " << json(c.out) << ", \"err\": " << json(errorLine(program, c.err))
         << "}\n";
  if (!file)
    throw std::runtime_error(std::string("cannot write ") + path);
  return true;
}

// The line of the table's row named `what`: the first line from the table's own on that holds
// the name as a string literal, or the table's line when none does (a name made up in a loop).
int rowLine(const char* file, int tableLine, const std::string& what) {
  std::ifstream source(file[0] == '/' ? std::string(file) : std::string(SOURCE_DIR "/") + file);
  int line = 1;
  for (std::string text; std::getline(source, text); ++line)
    if (line >= tableLine && text.find('"' + what + '"') != std::string::npos)
      return line;
  return tableLine;
}

} // namespace

void expectDialogues(const Program& program, const std::vector<Case>& cases, const char* file,
                     int line) {
  // Writing the cases out runs none of them, so the table reports itself skipped, never passed.
  if (exported(program, cases))
    GTEST_SKIP() << "cases written to DIALOGUE_EXPORT, not run";
  // Each way of failing, with the rows that fail so: one changed prompt fails every row alike.
  std::map<std::string, std::vector<std::string>> failures;
  for (const Case& c : cases)
    if (std::string what = mismatch(run(program, c.input), c.out, errorLine(program, c.err), 0);
        !what.empty())
      failures[what].push_back(c.what);
  for (const auto& [what, rows] : failures) {
    std::string names;
    for (const std::string& row : rows)
      names += (names.empty() ? "\"" : ", \"") + row + '"';
    ADD_FAILURE_AT(file, rowLine(file, line, rows[0]))
        << (rows.size() > 1 ? "rows " : "row ") << names << ":\n"
        << what;
  }
}
