#include "compare/DistinctEstimate.h"

#include <cmath>

namespace Engine {

// The HyperLogLog estimate over the larger register of each pair; while many
// registers are still empty, counting those is the better guess.
double sketchCount(const std::vector<quint8>& one, const std::vector<quint8>& other)
{
    const double m = double(1 << kSketchBits);
    double sum = 0;
    int zeros = 0;
    for (size_t j = 0; j < one.size(); ++j) {
        const quint8 rank = std::max(one[j], other[j]);
        sum += std::ldexp(1.0, -rank);
        zeros += rank == 0;
    }
    const double estimate = 0.7213 / (1 + 1.079 / m) * m * m / sum;
    if (estimate < 2.5 * m && zeros > 0)
        return m * std::log(m / zeros);
    return estimate;
}

} // namespace Engine
