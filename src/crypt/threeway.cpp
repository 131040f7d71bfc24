#include "crypt/threeway.h"

namespace kryptane {
namespace {

constexpr int kRounds = 11;
// Start values of the round-constant registers for each direction.
constexpr std::uint32_t kEncryptStart = 0x0b0b;
constexpr std::uint32_t kDecryptStart = 0xb1b1;

using Words = std::uint32_t[3];

inline std::uint32_t loadBigEndian(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

inline void storeBigEndian(std::uint32_t v, std::uint8_t* p) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

inline std::uint32_t rotl(std::uint32_t x, unsigned n) {
    return (x << n) | (x >> (32 - n));
}

// Reverses the order of all 96 bits.
void mu(Words a) {
    std::uint32_t b[3] = {0, 0, 0};
    for (int i = 0; i < 32; ++i) {
        b[0] = (b[0] << 1) | (a[2] & 1);
        b[1] = (b[1] << 1) | (a[1] & 1);
        b[2] = (b[2] << 1) | (a[0] & 1);
        a[0] >>= 1;
        a[1] >>= 1;
        a[2] >>= 1;
    }
    a[0] = b[0];
    a[1] = b[1];
    a[2] = b[2];
}

// The nonlinear step: each bit is combined with the bits at the same
// position of the two other words.
void gamma(Words a) {
    const std::uint32_t b0 = a[0] ^ (a[1] | ~a[2]);
    const std::uint32_t b1 = a[1] ^ (a[2] | ~a[0]);
    const std::uint32_t b2 = a[2] ^ (a[0] | ~a[1]);
    a[0] = b0;
    a[1] = b1;
    a[2] = b2;
}

// The linear diffusion step over the twelve bytes of the state.
void theta(Words a) {
    std::uint32_t b[3];
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t x = a[i];
        const std::uint32_t y = a[(i + 1) % 3];
        const std::uint32_t z = a[(i + 2) % 3];
        b[i] = x ^ (x >> 16) ^ (y << 16) ^ (y >> 16) ^ (z << 16) ^ (y >> 24) ^ (z << 8) ^ (z >> 8) ^
               (x << 24) ^ (z >> 16) ^ (x << 16) ^ (z >> 24) ^ (x << 8);
    }
    a[0] = b[0];
    a[1] = b[1];
    a[2] = b[2];
}

void rho(Words a) {
    theta(a);
    a[0] = rotl(a[0], 22); // ten to the right
    a[2] = rotl(a[2], 1);
    gamma(a);
    a[0] = rotl(a[0], 1);
    a[2] = rotl(a[2], 22);
}

// Both directions are the same loop over a key and a constant sequence; the
// sequence is a 16-bit register with feedback 0x11011.
void run(Words a, const std::uint32_t* k, std::uint32_t start) {
    std::uint32_t rcon = start;
    auto addRoundKey = [&]() {
        a[0] ^= k[0] ^ (rcon << 16);
        a[1] ^= k[1];
        a[2] ^= k[2] ^ rcon;
        rcon <<= 1;
        if (rcon & 0x10000)
            rcon ^= 0x11011;
    };
    for (int i = 0; i < kRounds; ++i) {
        addRoundKey();
        rho(a);
    }
    addRoundKey();
    theta(a);
}

void load(Words a, const std::uint8_t* block) {
    for (int i = 0; i < 3; ++i)
        a[i] = loadBigEndian(block + 4 * i);
}

void store(const Words a, std::uint8_t* block) {
    for (int i = 0; i < 3; ++i)
        storeBigEndian(a[i], block + 4 * i);
}

} // namespace

void ThreeWaySetKey(ThreeWayKey& key, const std::uint8_t* bytes) {
    load(key.encrypt, bytes);
    for (int i = 0; i < 3; ++i)
        key.decrypt[i] = key.encrypt[i];
    theta(key.decrypt);
    mu(key.decrypt);
}

void ThreeWayEncryptBlock(const ThreeWayKey& key, std::uint8_t* block) {
    std::uint32_t a[3];
    load(a, block);
    run(a, key.encrypt, kEncryptStart);
    store(a, block);
}

void ThreeWayDecryptBlock(const ThreeWayKey& key, std::uint8_t* block) {
    std::uint32_t a[3];
    load(a, block);
    mu(a);
    run(a, key.decrypt, kDecryptStart);
    mu(a);
    store(a, block);
}

} // namespace kryptane
