#pragma once

#include <functional>

// The random generator: Randomize seeds it, Rnd draws a number in [0, 1).
void Randomize(double seed);
double Rnd();
// Seconds since midnight, as the seed of Randomize.
double Timer();

namespace RandomTesting {
// Makes Rnd return what draw returns; an empty function restores the generator.
void SetDraw(std::function<double()> draw);
} // namespace RandomTesting
