#pragma once

#include <QString>

struct CompanionOptions;

// Why the two files cannot be compared, in the window's words and order, or
// an empty text. A name is taken literally, and anything that can be read
// counts as there: "-", a pipe, a FIFO, a device.
QString InputProblem(const CompanionOptions& options);

// Why the lists cannot go where they are asked to go (two lists into one
// file, a list over an input, one stream read as both inputs), or an empty
// text.
QString OutputConflict(const CompanionOptions& options);
