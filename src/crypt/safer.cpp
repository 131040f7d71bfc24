#include "crypt/safer.h"

namespace kryptane {
namespace {

// Powers of 45 modulo 257 (256 is stored as 0) and their inverse. Built at
// compile time so that the library keeps no state that changes.
struct PowerTables {
    std::uint8_t exp[256];
    std::uint8_t log[256];
};

constexpr PowerTables makePowerTables() {
    PowerTables t{};
    unsigned value = 1;
    for (unsigned i = 0; i < 256; ++i) {
        t.exp[i] = std::uint8_t(value & 0xFF);
        t.log[value & 0xFF] = std::uint8_t(i);
        value = (value * 45) % 257;
    }
    return t;
}

constexpr PowerTables kTables = makePowerTables();

inline std::uint8_t rotl8(std::uint8_t x, unsigned n) {
    return std::uint8_t((x << n) | (x >> (8 - n)));
}

inline std::uint8_t ex(std::uint8_t x) {
    return kTables.exp[x];
}

inline std::uint8_t lg(std::uint8_t x) {
    return kTables.log[x];
}

// Pseudo-Hadamard transform of two bytes and its inverse.
inline void pht(std::uint8_t& x, std::uint8_t& y) {
    y = std::uint8_t(y + x);
    x = std::uint8_t(x + y);
}

inline void ipht(std::uint8_t& x, std::uint8_t& y) {
    x = std::uint8_t(x - y);
    y = std::uint8_t(y - x);
}

} // namespace

void SaferSetKey(SaferKey& key, const std::uint8_t* first, const std::uint8_t* second) {
    constexpr int n = SaferKey::kBlockSize;
    // Two nine-byte registers: the key half and a parity byte. The first
    // register starts rotated by five bits so that, after the six-bit turn
    // of every round, its subkeys sit at odd multiples of three bits.
    std::uint8_t ka[n + 1];
    std::uint8_t kb[n + 1];
    ka[n] = 0;
    kb[n] = 0;
    for (int j = 0; j < n; ++j) {
        ka[j] = rotl8(first[j], 5);
        ka[n] ^= ka[j];
        kb[j] = second[j];
        kb[n] ^= kb[j];
        key.subkeys[0][j] = second[j];
    }
    for (int i = 1; i <= SaferKey::kRounds; ++i) {
        for (int j = 0; j <= n; ++j) {
            ka[j] = rotl8(ka[j], 6);
            kb[j] = rotl8(kb[j], 6);
        }
        // Each subkey starts one register byte further on and gets its own
        // bias, which keeps weak keys from repeating a subkey.
        for (int j = 0; j < n; ++j) {
            key.subkeys[2 * i - 1][j] =
                std::uint8_t(ka[(j + 2 * i - 1) % (n + 1)] + ex(ex(std::uint8_t(18 * i + j + 1))));
            key.subkeys[2 * i][j] =
                std::uint8_t(kb[(j + 2 * i) % (n + 1)] + ex(ex(std::uint8_t(18 * i + j + 10))));
        }
    }
}

void SaferEncryptBlock(const SaferKey& key, std::uint8_t* block) {
    std::uint8_t a = block[0], b = block[1], c = block[2], d = block[3];
    std::uint8_t e = block[4], f = block[5], g = block[6], h = block[7];
    for (int r = 0; r < SaferKey::kRounds; ++r) {
        const std::uint8_t* k1 = key.subkeys[2 * r];
        const std::uint8_t* k2 = key.subkeys[2 * r + 1];
        a ^= k1[0];
        b += k1[1];
        c += k1[2];
        d ^= k1[3];
        e ^= k1[4];
        f += k1[5];
        g += k1[6];
        h ^= k1[7];
        a = std::uint8_t(ex(a) + k2[0]);
        b = std::uint8_t(lg(b) ^ k2[1]);
        c = std::uint8_t(lg(c) ^ k2[2]);
        d = std::uint8_t(ex(d) + k2[3]);
        e = std::uint8_t(ex(e) + k2[4]);
        f = std::uint8_t(lg(f) ^ k2[5]);
        g = std::uint8_t(lg(g) ^ k2[6]);
        h = std::uint8_t(ex(h) + k2[7]);
        pht(a, b);
        pht(c, d);
        pht(e, f);
        pht(g, h);
        pht(a, c);
        pht(e, g);
        pht(b, d);
        pht(f, h);
        pht(a, e);
        pht(b, f);
        pht(c, g);
        pht(d, h);
        // The shuffle that brings the bytes into the order of the next round.
        std::uint8_t t = b;
        b = e;
        e = c;
        c = t;
        t = d;
        d = f;
        f = g;
        g = t;
    }
    const std::uint8_t* k = key.subkeys[2 * SaferKey::kRounds];
    block[0] = a ^ k[0];
    block[1] = std::uint8_t(b + k[1]);
    block[2] = std::uint8_t(c + k[2]);
    block[3] = d ^ k[3];
    block[4] = e ^ k[4];
    block[5] = std::uint8_t(f + k[5]);
    block[6] = std::uint8_t(g + k[6]);
    block[7] = h ^ k[7];
}

void SaferDecryptBlock(const SaferKey& key, std::uint8_t* block) {
    const std::uint8_t* k = key.subkeys[2 * SaferKey::kRounds];
    std::uint8_t a = block[0] ^ k[0];
    std::uint8_t b = std::uint8_t(block[1] - k[1]);
    std::uint8_t c = std::uint8_t(block[2] - k[2]);
    std::uint8_t d = block[3] ^ k[3];
    std::uint8_t e = block[4] ^ k[4];
    std::uint8_t f = std::uint8_t(block[5] - k[5]);
    std::uint8_t g = std::uint8_t(block[6] - k[6]);
    std::uint8_t h = block[7] ^ k[7];
    for (int r = SaferKey::kRounds - 1; r >= 0; --r) {
        const std::uint8_t* k1 = key.subkeys[2 * r];
        const std::uint8_t* k2 = key.subkeys[2 * r + 1];
        std::uint8_t t = e;
        e = b;
        b = c;
        c = t;
        t = f;
        f = d;
        d = g;
        g = t;
        ipht(a, e);
        ipht(b, f);
        ipht(c, g);
        ipht(d, h);
        ipht(a, c);
        ipht(e, g);
        ipht(b, d);
        ipht(f, h);
        ipht(a, b);
        ipht(c, d);
        ipht(e, f);
        ipht(g, h);
        a = lg(std::uint8_t(a - k2[0])) ^ k1[0];
        b = std::uint8_t(ex(b ^ k2[1]) - k1[1]);
        c = std::uint8_t(ex(c ^ k2[2]) - k1[2]);
        d = lg(std::uint8_t(d - k2[3])) ^ k1[3];
        e = lg(std::uint8_t(e - k2[4])) ^ k1[4];
        f = std::uint8_t(ex(f ^ k2[5]) - k1[5]);
        g = std::uint8_t(ex(g ^ k2[6]) - k1[6]);
        h = lg(std::uint8_t(h - k2[7])) ^ k1[7];
    }
    block[0] = a;
    block[1] = b;
    block[2] = c;
    block[3] = d;
    block[4] = e;
    block[5] = f;
    block[6] = g;
    block[7] = h;
}

} // namespace kryptane
