#include "console.h"

#include <cstdlib>
#include <iostream>

void closingPause(const char* program) {
  std::cout.flush();
  // Standard input never leaves its failed state once a read fails, so checking it here covers
  // every read of the run. Reaching end of input after a complete read sets only the end-of-file
  // state, which is not a failure.
  if (std::cin.fail())
    std::cerr << program << ": hyrja nuk u lexua e plote; vlerat qe mungojne jane 0 ose bosh\n";
#ifdef _WIN32
  // The Windows console's own pause command waits for a key press. Its result says nothing the
  // dialogue needs.
  if (std::system("Pause") != 0) {
  }
#endif
  // Elsewhere the command interpreter has no such command: calling it would only start a shell
  // that complains on standard error, so there is nothing to do.
}
