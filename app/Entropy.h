#pragma once

#include "app/PasswordGenerator.h"

// The Shannon entropy of one password, in bits, or why the request cannot be met.
struct TEntropyResult {
    TGenerationResult Check; // the refusal Generate would give; Ok when there is none
    double Bits = 0;
};

// The entropy of one password that a request makes, counted from the distribution it is drawn
// from rather than estimated:
// - When every password is equally likely (the pool has no repeated character), log2 of their
//   number, which under EachSet comes by inclusion and exclusion over the chosen sets.
// - When custom characters repeat, the pool is weighted, and the entropy is that of the weighted
//   characters, under EachSet conditioned on holding every set.
// - Under VariableLength, the entropy of the length (equally likely over the allowed lengths) plus
//   the mean entropy of the characters over those lengths; the length can be read off a
//   password, so the two add up.
TEntropyResult PasswordEntropy(const TGenerationRequest& request);
