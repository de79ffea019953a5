// vostrel-exercise NAME: runs one of vostrel's exercise routines on this process's standard
// streams, for the tests; vostrel itself offers no way to reach them.
#include <cstring>
#include <iostream>

#include "exercises.h"

int main(int argc, char** argv) {
  const struct {
    const char* name;
    int (*routine)();
  } routines[] = {{"main1", main1}, {"mainT2", mainT2}, {"mainT3", mainT3}, {"maint3", maint3}};
  if (argc == 2)
    for (const auto& r : routines)
      if (std::strcmp(argv[1], r.name) == 0)
        return r.routine();
  std::cerr << "vostrel-exercise: usage: vostrel-exercise main1|mainT2|mainT3|maint3\n";
  return 2;
}
