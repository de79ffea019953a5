// What stands in for the platform at the end of every dialogue.
#pragma once

// Ends a dialogue: flushes standard output, writes one line on standard error if any read of
// the run failed, then runs the closing pause.
void closingPause(const char* program);
