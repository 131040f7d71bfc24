#include "crypt/panama.h"

#include <cstring>

namespace kryptane {
namespace {

inline std::uint32_t rotl(std::uint32_t x, unsigned n) {
    return n == 0 ? x : (x << n) | (x >> (32 - n));
}

inline std::uint32_t loadLittleEndian(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

inline void storeLittleEndian(std::uint32_t v, std::uint8_t* p) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

inline std::uint32_t* stage(PanamaState& s, int j) {
    return s.buffer[(s.tap + j) & 31];
}

// The buffer moves one stage on; the new stage 0 takes the old last stage
// with q folded in, and stage 25 is mixed with the old last stage.
void bufferStep(PanamaState& s, const std::uint32_t* q) {
    std::uint32_t* last = stage(s, 31);
    std::uint32_t* before25 = stage(s, 24);
    for (int i = 0; i < 8; ++i)
        before25[i] ^= last[(i + 2) & 7];
    for (int i = 0; i < 8; ++i)
        last[i] ^= q[i];
    s.tap = (s.tap + 31) & 31; // the old last stage is the new stage 0
}

// One state update with input p and the buffer stage t.
void stateStep(PanamaState& s, const std::uint32_t* p, const std::uint32_t* t) {
    std::uint32_t g[17];
    for (int i = 0; i < 17; ++i)
        g[i] = s.a[i] ^ (s.a[(i + 1) % 17] | ~s.a[(i + 2) % 17]);
    std::uint32_t b[17];
    for (int i = 0; i < 17; ++i)
        b[i] = rotl(g[(7 * i) % 17], unsigned((i * (i + 1) / 2) % 32));
    for (int i = 0; i < 17; ++i)
        s.a[i] = b[i] ^ b[(i + 1) % 17] ^ b[(i + 4) % 17];
    s.a[0] ^= 1;
    for (int i = 0; i < 8; ++i) {
        s.a[i + 1] ^= p[i];
        s.a[i + 9] ^= t[i];
    }
}

void push(PanamaState& s, const std::uint32_t* input) {
    std::uint32_t t[8];
    std::memcpy(t, stage(s, 16), sizeof t);
    bufferStep(s, input);
    stateStep(s, input, t);
}

// A step in pull mode: the state feeds the buffer and the buffer feeds the
// state. The words that are output are those of the state before the step.
void pull(PanamaState& s, std::uint32_t* out) {
    std::uint32_t q[8];
    std::uint32_t p[8];
    std::uint32_t t[8];
    for (int i = 0; i < 8; ++i) {
        q[i] = s.a[i + 1];
        if (out)
            out[i] = s.a[i + 9];
    }
    std::memcpy(p, stage(s, 4), sizeof p);
    std::memcpy(t, stage(s, 16), sizeof t);
    bufferStep(s, q);
    stateStep(s, p, t);
}

} // namespace

void PanamaSetKey(PanamaState& s, const std::uint8_t* key) {
    std::memset(&s, 0, sizeof s);
    std::uint32_t words[8];
    for (int i = 0; i < 8; ++i)
        words[i] = loadLittleEndian(key + 4 * i);
    push(s, words);
    for (int i = 0; i < 32; ++i)
        pull(s, nullptr);
    s.used = int(sizeof s.block);
}

void PanamaCrypt(PanamaState& s, std::uint8_t* data, std::size_t length) {
    for (std::size_t n = 0; n < length; ++n) {
        if (s.used == int(sizeof s.block)) {
            std::uint32_t z[8];
            pull(s, z);
            for (int i = 0; i < 8; ++i)
                storeLittleEndian(z[i], s.block + 4 * i);
            s.used = 0;
        }
        data[n] ^= s.block[s.used++];
    }
}

} // namespace kryptane
