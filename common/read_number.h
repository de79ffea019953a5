// How a number is read: the programs' own scan of its characters and the conversion of what the
// scan keeps, alike on every standard library and in memory that does not grow with its length.
#pragma once

#include <cstddef>
#include <ios>
#include <streambuf>

// A stream buffer that lets the number scan see the characters it holds ahead, so that a long run
// of digits is taken in one tight loop rather than one stream call each. Standard input is one
// (StandardInput, in console.h); from any other stream buffer a number is read a character at a
// time.
class ReadAhead : public std::streambuf {
public:
  const char* aheadBegin() const { return gptr(); }
  const char* aheadEnd() const { return egptr(); }
  // Takes the first `count` characters held ahead; there are at least that many.
  void take(std::ptrdiff_t count) { gbump(static_cast<int>(count)); }
};

// Reads a number from standard input as formatted extraction does: the prompt is flushed first,
// leading white space is skipped, then the characters of a decimal number are taken, up to the
// first that cannot continue it, which stays in the input.
//
// A read that fails leaves `field` as it was, and standard input in its failed state, so that
// every later read fails at once. A number out of its type's range is a failed read too: a number
// that was never read must not decide a verdict or a product.
void readNumber(int& field);
void readNumber(float& field);
void readNumber(double& field);

// The scan and conversion behind readNumber, from the start of `in` with no white space skipped.
// Gives `value` only when the read succeeds, and returns the state the read leaves: failbit for a
// failed read, eofbit when the input ran out during the scan.
std::ios_base::iostate scanNumber(std::streambuf& in, int& value);
std::ios_base::iostate scanNumber(std::streambuf& in, float& value);
std::ios_base::iostate scanNumber(std::streambuf& in, double& value);
