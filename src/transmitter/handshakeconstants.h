#pragma once

#include <cstdint>

// The challenge handshake that a transmitter of our model answers. The station
// and the transmitter simulator both include this header, so the two sides
// can never disagree about the constants.
namespace handshake {

// The challenge value d is drawn from this range.
constexpr std::uint32_t kChallengeMin = 4096;
constexpr std::uint32_t kChallengeSpan = 57345; // d = r mod span + min, at most 61440

// The two constants folded into the challenge word.
constexpr std::uint32_t kWordConstantA = 0x3A5C;
constexpr std::uint32_t kWordConstantB = 0x71E3;

// The device check: the answer's two halves plus one of these values must give
// the target. The values are distinct, so exactly one of them matches a valid
// answer. The target stays below 4095, which keeps d + target + 1 inside 16
// bits for every challenge.
constexpr std::uint16_t kCheckTable[10] = {0x1F2E, 0x4C71, 0x0A93, 0x7E05, 0x25B8,
                                           0x6D4A, 0x13C7, 0x58E2, 0x3096, 0x47FB};
constexpr std::uint16_t kCheckTarget = 0x0B6D;

// The word sent as "AT+CONNECT%08x": (d + A) in the upper half with its bits
// inverted, plus d + B, all in 32-bit arithmetic.
constexpr std::uint32_t ChallengeWord(std::uint32_t d) {
    return (((d + kWordConstantA) << 16) ^ 0xFFFF0000u) + (d + kWordConstantB);
}

// What a reply R proves: the challenge value it was made for, or 0 when it
// passes none of the checks.
constexpr std::uint32_t AnswerValue(std::uint32_t reply) {
    const std::uint16_t low = std::uint16_t(reply & 0xFFFFu);
    const std::uint16_t high = std::uint16_t(reply >> 16);
    for (std::uint16_t t : kCheckTable) {
        if (std::uint16_t(low + high + t) == kCheckTarget)
            return std::uint16_t(low - (kCheckTarget + 1));
    }
    return 0;
}

// The transmitter's side: recovers d from a challenge word, or returns 0 when
// the word is not one that ChallengeWord can produce.
constexpr std::uint32_t ChallengeValue(std::uint32_t word) {
    const std::uint32_t d = std::uint16_t(word - kWordConstantB);
    if (d < kChallengeMin || d >= kChallengeMin + kChallengeSpan || ChallengeWord(d) != word)
        return 0;
    return d;
}

// The transmitter's side: a reply that proves d, using check value `index`.
constexpr std::uint32_t MakeAnswer(std::uint32_t d, unsigned index) {
    const std::uint16_t low = std::uint16_t(d + kCheckTarget + 1);
    const std::uint16_t high = std::uint16_t(kCheckTarget - low - kCheckTable[index % 10]);
    return (std::uint32_t(high) << 16) | low;
}

static_assert(AnswerValue(MakeAnswer(4096, 0)) == 4096);
static_assert(AnswerValue(MakeAnswer(61440, 9)) == 61440);
static_assert(ChallengeValue(ChallengeWord(12345)) == 12345);
static_assert(kChallengeMin + kChallengeSpan - 1 + kCheckTarget + 1 <= 0xFFFF);

} // namespace handshake
