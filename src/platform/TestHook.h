#pragma once

#include <functional>

// What a test puts in place of something that would leave the machine or wait
// on a person (a message box, a dialog, a program start, the random draw).
// Each Tag has its own hook; an empty one means the real thing.
template <typename Tag, typename Signature> std::function<Signature>& TestHook()
{
    static std::function<Signature> hook;
    return hook;
}
