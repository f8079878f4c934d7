#pragma once

// How a file is read.
struct ReadOptions
{
    // Pipes, FIFOs and devices are read too, once, to their end (the
    // command-line companion's inputs). Off, only regular files are read, so
    // a FIFO put in a file's place never stops the program.
    bool streamInputs = false;

    // What ends a line: a line feed, carriage returns removed (at carriage
    // returns in a text without a line feed); or NUL, every other byte an
    // ordinary one, as names listed by find -print0 are.
    enum class LineEnds
    {
        LineFeeds,
        Nul
    };
    LineEnds lineEnds = LineEnds::LineFeeds;
};
