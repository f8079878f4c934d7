#include "compare/LineHash.h"

#include "platform/TestHook.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/random.h>
#include <unistd.h>

namespace LineHash {

namespace {

auto& seedHook()
{
    return TestHook<struct SeedHook, Seed()>();
}

// Fills n bytes at p from the kernel's random source; false when it has
// none to give (a kernel without getrandom, a pool not yet ready at boot).
bool systemRandom(void* p, size_t n)
{
    auto* out = static_cast<unsigned char*>(p);
    while (n > 0) {
        const ssize_t got = ::getrandom(out, n, GRND_NONBLOCK);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        out += got;
        n -= size_t(got);
    }
    if (n == 0)
        return true;
    const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    while (n > 0) {
        const ssize_t got = ::read(fd, out, n);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        out += got;
        n -= size_t(got);
    }
    ::close(fd);
    return n == 0;
}

} // namespace

Seed DrawSeed()
{
    if (const auto& hook = seedHook())
        return hook();
    Seed seed;
    if (!systemRandom(&seed, sizeof seed)) {
        // Far weaker, but still not known ahead: the clock, where the program
        // was loaded, and the process.
        std::uint64_t marks;
        const std::uint64_t parts[3] = {
            std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()),
            std::uint64_t(reinterpret_cast<std::uintptr_t>(&seed)), std::uint64_t(::getpid())};
        const char* bytes = reinterpret_cast<const char*>(parts);
        seed.k0 = hash<false>(bytes, sizeof parts, marks, 0);
        seed.k1 = hash<false>(bytes, sizeof parts, marks, seed.k0);
    }
    return seed;
}

void SetSeedTestHook(std::function<Seed()> hook)
{
    seedHook() = std::move(hook);
}

} // namespace LineHash
