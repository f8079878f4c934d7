#pragma once

#include <exception>
#include <thread>

// Runs first on this thread and second on another one at the same time, and
// returns when both are done. When either throws, the exception goes on to
// the caller; when both do, first's.
template <typename First, typename Second> void RunSideBySide(First&& first, Second&& second)
{
    std::exception_ptr secondFailure;
    std::thread other([&] {
        try {
            second();
        } catch (...) {
            secondFailure = std::current_exception();
        }
    });
    try {
        first();
    } catch (...) {
        other.join();
        throw;
    }
    other.join();
    if (secondFailure)
        std::rethrow_exception(secondFailure);
}
