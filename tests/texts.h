// Every text the dialogues write, as the tests expect it. This is each text's one home: the
// tables, the prompt-by-prompt conversations and the fuzz harness take them from here, and the web
// page's test through the cases written out.
#pragma once

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

// What a dialogue writes on standard error after its name when a read of its run failed: the
// first read that failed, by its prompt as the terminal shows it (the last line, without its
// trailing blanks), and why.
inline std::string failedRead(const std::string& prompt, const std::string& why) {
  const std::string line = prompt.substr(prompt.rfind('\n') + 1);
  const std::string shown = "\"" + line.substr(0, line.find_last_not_of(' ') + 1) + '"';
  return "hyrja nuk u lexua e plote: " +
         (why.empty() ? "mbaroi para pergjigjes se " + shown
                      : "pergjigjja e " + shown + ' ' + why) +
         "; vlerat qe mungojne jane 0 ose bosh";
}
// The limits of the patient's text fields, in bytes: name, city, diagnosis.
inline const std::vector<int> kFieldLimits = {29, 14, 49};
inline std::string notANumber(const std::string& prompt) {
  return failedRead(prompt, "nuk eshte numer");
}
inline std::string outOfRange(const std::string& prompt) {
  return failedRead(prompt, "eshte numer jashte kufijve te tipit te tij");
}
inline std::string tooLong(const std::string& prompt, int limit) {
  return failedRead(prompt, "eshte me e gjate se " + std::to_string(limit) + " bajt");
}
inline std::string inputEnded(const std::string& prompt) {
  return failedRead(prompt, "");
}

// What it writes there when no read failed and the last answer's line held more than the answer:
// that rest, as shown, and for a comma after a number that numbers take a decimal point.
inline const std::string kUnreadStart = "mbeti pa u lexuar: \"";
inline std::string unread(const std::string& shown, bool comma = false) {
  return kUnreadStart + shown + '"' +
         (comma ? "; numrat shkruhen me pike dhjetore, jo me presje" : "");
}

inline std::string joined(const std::vector<std::string>& texts) {
  std::string all;
  for (const std::string& text : texts)
    all += text;
  return all;
}
