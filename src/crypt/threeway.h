#pragma once

#include <cstdint>

namespace kryptane {

// The 96-bit block cipher built from three 32-bit words, with a 96-bit key
// and eleven rounds. Key and blocks are read as big-endian words.
struct ThreeWayKey {
    static constexpr int kBlockSize = 12;
    std::uint32_t encrypt[3];
    // Decryption runs the same round with the transformed key.
    std::uint32_t decrypt[3];
};

void ThreeWaySetKey(ThreeWayKey& key, const std::uint8_t* bytes);
void ThreeWayEncryptBlock(const ThreeWayKey& key, std::uint8_t* block);
void ThreeWayDecryptBlock(const ThreeWayKey& key, std::uint8_t* block);

} // namespace kryptane
