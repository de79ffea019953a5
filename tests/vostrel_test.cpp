// The patient dialogue that vostrel's entry runs.
#include <gtest/gtest.h>

#include "dialogue.h"

namespace {

TEST(Patient, Dialogue) {
  const std::string name29(29, 'e');
  const std::string name30(30, 'e');
  expectDialogues(
      kVostrel,
      {
          {"age 70", "7\nEmer Mbiemer\n70\nQytet\nGrip\n", patient("Emer Mbiemer", true)},
          {"age 40", "7\nEmer Mbiemer\n40\nQytet\nGrip\n", patient("Emer Mbiemer", false)},
          {"age 65", "1\nA\n65\nB\nC\n", patient("A", true)},
          {"age 64", "1\nA\n64\nB\nC\n", patient("A", false)},
          {"negative age", "1\nA\n-70\nB\nC\n", patient("A", false)},
          {"no line end after the last answer", "1\nA\n70\nB\nC", patient("A", true)},
          {"name of 29 characters", "1\n" + name29 + "\n70\nB\nC\n", patient(name29, true)},
          // The 30th character fails the read: the age stays 0.
          {"name of 30 characters", "1\n" + name30 + "\n70\nB\nC\n",
           patient(name30.substr(0, 29), false), tooLong(kAskName, 29, std::string(20, 'e'))},
          // Bytes, not letters: the e with diaeresis is two bytes in UTF-8, and a cut at the 29th
          // byte keeps only its first.
          {"name with a letter of two bytes", "1\nSk\xC3\xABnderbeu\n70\nB\nC\n",
           patient("Sk\xC3\xABnderbeu", true)},
          {"name cut inside a letter", "1\n" + std::string(28, 'a') + "\xC3\xAB\n70\nB\nC\n",
           patient(std::string(28, 'a') + "\xC3", false),
           tooLong(kAskName, 29, std::string(20, 'a'), Long::Marked)},
          {"city of 14 characters", "1\nA\n70\nQytetQytetQyte\nC\n", patient("A", true)},
          {"city of 15 characters", "1\nA\n70\nQytetQytetQytet\nC\n", patient("A", true),
           tooLong(kAskCity, 14, "QytetQytetQyte")},
          {"diagnosis of 49 characters", "1\nA\n70\nB\n" + std::string(49, 'd') + "\n",
           patient("A", true)},
          {"diagnosis of 50 characters", "1\nA\n70\nB\n" + std::string(50, 'd') + "\n",
           patient("A", true), tooLong(kAskDiagnosis, 49, std::string(20, 'd'))},
          {"non-numeric number", "shtate\nA\n70\nB\nC\n", patient("", false),
           notANumber(kAskNumber, "shtate")},
          {"empty name", "1\n\n70\nB\nC\n", patient("", true)},
          {"end of input at the first prompt", "", patient("", false), inputEnded(kAskNumber)},
          // The age's prompt meets the watch before its read fails at once, with no flush.
          {"end of input right after the name", "7\nEmer", patient("Emer", false),
           inputEnded(kAskAge)},
          // Only the blank after the number is discarded; the name read takes the rest at once.
          {"number line holding more", "7 Emer Mbiemer\n70\nQytet\nGrip\n",
           patient("Emer Mbiemer", true), taken(kAskName, kAskNumber, "Emer Mbiemer")},
          {"non-numeric age", "7\nEmer\nshtatedhjete\nQytet\nGrip\n", patient("Emer", false),
           notANumber(kAskAge, "shtatedhjete")},
          // Answers taken from the rest of an earlier answer's line, each named with what it took.
          {"a word after the age", "7\nEmer\n70 vjec\nGrip\n", patient("Emer", true),
           taken(kAskCity, kAskAge, "vjec")},
          // A blank after the number: the name takes the empty rest, and the name typed fails as
          // the age, said after its cause and with no advice, as it answers another prompt.
          {"a blank after the number", "7 \nEmer\n70\nQ\nD\n", patient("", false),
           taken(kAskName, kAskNumber, "", Hint::Enter) + "\n" +
               notANumber(kAskAge, "Emer", false, false)},
          {"age 6.5e1", "7\nEmer\n6.5e1\nD\n", patient("Emer", false),
           taken(kAskCity, kAskAge, "5e1", Hint::Whole)},
          {"a decimal comma in the age", "7\nEmer\n70,5\nD\n", patient("Emer", true),
           taken(kAskCity, kAskAge, "5", Hint::Comma)},
          {"the age's line longer than the city", "7\nEmer\n70 vjec e ca muaj me shume\nGrip\n",
           patient("Emer", true),
           taken(kAskCity, kAskAge, "vjec e ca muaj", Hint::OwnLine, true) + "\n" +
               tooLong(kAskCity, 14, "vjec e ca muaj", Long::Unadvised)},
          {"two blanks after the number", "7  \nEmer\n70\nQ\nD\n", patient(" ", false),
           taken(kAskName, kAskNumber, " ", Hint::Enter) + "\n" +
               notANumber(kAskAge, "Emer", false, false)},
          {"blanks after the number, then the end", "7   ", patient("  ", false),
           taken(kAskName, kAskNumber, "  ", Hint::Enter) + "\n" + inputEnded(kAskAge)},
          {"blanks after the age, then the end", "7\nEmer\n70   ", patient("Emer", true),
           taken(kAskCity, kAskAge, "  ", Hint::Enter) + "\n" + inputEnded(kAskDiagnosis)},
          {"the age in the learner's letters", "7\nEmer\nshtat\xC3\xAB\nQ\nD\n",
           patient("Emer", false), notANumber(kAskAge, "shtat\xC3\xAB")},
          // The diagnosis took its line whole: the next line is no answer's.
          {"a line after the last answer", "1\nA\n70\nB\nC\nD\n", patient("A", true)},
          // What a line shows of an answer is 20 bytes, and "..." after when there is more.
          {"20 bytes taken", "7 " + std::string(20, 't') + "\n70\nQ\nD\n",
           patient(std::string(20, 't'), true), taken(kAskName, kAskNumber, std::string(20, 't'))},
          {"21 bytes taken", "7 " + std::string(21, 't') + "\n70\nQ\nD\n",
           patient(std::string(21, 't'), true),
           taken(kAskName, kAskNumber, std::string(20, 't'), Hint::OwnLine, true)},
      });
}

// Hostile input: the dialogue runs to its end with status 0. A failed number read leaves 0, a
// failed line read leaves an empty text, and every read after a failure fails at once.
TEST(Patient, HostileInput) {
  const std::string digits(1 << 20, '9');
  const std::string text(1 << 20, 'x');
  using namespace std::string_literals;
  expectDialogues(
      kVostrel,
      {
          {"1 MB number", digits + "\nEmer\n70\nQ\nD\n", patient("", false),
           outOfRange(kAskNumber, std::string(20, '9'), true)},
          {"1 MB name", "7\n" + text + "\n70\nQ\nD\n", patient(text.substr(0, 29), false),
           tooLong(kAskName, 29, text.substr(0, 20))},
          {"1 MB age", "7\nEmer\n" + digits + "\nQ\nD\n", patient("Emer", false),
           outOfRange(kAskAge, std::string(20, '9'), true)},
          {"1 MB city", "7\nEmer\n70\n" + text + "\nD\n", patient("Emer", true),
           tooLong(kAskCity, 14, text.substr(0, 14))},
          {"1 MB diagnosis", "7\nEmer\n70\nQ\n" + text + "\n", patient("Emer", true),
           tooLong(kAskDiagnosis, 49, text.substr(0, 20))},
          // The name starts 13 bytes before the end of the number line's first 4 KiB block.
          {"a name across a block's end",
           std::string(4080, '0') + "7 Emer Mbiemer Mbiemeri\n70\nQ\nD\n",
           patient("Emer Mbiemer Mbiemeri", true),
           taken(kAskName, kAskNumber, "Emer Mbiemer Mbiemer", Hint::OwnLine, true)},
          {"NUL ends the printed name", "7\nEm\0er\n70\nQ\nD\n"s, patient("Em", true)},
          {"NUL as the number", "\0\nEmer\n70\nQ\nD\n"s, patient("", false),
           notANumber(kAskNumber, "\\x00")},
          {"bytes 0x80 to 0xFF", "7\n\x80\xAB\xEB\xFF\n70\n\xC0\n\xFE\n",
           patient("\x80\xAB\xEB\xFF", true)},
          {"bytes 0x80 to 0xFF as the age", "7\nEmer\n\xB7\xB0\nQ\nD\n", patient("Emer", false),
           notANumber(kAskAge, "\\xB7\\xB0")},
          // Only the CR after the number is dropped: the name read takes the empty rest of the
          // line, and the name then fails as the age.
          {"CRLF line ends", "7\r\nEmer\r\n70\r\nQ\r\nD\r\n", patient("", false),
           taken(kAskName, kAskNumber, "", Hint::Cr) + "\n" +
               notANumber(kAskAge, "Emer", false, false)},
          {"name of 29 characters and a CR", "1\n" + std::string(29, 'e') + "\r\n70\nB\nC\n",
           patient(std::string(29, 'e'), false),
           tooLong(kAskName, 29, std::string(20, 'e'), Long::Cr)},
          {"name of 29 characters, a CR and more", "1\n" + std::string(29, 'e') + "\rx\n70\nB\nC\n",
           patient(std::string(29, 'e'), false), tooLong(kAskName, 29, std::string(20, 'e'))},
          // Out of range is a failed read: the age stays 0 rather than becoming the largest int.
          {"age 2147483648", "7\nEmer\n2147483648\nQ\nD\n", patient("Emer", false),
           outOfRange(kAskAge, "2147483648")},
          {"age 99999999999999999999", "7\nEmer\n99999999999999999999\nQ\nD\n",
           patient("Emer", false), outOfRange(kAskAge, "99999999999999999999")},
          {"number -2147483649", "-2147483649\nEmer\n70\nQ\nD\n", patient("", false),
           outOfRange(kAskNumber, "-2147483649")},
          // The age is the 1 before the "e"; the "e" is dropped and "99999" becomes the city.
          {"age 1e99999", "7\nEmer\n1e99999\nQ\n", patient("Emer", false),
           taken(kAskCity, kAskAge, "99999", Hint::Whole)},
          {"age nan", "7\nEmer\nnan\nQ\nD\n", patient("Emer", false), notANumber(kAskAge, "nan")},
          {"age inf", "7\nEmer\ninf\nQ\nD\n", patient("Emer", false), notANumber(kAskAge, "inf")},
          {"age a lone minus", "7\nEmer\n-\nQ\nD\n", patient("Emer", false),
           notANumber(kAskAge, "-")},
          {"end of input at the name", "7\n", patient("", false), inputEnded(kAskName)},
          // The read that drops the character after a number fails at once: no later read is seen.
          {"end of input right after the number", "7", patient("", false), endedAfter(kAskNumber)},
          {"end of input at the age", "7\nEmer\n", patient("Emer", false), inputEnded(kAskAge)},
          {"end of input at the city", "7\nEmer\n70\n", patient("Emer", true),
           inputEnded(kAskCity)},
          {"end of input right after the age", "7\nEmer\n70", patient("Emer", true),
           endedAfter(kAskAge)},
          {"end of input at the diagnosis", "7\nEmer\n70\nQ\n", patient("Emer", true),
           inputEnded(kAskDiagnosis)},
      });
}

TEST(Patient, EachPromptShowsBeforeItsRead) {
  const Result r = converse(kVostrel, {"7\n", "Emer Mbiemer\n", "70\n", "Qytet\n", "Grip\n"});
  expectRun(r, patient("Emer Mbiemer", true), "");
}

} // namespace
