// The default pseudo-random source.
#include "random_source.h"

#include <chrono>

namespace game {

SeedMaterial clockAndDeviceSeed() {
    const auto ticks = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::random_device device;
    return {static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32U), device(),
            device()};
}

SystemRandomSource::SystemRandomSource(SeedFunction seed) : seed_(std::move(seed)) { reseed(); }

void SystemRandomSource::reseed() {
    const SeedMaterial material = seed_();
    std::seed_seq sequence(material.begin(), material.end());
    engine_.seed(sequence);
}

float SystemRandomSource::next() {
    // The top 24 bits fill a float's mantissa exactly. A generic conversion such
    // as std::generate_canonical<float> may round up to 1.0.
    constexpr float kUnit = 1.0F / 16777216.0F;  // 2^-24
    return static_cast<float>(engine_() >> 8U) * kUnit;
}

}  // namespace game
