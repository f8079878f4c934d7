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

// Fills what is left of n bytes at out through get (a read that may return
// fewer bytes, or fail with EINTR to be asked again); false when it stops
// short.
template <typename Get> bool fill(unsigned char*& out, size_t& n, Get get)
{
    while (n > 0) {
        const ssize_t got = get(out, n);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        out += got;
        n -= size_t(got);
    }
    return n == 0;
}

// Fills n bytes at p from the kernel's random source; false when it has
// none to give (a kernel without getrandom, a pool not yet ready at boot).
bool systemRandom(void* p, size_t n)
{
    auto* out = static_cast<unsigned char*>(p);
    if (fill(out, n, [](void* to, size_t size) { return ::getrandom(to, size, GRND_NONBLOCK); }))
        return true;
    const int fd = ::open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool filled = fill(out, n, [fd](void* to, size_t size) { return ::read(fd, to, size); });
    ::close(fd);
    return filled;
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
