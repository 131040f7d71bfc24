#pragma once

#include <cstddef>
#include <cstdint>

namespace kryptane {

// The stream cipher built from a 544-bit state and a 32-stage buffer of
// 256-bit words. Keying loads the 32 key bytes as one input block and runs
// 32 blank steps; every further step gives 32 keystream bytes.
struct PanamaState {
    static constexpr int kKeySize = 32;
    std::uint32_t a[17];
    std::uint32_t buffer[32][8];
    int tap;                // physical index of buffer stage 0
    std::uint8_t block[32]; // the keystream bytes of the current step
    int used;               // how many of them are spent
};

void PanamaSetKey(PanamaState& state, const std::uint8_t* key);
// XORs the keystream into the data; encryption and decryption are the same.
void PanamaCrypt(PanamaState& state, std::uint8_t* data, std::size_t length);

} // namespace kryptane
