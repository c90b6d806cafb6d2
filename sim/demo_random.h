#pragma once

#include <QtGlobal>

namespace kvt::sim {

// splitmix64: the demo series must come out the same on every machine and
// compiler, which the standard library's distributions do not promise.
class DemoRandom {
public:
    explicit DemoRandom(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [low, high).
    double uniform(double low, double high) { return low + (high - low) * double(next() >> 11) * 0x1.0p-53; }
    // Uniform in [low, high].
    int between(int low, int high) { return low + int(next() % quint64(high - low + 1)); }

private:
    quint64 m_state;
};

} // namespace kvt::sim
