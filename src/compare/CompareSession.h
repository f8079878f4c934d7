#pragma once

// While a CompareSession lives, the engine remembers the last pair of files
// it compared, so that the three calls of one comparison read, split and hash
// each file once. Every call still opens both files and uses what it
// remembers only when both are unchanged; a file that cannot be opened fails
// each call as it would without a session. Sessions nest.
class CompareSession
{
public:
    CompareSession();
    ~CompareSession();
    CompareSession(const CompareSession&) = delete;
    CompareSession& operator=(const CompareSession&) = delete;
};
