#pragma once

struct CompanionOptions;

// Compares the two files and writes each list asked for, to its file or to
// standard output, or prints the three lists' sizes when none is. Reports
// any failure; returns the exit status.
int CompareAndWrite(const CompanionOptions& options);
