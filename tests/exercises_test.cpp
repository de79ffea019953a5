// vostrel's four further exercise routines, reached through vostrel-exercise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <tuple>
#include <utility>

#include <unistd.h>

#include "dialogue.h"

namespace {

TEST(ValuePair, FixedDemonstration) {
  expectDialogues(exercise("main1"),
                  {{"no input", "", kValuePairOut}, {"input is not read", "5\n", kValuePairOut}});
}

TEST(Circle, Dialogue) {
  expectDialogues(exercise("mainT2"),
                  {
                      {"radius 1", "1\n", kCirclePrompt + measures("3.14159", "6.28319")},
                      {"radius 2", "2\n", kCirclePrompt + measures("12.5664", "12.5664")},
                      {"radius 10", "10\n", kCirclePrompt + measures("314.159", "62.8319")},
                      {"radius 0.5", "0.5\n", kCirclePrompt + measures("0.785398", "3.14159")},
                      {"radius 0", "0\n", kCirclePrompt + measures("0", "0")},
                      {"radius -1", "-1\n", kCirclePrompt + measures("3.14159", "-6.28319")},
                      {"non-numeric radius", "r\n", kCirclePrompt + measures("0", "0"),
                       notANumber(kCirclePrompt, "r")},
                      {"decimal comma", "0,5\n", kCirclePrompt + measures("0", "0"),
                       unread(kCirclePrompt, ",5")},
                  });
}

TEST(Rectangle, Dialogue) {
  expectDialogues(exercise("mainT3"),
                  {
                      {"3 and 4", "3\n4\n", kRectanglePrompts + measures("12", "14")},
                      {"2.5 and 4", "2.5\n4\n", kRectanglePrompts + measures("10", "13")},
                      {"-2 and 3", "-2\n3\n", kRectanglePrompts + measures("-6", "2")},
                      {"1.5 and 1.5", "1.5\n1.5\n", kRectanglePrompts + measures("2.25", "6")},
                      {"a side of 0", "0\n5\n", kRectanglePrompts + measures("0", "10")},
                      {"non-numeric first side", "a\n4\n", kRectanglePrompts + measures("0", "0"),
                       notANumber(kAskSideA, "a")},
                      {"non-numeric second side", "3\nb\n", kRectanglePrompts + measures("0", "6"),
                       notANumber(kAskSideB, "b")},
                      {"end of input at the first side", "", kRectanglePrompts + measures("0", "0"),
                       inputEnded(kAskSideA)},
                  });
}

TEST(Series, Dialogue) {
  expectDialogues(
      exercise("maint3"),
      {
          {"n 2", "2\n1\n0.5\n2\n", series(3, "30")},
          {"n 0 still one term", "0\n1\n0\n1\n", series(1, "5")},
          {"n -1 no term", "-1\n2\n5\n3\n", series(0, "6")},
          {"n 3", "3\n0\n1\n1\n", series(4, "24")},
          {"n 1", "1\n1.5\n0.25\n4\n", series(2, "30.5")},
          {"n below -1", "-7\n2\n5\n3\n", series(0, "6")},
          // 3x + kS cancels exactly only when the multiply and the add round apart.
          {"cancellation", "0\n-2.1\n0.1\n3\n", series(1, "0")},
          // The trace fills standard output's buffer several times over, lines split across its
          // ends.
          {"n 8191", "8191\n1\n0\n1\n", series(8192, "6.71171e+07")},
          // The sum overflows; k 0 times infinity is not-a-number, written without a
          // sign on every platform.
          {"infinite sum", "1\n1\n1e308\n1\n", series(2, "inf")},
          {"0 times an infinite sum", "1\n0\n1e308\n0\n", series(2, "nan")},
          // n is 0, so the one term of i = 1 still runs; k is 0, so y is 0.
          {"end of input at the first prompt", "", series(1, "0"), inputEnded(kAskSeriesN)},
          {"non-numeric x", "2\nx\n0.5\n2\n", series(3, "0"), notANumber(kAskSeriesX, "x")},
          {"non-numeric a", "2\n1\na\n2\n", series(3, "3"), notANumber(kAskSeriesA, "a")},
          {"non-numeric k", "2\n1\n0.5\nk\n", series(3, "3"), notANumber(kAskSeriesK, "k")},
          {"decimal comma after k", "2\n1\n0.5\n2,5\n", series(3, "30"), unread(kAskSeriesK, ",5")},
      });
}

// Hostile input to the three exercises that read: status 0, every prompt, and a failed read
// leaves 0.
TEST(Exercises, HostileInput) {
  const std::string digits(1 << 20, '9');
  using namespace std::string_literals;
  expectDialogues(
      exercise("mainT2"),
      {
          {"1 MB radius", digits + "\n", kCirclePrompt + measures("0", "0"),
           outOfRange(kCirclePrompt, std::string(20, '9'), true)},
          {"radius 1e99999", "1e99999\n", kCirclePrompt + measures("0", "0"),
           outOfRange(kCirclePrompt, "1e99999")},
          {"radius nan", "nan\n", kCirclePrompt + measures("0", "0"),
           notANumber(kCirclePrompt, "nan")},
          {"radius inf", "inf\n", kCirclePrompt + measures("0", "0"),
           notANumber(kCirclePrompt, "inf")},
          {"radius a lone minus", "-\n", kCirclePrompt + measures("0", "0"),
           notANumber(kCirclePrompt, "-")},
          {"NUL as the radius", "\0\n"s, kCirclePrompt + measures("0", "0"),
           notANumber(kCirclePrompt, "\\x00")},
          {"bytes 0x80 to 0xFF", "\x80\xFF\n", kCirclePrompt + measures("0", "0"),
           notANumber(kCirclePrompt, "\\x80\\xFF")},
          // What a line shows of an answer is 20 bytes, and "..." after when there is more.
          {"20 bytes of no number", std::string(20, 'r') + "\n", kCirclePrompt + measures("0", "0"),
           notANumber(kCirclePrompt, std::string(20, 'r'))},
          {"21 bytes of no number", std::string(21, 'r') + "\n", kCirclePrompt + measures("0", "0"),
           notANumber(kCirclePrompt, std::string(20, 'r'), true)},
          {"CRLF line end", "2\r\n", kCirclePrompt + measures("12.5664", "12.5664")},
          {"end of input", "", kCirclePrompt + measures("0", "0"), inputEnded(kCirclePrompt)},
      });
  expectDialogues(
      exercise("mainT3"),
      {
          {"1 MB first side", digits + "\n4\n", kRectanglePrompts + measures("0", "0"),
           outOfRange(kAskSideA, std::string(20, '9'), true)},
          {"1 MB second side", "3\n" + digits + "\n", kRectanglePrompts + measures("0", "6"),
           outOfRange(kAskSideB, std::string(20, '9'), true)},
          {"side 1e99999", "3\n1e99999\n", kRectanglePrompts + measures("0", "6"),
           outOfRange(kAskSideB, "1e99999")},
          // Past its kept digits a number still stops at the first character that cannot
          // continue it: the second point, which starts the second side.
          {"a side of 1000 digits, then a point", "3." + std::string(1000, '0') + ".4\n",
           kRectanglePrompts + measures("1.2", "6.8"), taken(kAskSideB, kAskSideA, ".4")},
          {"a long first side, then the second and a word",
           "3." + std::string(5000, '0') + " 4 abc\n", kRectanglePrompts + measures("12", "14"),
           taken(kAskSideB, kAskSideA, "4") + "\n" + unread(kAskSideB, "abc", false, false)},
          // Rounding past the sixth digit shows in the perimeter: 2^53 + 1 is a tie, and rounds
          // to even, 2^53; a 1 a thousand zeros after its point breaks the tie upwards.
          {"sides 2^53 + 1 and -2^53", "9007199254740993\n-9007199254740992\n",
           kRectanglePrompts + measures("-8.11296e+31", "0")},
          {"sides 2^53 + 1 and a far 1, and -2^53",
           "9007199254740993." + std::string(1000, '0') + "1\n-9007199254740992\n",
           kRectanglePrompts + measures("-8.11296e+31", "4")},
          {"CRLF line ends", "3\r\n4\r\n", kRectanglePrompts + measures("12", "14")},
          {"end of input at the second side", "3\n", kRectanglePrompts + measures("0", "6"),
           inputEnded(kAskSideB)},
      });
  expectDialogues(exercise("maint3"),
                  {
                      // n stays 0 (one term) rather than becoming the largest int.
                      {"1 MB n", digits + "\n1\n1\n1\n", series(1, "0"),
                       outOfRange(kAskSeriesN, std::string(20, '9'), true)},
                      {"n 2147483648", "2147483648\n1\n1\n1\n", series(1, "0"),
                       outOfRange(kAskSeriesN, "2147483648")},
                      {"smallest int n", "-2147483648\n2\n5\n3\n", series(0, "6")},
                      {"1 MB x", "2\n" + digits + "\n1\n1\n", series(3, "0"),
                       outOfRange(kAskSeriesX, std::string(20, '9'), true)},
                      {"1 MB a", "2\n1\n" + digits + "\n1\n", series(3, "3"),
                       outOfRange(kAskSeriesA, std::string(20, '9'), true)},
                      {"1 MB k", "2\n1\n0.5\n" + digits + "\n", series(3, "3"),
                       outOfRange(kAskSeriesK, std::string(20, '9'), true)},
                      {"a nan", "2\n1\nnan\n2\n", series(3, "3"), notANumber(kAskSeriesA, "nan")},
                      {"CRLF line ends", "2\r\n1\r\n0.5\r\n2\r\n", series(3, "30")},
                      {"end of input at x", "2\n", series(3, "0"), inputEnded(kAskSeriesX)},
                      {"end of input at a", "2\n1\n", series(3, "3"), inputEnded(kAskSeriesA)},
                      {"end of input at k", "2\n1\n0.5\n", series(3, "3"), inputEnded(kAskSeriesK)},
                  });
}

// Odd number forms, read alike by every build: an optional sign, digits, and for a real number a
// decimal point and an exponent; no "inf", "nan" or hexadecimal. Underflow is read; what stops a
// number stays in the input. The patient's name shows what the number read left behind.
TEST(NumberForms, ReadAlikeEverywhere) {
  std::vector<Case> numbers;
  // The number stops at the first character that cannot continue it, the next one is dropped, and
  // the name is the rest of the line, taken from the number's.
  for (const auto& [typed, name, hint] : {std::tuple{"0x10", "10", Hint::OwnLine},
                                          {"0x", "", Hint::Enter},
                                          {"0xg", "g", Hint::OwnLine},
                                          {"0b101", "101", Hint::OwnLine},
                                          {"1.5e3x", "5e3x", Hint::Whole}})
    numbers.push_back({std::string("number ") + typed, std::string(typed) + "\n70\nQ\nD\n",
                       patient(name, true), taken(kAskName, kAskNumber, name, hint)});
  expectDialogues(kVostrel, numbers);
  expectDialogues(kKandomir, {{"x 1e-50 underflows to 0", "3\n1e-50\n", products("0", "5")},
                              {"n +7", "+7\n1\n", products("40320", "45045")},
                              // Ten digits within range, and an eleventh: out of range.
                              {"n 10000000000", "10000000000\n1\n", products("0", "5"),
                               outOfRange(kAskN, "10000000000")}});
  // n -1 and no trace: y is 3x. What stops x is taken by a, which fails or leaves the rest of k's
  // line unread; the advice to type the number alone on its line is given once.
  const auto x = [](const char* typed) { return notANumber(kAskSeriesX, typed); };
  const auto a = [](const char* rest) {
    return taken(kAskSeriesA, kAskSeriesX, rest) + "\n" +
           notANumber(kAskSeriesA, rest, false, false);
  };
  const auto point = [](const char* rest) {
    return taken(kAskSeriesA, kAskSeriesX, rest) + "\n" + unread(kAskSeriesK, ".5", false, false);
  };
  std::vector<Case> reals;
  for (const auto& [typed, y, err] : {std::tuple{"-inf", "0", x("-inf")},
                                      {"NAN", "0", x("NAN")},
                                      {"inF", "0", x("inF")},
                                      {"nan(1)", "0", x("nan(1)")},
                                      {"0x10", "0", a("x10")},
                                      {"0x1p3", "0", a("x1p3")},
                                      {"0X1P-2", "0", a("X1P-2")},
                                      {"1.5e3x", "4500", a("x")},
                                      {"1e", "0", x("1e")},
                                      // A second point or exponent ends the number.
                                      {"1.2.3", "3.6", point(".3")},
                                      {"1e5e3", "300000", a("e3")},
                                      {"1e5.5", "300000", point(".5")},
                                      {"1e+5", "300000", std::string()},
                                      {"4.9e-324", "1.4822e-323", std::string()},
                                      {"1e-400", "0", std::string()}})
    reals.push_back(
        {std::string("x ") + typed, "-1\n" + std::string(typed) + "\n0.5\n1\n", series(0, y), err});
  expectDialogues(exercise("maint3"), reals);
}

// Output that cannot be written is a failure: status 1 and one line on standard error that says
// why, after the failed-read line when a read failed too. Each row is a test of its own, so that a
// row that cannot run here shows as skipped.
struct Lost {
  std::string what;
  Program program;
  std::string input;
  Output output;
  std::string err;
};

// Names the row in the test's listing, in place of its bytes.
void PrintTo(const Lost& row, std::ostream* out) {
  *out << row.what;
}

class LostOutput : public testing::TestWithParam<Lost> {};

TEST_P(LostOutput, StatusOneAndTheReason) {
  const Lost& c = GetParam();
  if (c.output == Output::FullDisk && access(kFullDisk, W_OK) != 0)
    GTEST_SKIP() << "no " << kFullDisk << " here";
  // Node, which runs the WebAssembly build, opens /dev/null in place of a closed standard
  // stream before the program starts: the program never sees it closed.
  if (c.output == Output::Closed && std::getenv("DIALOGUE_REOPENS_CLOSED"))
    GTEST_SKIP() << "the launcher reopens a closed stream";
  expectRun(run(c.program, c.input, c.output), "", c.err, 1);
}

const std::string kFull = ": dalja nuk u shkrua e plote: No space left on device\n";
INSTANTIATE_TEST_SUITE_P(
    , LostOutput,
    testing::Values(
        Lost{"patient", kVostrel, "7\nEmer\n70\nQ\nD\n", Output::FullDisk, "vostrel" + kFull},
        Lost{"product", kKandomir, "3\n2\n", Output::FullDisk, "kandomir" + kFull},
        Lost{"value pair", exercise("main1"), "", Output::FullDisk, "vostrel" + kFull},
        Lost{"circle", exercise("mainT2"), "2\n", Output::FullDisk, "vostrel" + kFull},
        Lost{"rectangle", exercise("mainT3"), "3\n4\n", Output::FullDisk, "vostrel" + kFull},
        Lost{"series", exercise("maint3"), "100000\n1\n0\n1\n", Output::FullDisk,
             "vostrel" + kFull},
        Lost{"failed read too", kKandomir, "n\n", Output::FullDisk,
             errorLine(kKandomir, notANumber(kAskN, "n")) + "kandomir" + kFull},
        Lost{"no standard output", kVostrel, "7\nEmer\n70\nQ\nD\n", Output::Closed,
             "vostrel: dalja nuk u shkrua e plote: Bad file descriptor\n"},
        Lost{"reader gone", kVostrel, "7\nEmer\n70\nQ\nD\n", Output::ReaderGone,
             "vostrel: dalja nuk u shkrua e plote: Broken pipe\n"},
        // The prompts get through; a buffer of the trace is the first write that fails.
        Lost{"reader leaves mid trace", exercise("maint3"), "1000000\n1\n0\n1\n",
             Output::ReaderLeaves, "vostrel: dalja nuk u shkrua e plote: Broken pipe\n"}),
    [](const testing::TestParamInfo<Lost>& row) {
      std::string name = row.param.what;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

TEST(ExerciseRunner, UnknownRoutine) {
  const std::vector<std::vector<std::string>> calls = {{EXERCISE_PATH},
                                                       {EXERCISE_PATH, "main"},
                                                       {EXERCISE_PATH, "maint2"},
                                                       {EXERCISE_PATH, "main1", "main1"}};
  for (const auto& argv : calls) {
    SCOPED_TRACE(argv.size() > 1 ? argv[1] : "no argument");
    const Result r = run({argv, "vostrel-exercise", {}}, "");
    expectRun(r, "", "vostrel-exercise: usage: vostrel-exercise main1|mainT2|mainT3|maint3\n", 2);
  }
}

} // namespace
