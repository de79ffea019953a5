// Every text the dialogues write, as the tests expect it. This is each text's one home: the
// tables, the prompt-by-prompt conversations and the fuzz harness take them from here, and the web
// page's test through the cases written out.
#pragma once

#include <string>
#include <vector>

// Each dialogue's prompts, in the order it asks them.
inline const std::vector<std::string> kPatientPromptList = {
    "Numri i pacientit:", "Emri dhe mbiemri i pacientit:", "Mosha e pacientit:",
    "Qyteti i pacientit:", "Diagnoza e pacientit:"};
inline const std::vector<std::string> kProductPromptList = {"Cakto vleren per n:",
                                                            "Cakto vleren per x:"};
inline const std::vector<std::string> kSeriesPromptList = {
    "\nVlerat inicializuese\n\nVariabla n: ", "\nVariabla x: ", "\nVariabla a: ", "\nVariabla k: "};
inline const std::string kCirclePrompt = "\nRrezja e rrethit x: ";
inline const std::string kRectanglePrompts = "\nVlerat e lexuara\n\nBrinja a: \nBrinja b: ";

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

// The line a dialogue writes on standard error when a read of its run failed.
inline std::string failedReadLine(const std::string& program) {
  return program + ": hyrja nuk u lexua e plote; vlerat qe mungojne jane 0 ose bosh\n";
}

inline std::string joined(const std::vector<std::string>& texts) {
  std::string all;
  for (const std::string& text : texts)
    all += text;
  return all;
}
