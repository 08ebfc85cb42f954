// The secret's random source in the browser: the page's crypto.getRandomValues.
#pragma once

#include "random_source.h"

namespace web {

// Every value is drawn afresh from the browser's cryptographic generator, so
// no value depends on an earlier one and there is no sequence to reseed.
class CryptoRandomSource : public game::RandomSource {
public:
    void reseed() override {}
    // A multiple of 2^-24, hence exactly representable and at most 1 - 2^-24.
    float next() override;
};

}  // namespace web
