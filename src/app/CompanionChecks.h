#pragma once

#include <QString>

struct CompanionOptions;

// Why the run cannot start: an input or an output is standard input, output
// or error, which was closed when the companion started ("standard input: Bad
// file descriptor"), or an empty text.
QString ClosedStreamProblem(const CompanionOptions& options);

// Why the two files cannot be compared, or an empty text: a name left empty,
// in the window's words, else the name and the system's reason ("/tmp: Is a
// directory"). A name is taken literally, and anything that can be read
// counts as there: "-", a pipe, a FIFO, a device.
QString InputProblem(const CompanionOptions& options);

// Why the lists cannot go where they are asked to go (two lists into one
// file, a list over an input, one stream read as both inputs), or an empty
// text.
QString OutputConflict(const CompanionOptions& options);
