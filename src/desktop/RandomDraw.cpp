#include "desktop/RandomDraw.h"

#include "platform/TestHook.h"

#include <QTime>
#include <random>

namespace {
std::mt19937_64& generator()
{
    static std::mt19937_64 engine(std::random_device{}());
    return engine;
}
std::function<double()>& draw()
{
    return TestHook<struct DrawHook, double()>();
}
} // namespace

void RandomTesting::SetDraw(std::function<double()> d)
{
    draw() = std::move(d);
}

void Randomize(double seed)
{
    // The clock alone repeats within a second; mix in the device's entropy.
    generator().seed(std::uint64_t(seed * 1000.0) ^ std::random_device{}());
}

double Rnd()
{
    if (draw())
        return draw()();
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator());
}

double Timer()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}
