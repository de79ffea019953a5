// Every text the dialogues write, as the tests expect it. This is each text's one home: the
// tables, the prompt-by-prompt conversations and the fuzz harness take them from here, and the web
// page's test through the cases written out.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

// Each prompt, and each dialogue's prompts in the order it asks them.
inline const std::string kAskNumber = "Numri i pacientit:";
inline const std::string kAskName = "Emri dhe mbiemri i pacientit:";
inline const std::string kAskAge = "Mosha e pacientit:";
inline const std::string kAskCity = "Qyteti i pacientit:";
inline const std::string kAskDiagnosis = "Diagnoza e pacientit:";
inline const std::vector<std::string> kPatientPromptList = {kAskNumber, kAskName, kAskAge, kAskCity,
                                                            kAskDiagnosis};
inline const std::string kAskN = "Cakto vleren per n:";
inline const std::string kAskX = "Cakto vleren per x:";
inline const std::vector<std::string> kProductPromptList = {kAskN, kAskX};
inline const std::string kAskSeriesN = "\nVlerat inicializuese\n\nVariabla n: ";
inline const std::string kAskSeriesX = "\nVariabla x: ";
inline const std::string kAskSeriesA = "\nVariabla a: ";
inline const std::string kAskSeriesK = "\nVariabla k: ";
inline const std::vector<std::string> kSeriesPromptList = {kAskSeriesN, kAskSeriesX, kAskSeriesA,
                                                           kAskSeriesK};
inline const std::string kCirclePrompt = "\nRrezja e rrethit x: ";
inline const std::string kAskSideA = "\nVlerat e lexuara\n\nBrinja a: ";
inline const std::string kAskSideB = "\nBrinja b: ";
inline const std::string kRectanglePrompts = kAskSideA + kAskSideB;
// Whether a prompt asks for an int; the others ask for a real number.
inline bool wholeNumber(const std::string& prompt) {
  for (const std::string* whole : {&kAskNumber, &kAskAge, &kAskN, &kAskSeriesN, &kAskSeriesK})
    if (prompt == *whole)
      return true;
  return false;
}

// What the dialogues write after their prompts.
inline const std::string kNameLabel = "Emri i pacientit:";
inline const std::string kPension = "Pacienti eshte ne pension.\n";
inline const std::string kNoPension = "Pacienti nuk eshte ne pension.\n";
inline const std::string kAreaLabel = "\nVlerat e llogaritura\n\nSip\xEB"
                                      "rfaqja s=";
inline const std::string kPerimeterLabel = "\n\nPerimetri p=";
inline const std::string kTraceLine = "Test.\n";
inline const std::string kSeriesResultLabel = "\nVlera e y=";
inline const std::string kValuePairOut = "\nObjekti Dita\n------------\n"
                                         "\nVlera e m= 2\n\nVlera e a=9\n"
                                         "\nVlera e y=33"
                                         "\n\n\nObjekti Nata\n------------\n"
                                         "\nVlera e m= 3\n\nVlera e a=7\n"
                                         "\nVlera e y=141\n\n";

// What a dialogue writes on standard error, each line after its name. An answer is shown quoted,
// as `shown` gives it here (its first 20 bytes, bytes outside printable ASCII as \xHH), with "..."
// after when `cut`.
inline std::string quote(const std::string& shown, bool cut = false) {
  return '"' + shown + '"' + (cut ? "..." : "");
}
// A prompt as the lines name it: its last line, without trailing blanks, quoted.
inline std::string named(const std::string& prompt) {
  const std::string line = prompt.substr(prompt.rfind('\n') + 1);
  return quote(line.substr(0, line.find_last_not_of(' ') + 1));
}
inline const std::string kComma = "numrat shkruhen me pike dhjetore, jo me presje";

// The first read that failed, by its prompt, why, and what to do.
inline const std::string kFailedReadStart = "hyrja nuk u lexua e plote: ";
inline const std::string kFailedReadEnd = "; vlerat qe mungojne jane 0 ose bosh";
inline std::string answerOf(const std::string& prompt) {
  return "pergjigjja e " + named(prompt) + ' ';
}
inline std::string endedAt(const std::string& prompt) {
  return "mbaroi para pergjigjes se " + named(prompt);
}
inline std::string notANumber(const std::string& prompt, const std::string& typed,
                              bool cut = false) {
  return kFailedReadStart + answerOf(prompt) + "nuk eshte numer: " + quote(typed, cut) + "; " +
         (typed.rfind(',', 0) == 0 ? kComma
          : wholeNumber(prompt)    ? "numri shkruhet me shifra"
                                   : "numri shkruhet me shifra dhe pike dhjetore") +
         kFailedReadEnd;
}
inline std::string outOfRange(const std::string& prompt, const std::string& typed,
                              bool cut = false) {
  return kFailedReadStart + answerOf(prompt) +
         (wholeNumber(prompt)
              ? "eshte jashte kufijve te numrit te plote, -2147483648 deri 2147483647: " +
                    quote(typed, cut) + "; shkruani nje numer brenda tyre"
              : "eshte numer shume i madh: " + quote(typed, cut) +
                    "; shkruani nje numer me te vogel") +
         kFailedReadEnd;
}
inline std::string tooLong(const std::string& prompt, int limit) {
  const std::string bytes = std::to_string(limit) + " bajt";
  return kFailedReadStart + answerOf(prompt) + "eshte me e gjate se " + bytes +
         "; shkruani te shumten " + bytes +
         ", ku cdo shkronje me shenje (si e me dy pika, c me bisht) zene dy" + kFailedReadEnd;
}
inline std::string inputEnded(const std::string& prompt) {
  return kFailedReadStart + endedAt(prompt) + "; kjo pergjigje mungon" + kFailedReadEnd;
}

// The first answer taken from the rest of an earlier answer's line: by both prompts, what was
// taken, and a word on what went wrong where it shows.
enum class Hint {
  None,
  Enter, // nothing but the line end was left: after a number, Enter at once
  Comma, // a decimal comma
  Whole, // the earlier answer is an int, and stopped at a point or an exponent
};
inline std::string takenStart(const std::string& prompt, const std::string& earlier) {
  return "pergjigjja e " + named(prompt) + " u mor nga rreshti i " + named(earlier) + ": ";
}
inline std::string taken(const std::string& prompt, const std::string& earlier,
                         const std::string& shown, Hint hint = Hint::None, bool cut = false) {
  const char* const hints[] = {"", "; pas numrit shtypni Enter menjehere", "; ", "; "};
  return takenStart(prompt, earlier) + quote(shown, cut) + hints[static_cast<int>(hint)] +
         (hint == Hint::Comma   ? kComma
          : hint == Hint::Whole ? named(earlier) + " pret numer te plote"
                                : "");
}

// What the last answer's line held past the answer, when no read failed: that rest, and for a
// comma after a number that numbers take a decimal point.
inline const std::string kUnreadStart = "mbeti pa u lexuar: ";
inline std::string unread(const std::string& shown, bool comma = false, bool cut = false) {
  return kUnreadStart + quote(shown, cut) + (comma ? "; " + kComma : "");
}

inline std::string joined(const std::vector<std::string>& texts) {
  std::string all;
  for (const std::string& text : texts)
    all += text;
  return all;
}
