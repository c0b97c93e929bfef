#pragma once

#include <cstdint>
#include <random>

// The one source of chance of a program. Models draw through it so that a test can
// script the values a run sees.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // A value in [0, 1).
    virtual double uniform() = 0;
    // Starts a new, unpredictable sequence (the clock picks it).
    virtual void reseedFromClock() = 0;

    // A whole number from a to b: floor((b - a + 1) * u + a).
    int wholeNumber(int a, int b);
};

class Mt19937Random : public RandomSource {
public:
    explicit Mt19937Random(std::uint32_t seed = 5489u) : m_engine(seed) {}
    double uniform() override;
    void reseedFromClock() override;

private:
    std::mt19937 m_engine;
};
