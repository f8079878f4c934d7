#include "app/CompanionStreams.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace CompanionStreams {

namespace {

bool closed[3] = {};

} // namespace

void HoldClosedDescriptors()
{
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) >= 0 || errno != EBADF)
            continue;
        closed[fd] = true;
        // The lowest free number is fd itself: the ones below it are open by now.
        const int held = ::open("/dev/null", (fd == 0 ? O_WRONLY : O_RDONLY) | O_NOCTTY);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
}

bool WasClosed(int fd)
{
    return fd >= 0 && fd < 3 && closed[fd];
}

} // namespace CompanionStreams
