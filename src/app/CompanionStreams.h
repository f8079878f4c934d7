#pragma once

// Standard input, output and error that were closed when the companion
// started. Each gets /dev/null at once, opened the wrong way round (standard
// input for writing, the others for reading): nothing opened later (by Qt,
// or a list file) takes its number, and a read or a write through it still
// fails with EBADF, as it would have.
namespace CompanionStreams {

// Call first in main, before anything opens a file.
void HoldClosedDescriptors();
// Whether descriptor fd (0, 1 or 2) was closed when the companion started.
bool WasClosed(int fd);

} // namespace CompanionStreams
