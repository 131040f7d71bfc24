#pragma once

#include <cstdint>

namespace kryptane {

// The strengthened-schedule variant of the byte-oriented 64-bit block cipher,
// run with a fixed number of rounds. A 64-bit key uses the same eight bytes
// for both key registers; a 128-bit key gives each register its own half.
struct SaferKey {
    static constexpr int kRounds = 8;
    static constexpr int kBlockSize = 8;
    // One subkey before each round, one after it, and the output subkey.
    std::uint8_t subkeys[2 * kRounds + 1][kBlockSize];
};

void SaferSetKey(SaferKey& key, const std::uint8_t* first, const std::uint8_t* second);
void SaferEncryptBlock(const SaferKey& key, std::uint8_t* block);
void SaferDecryptBlock(const SaferKey& key, std::uint8_t* block);

} // namespace kryptane
