// Random values from crypto.getRandomValues, scaled into [0, 1).
#include "crypto_random_source.h"

#include <emscripten/emscripten.h>

#include <cstdint>

// 24 random bits: as many as a float holds exactly below 1.
EM_JS(std::uint32_t, cryptoRandom24, (), {
    return crypto.getRandomValues(new Uint32Array(1))[0] >>> 8;
});

namespace web {

float CryptoRandomSource::next() {
    constexpr float kScale = 1.0F / static_cast<float>(1U << 24U);
    return static_cast<float>(cryptoRandom24()) * kScale;
}

}  // namespace web
