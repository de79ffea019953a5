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
// as `shown` gives it here (its first 20 bytes, in its own letters where it is UTF-8 that prints,
// other bytes as \xHH), with "..." after when `cut`.
inline std::string quote(const std::string& shown, bool cut = false) {
  return '"' + shown + '"' + (cut ? "..." : "");
}
// A prompt as the lines name it: its last line, without trailing blanks, quoted.
inline std::string named(const std::string& prompt) {
  const std::string line = prompt.substr(prompt.rfind('\n') + 1);
  return quote(line.substr(0, line.find_last_not_of(' ') + 1));
}
inline const std::string kComma = "numrat shkruhen me pike dhjetore, jo me presje";
inline const std::string kCr = "rreshtat mbarojne me CR si ne Windows; hiqni CR-te: tr -d '\\r'";
inline const std::string kOwnLine = "shkruani vetem numrin ne rreshtin e tij";
inline const std::string kMissing = "; shtoni pergjigjet qe mungojne";
// A line's advice, unless it was given before or would be a guess.
inline std::string advice(bool advise, const std::string& text) {
  return advise ? "; " + text : "";
}

// The first read that failed: by its prompt, why, what was typed, and what to do.
inline std::string answerOf(const std::string& prompt) {
  return "pergjigjja e " + named(prompt) + ' ';
}
inline std::string notANumber(const std::string& prompt, const std::string& typed, bool cut = false,
                              bool advise = true) {
  return answerOf(prompt) + "nuk eshte numer: " + quote(typed, cut) +
         advice(advise, typed.rfind(',', 0) == 0 ? kComma
                        : wholeNumber(prompt)    ? "shkruani numrin me shifra"
                                                 : "shkruani numrin me shifra dhe pike dhjetore");
}
inline std::string outOfRange(const std::string& prompt, const std::string& typed,
                              bool cut = false) {
  if (wholeNumber(prompt))
    return answerOf(prompt) +
           "eshte jashte kufijve -2147483648 deri 2147483647: " + quote(typed, cut) +
           "; shkruani nje numer brenda tyre";
  if (typed.rfind('-', 0) == 0)
    return answerOf(prompt) + "eshte numer negativ shume i madh: " + quote(typed, cut) +
           "; shkruani nje numer me afer zeros";
  return answerOf(prompt) + "eshte numer shume i madh: " + quote(typed, cut) +
         "; shkruani nje numer me te vogel";
}
// A text longer than its field, shown from its start, and what to do: shorten it (where a letter
// with a mark takes two bytes, when it has one), or take out the CR that did not fit.
enum class Long { Shorten, Marked, Cr, Unadvised };
inline std::string tooLong(const std::string& prompt, int limit, const std::string& shown,
                           Long what = Long::Shorten) {
  const char* const advised[] = {"shkurtojeni", "shkurtojeni: shkronjat me shenje zene nga dy bajt",
                                 kCr.c_str(), ""};
  return answerOf(prompt) + "eshte me e gjate se " + std::to_string(limit) +
         " bajt: " + quote(shown, true) +
         advice(what != Long::Unadvised, advised[static_cast<int>(what)]);
}
inline const std::string kEndedBefore = "hyrja mbaroi para pergjigjes se ";
inline std::string inputEnded(const std::string& prompt) {
  return kEndedBefore + named(prompt) + kMissing;
}
// The input ended within the answer to `prompt`, and the read after it failed at once.
inline const std::string kEndedAfter = "hyrja mbaroi pas pergjigjes se ";
inline std::string endedAfter(const std::string& prompt) {
  return kEndedAfter + named(prompt) + kMissing;
}

// The first answer taken from the rest of an earlier answer's line: by both prompts, what was
// taken, and what to do.
enum class Hint {
  OwnLine, // the number alone on its line
  Enter,   // nothing but blanks were left: after a number, Enter at once
  Cr,      // nothing but the CR of a Windows line end was left
  Comma,   // a decimal comma
  Whole,   // the earlier answer is an int, and stopped at a point or an exponent
};
inline std::string takenStart(const std::string& prompt, const std::string& earlier) {
  return "pergjigjja e " + named(prompt) + " u mor nga rreshti i " + named(earlier) + ": ";
}
inline std::string taken(const std::string& prompt, const std::string& earlier,
                         const std::string& shown, Hint hint = Hint::OwnLine, bool cut = false) {
  const std::string hints[] = {kOwnLine, "pas numrit shtypni Enter menjehere", kCr, kComma,
                               named(earlier) + " pret numer te plote"};
  return takenStart(prompt, earlier) + quote(shown, cut) + "; " + hints[static_cast<int>(hint)];
}

// What the last answer's line held past the answer, when no read failed: that rest, and what to
// do, unless said before.
inline std::string unreadStart(const std::string& prompt) {
  return "pas pergjigjes se " + named(prompt) + " mbeti pa u lexuar: ";
}
inline std::string unread(const std::string& prompt, const std::string& shown, bool cut = false,
                          bool advise = true) {
  return unreadStart(prompt) + quote(shown, cut) +
         advice(advise, shown.rfind(',', 0) == 0 ? kComma : kOwnLine);
}

inline std::string joined(const std::vector<std::string>& texts) {
  std::string all;
  for (const std::string& text : texts)
    all += text;
  return all;
}
