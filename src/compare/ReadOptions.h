#pragma once

// How a file is read.
struct ReadOptions
{
    // Pipes, FIFOs and devices are read too, once, to their end (the
    // command-line companion's inputs). Off, only regular files are read, so
    // a FIFO put in a file's place never stops the program.
    bool streamInputs = false;
};
