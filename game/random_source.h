// The pseudo-random source the secret is drawn from.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <random>

namespace game {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Starts a fresh sequence that depends on the moment of the call.
    virtual void reseed() = 0;
    // The next value r of the sequence, 0 <= r < 1.
    virtual float next() = 0;
};

// Material for one reseed of SystemRandomSource.
using SeedMaterial = std::array<std::uint32_t, 4>;

// The high-resolution clock mixed with the operating system's entropy, so
// that two reseeds within the same clock tick still differ.
SeedMaterial clockAndDeviceSeed();

// A Mersenne Twister reseeded from fresh seed material at every reseed().
class SystemRandomSource : public RandomSource {
public:
    using SeedFunction = std::function<SeedMaterial()>;

    // `seed` supplies the material of every reseed; tests pass a fixed one.
    explicit SystemRandomSource(SeedFunction seed = clockAndDeviceSeed);

    void reseed() override;
    // A multiple of 2^-24, hence exactly representable and at most 1 - 2^-24.
    float next() override;

private:
    SeedFunction seed_;
    std::mt19937 engine_;
};

}  // namespace game
