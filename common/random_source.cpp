#include "random_source.h"

#include <chrono>
#include <cmath>

int RandomSource::wholeNumber(int a, int b) {
    return static_cast<int>(std::floor((b - a + 1) * uniform() + a));
}

double Mt19937Random::uniform() {
    // 53 random bits give every double of [0, 1) on the grid 2^-53, never 1.
    return std::generate_canonical<double, 53>(m_engine);
}

void Mt19937Random::reseedFromClock() {
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    m_engine.seed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}
