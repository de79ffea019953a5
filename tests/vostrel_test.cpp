// The patient dialogue that vostrel's entry runs.
#include <gtest/gtest.h>

#include "dialogue.h"

namespace {

const Program kVostrel{{VOSTREL_PATH}, "vostrel"};

const std::string kPrompts = "Numri i pacientit:"
                             "Emri dhe mbiemri i pacientit:"
                             "Mosha e pacientit:"
                             "Qyteti i pacientit:"
                             "Diagnoza e pacientit:";

// All five prompts, then the name line and the verdict: the number, city and diagnosis never
// show.
std::string patient(const std::string& name, bool pension) {
  return kPrompts + "Emri i pacientit:" + name + "\n" +
         (pension ? "Pacienti eshte ne pension.\n" : "Pacienti nuk eshte ne pension.\n");
}

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
           patient(name30.substr(0, 29), false), true},
          {"empty name", "1\n\n70\nB\nC\n", patient("", true)},
          {"end of input at the first prompt", "", patient("", false), true},
          // Only the blank after the number is discarded; the name read takes the rest at once.
          {"number line holding more", "7 Emer Mbiemer\n70\nQytet\nGrip\n",
           patient("Emer Mbiemer", true)},
          {"non-numeric age", "7\nEmer\nshtatedhjete\nQytet\nGrip\n", patient("Emer", false), true},
      });
}

TEST(Patient, EachPromptShowsBeforeItsRead) {
  const Result r = converse(kVostrel, {{"Numri i pacientit:", "7\n"},
                                       {"Emri dhe mbiemri i pacientit:", "Emer Mbiemer\n"},
                                       {"Mosha e pacientit:", "70\n"},
                                       {"Qyteti i pacientit:", "Qytet\n"},
                                       {"Diagnoza e pacientit:", "Grip\n"}});
  EXPECT_EQ(r.out, patient("Emer Mbiemer", true));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

} // namespace
