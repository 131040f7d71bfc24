#include "crypt/kryptane.h"

#include <cstdint>
#include <cstring>

#include "crypt/mcryptmodule.h"
#include "crypt/md5.h"
#include "crypt/panama.h"
#include "crypt/safer.h"
#include "crypt/threeway.h"

namespace {

using namespace kryptane;

// The key state of one call. It lives on the caller's stack, so the library
// neither allocates nor keeps anything between calls.
union KeyState {
    SaferKey safer;
    ThreeWayKey threeWay;
    PanamaState panama;
};

struct CallState {
    KeyState key;        // rows implemented here
    CipherModule module; // rows of the system cipher library
};

struct AlgorithmEntry {
    // Builds the key state from a key of exactly `keySize` bytes.
    bool (*setKey)(CallState& state, const AlgorithmEntry& row, const unsigned char* key);
    // In place. A block cipher gets a whole number of blocks and transforms
    // each one on its own; a stream cipher gets the whole buffer.
    void (*encrypt)(CallState& state, unsigned char* data, int length);
    void (*decrypt)(CallState& state, unsigned char* data, int length);
    int blockSize;
    int isBlock;
    int keySize;
    const char* name;
    const char* moduleName; // the cipher library's own name for it
};

constexpr int kMaxKeySize = 256;

// Rows that the system cipher library carries.
bool moduleSetKey(CallState& s, const AlgorithmEntry& row, const unsigned char* key) {
    return s.module.open(row.moduleName, !row.isBlock, key, row.keySize);
}

void moduleEncrypt(CallState& s, unsigned char* data, int length) {
    s.module.encrypt(data, length);
}

void moduleDecrypt(CallState& s, unsigned char* data, int length) {
    s.module.decrypt(data, length);
}

// Rows that the system cipher library lacks, implemented here.
bool safer64SetKey(CallState& s, const AlgorithmEntry&, const unsigned char* key) {
    SaferSetKey(s.key.safer, key, key);
    return true;
}

bool safer128SetKey(CallState& s, const AlgorithmEntry&, const unsigned char* key) {
    SaferSetKey(s.key.safer, key, key + 8);
    return true;
}

void saferEncrypt(CallState& s, unsigned char* data, int length) {
    for (int offset = 0; offset < length; offset += SaferKey::kBlockSize)
        SaferEncryptBlock(s.key.safer, data + offset);
}

void saferDecrypt(CallState& s, unsigned char* data, int length) {
    for (int offset = 0; offset < length; offset += SaferKey::kBlockSize)
        SaferDecryptBlock(s.key.safer, data + offset);
}

bool threeWaySetKey(CallState& s, const AlgorithmEntry&, const unsigned char* key) {
    ThreeWaySetKey(s.key.threeWay, key);
    return true;
}

void threeWayEncrypt(CallState& s, unsigned char* data, int length) {
    for (int offset = 0; offset < length; offset += ThreeWayKey::kBlockSize)
        ThreeWayEncryptBlock(s.key.threeWay, data + offset);
}

void threeWayDecrypt(CallState& s, unsigned char* data, int length) {
    for (int offset = 0; offset < length; offset += ThreeWayKey::kBlockSize)
        ThreeWayDecryptBlock(s.key.threeWay, data + offset);
}

bool panamaSetKey(CallState& s, const AlgorithmEntry&, const unsigned char* key) {
    PanamaSetKey(s.key.panama, key);
    return true;
}

void panamaCrypt(CallState& s, unsigned char* data, int length) {
    PanamaCrypt(s.key.panama, data, std::size_t(length));
}

#define MODULE_BLOCK(name, module, key, block)                                                     \
    { moduleSetKey, moduleEncrypt, moduleDecrypt, block, 1, key, name, module }
#define MODULE_STREAM(name, module, key)                                                           \
    { moduleSetKey, moduleEncrypt, moduleDecrypt, 1, 0, key, name, module }

// The order is part of the interface: callers and stored data use indexes.
constexpr AlgorithmEntry kAlgorithms[] = {
    MODULE_BLOCK("xTEA", "xtea", 16, 8),
    MODULE_STREAM("WAKE", "wake", 32),
    MODULE_BLOCK("Twofish", "twofish", 32, 16),
    MODULE_BLOCK("3DES", "tripledes", 24, 8),
    MODULE_BLOCK("Serpent", "serpent", 32, 16),
    {safer64SetKey, saferEncrypt, saferDecrypt, 8, 1, 8, "SAFER-SK64", "safer-sk64"},
    {safer128SetKey, saferEncrypt, saferDecrypt, 8, 1, 16, "SAFER-SK128", "safer-sk128"},
    MODULE_BLOCK("Rijndael-256", "rijndael-256", 32, 32),
    MODULE_BLOCK("Rijndael-192", "rijndael-192", 32, 24),
    MODULE_BLOCK("Rijndael-128", "rijndael-128", 32, 16),
    MODULE_BLOCK("RC2", "rc2", 128, 8),
    {panamaSetKey, panamaCrypt, panamaCrypt, 1, 0, 32, "PANAMA", "panama"},
    MODULE_BLOCK("LOKI97", "loki97", 32, 16),
    MODULE_BLOCK("GOST", "gost", 32, 8),
    MODULE_STREAM("enigma", "enigma", 13),
    MODULE_BLOCK("DES", "des", 8, 8),
    MODULE_BLOCK("CAST-256", "cast-256", 32, 16),
    MODULE_BLOCK("CAST-128", "cast-128", 16, 8),
    MODULE_BLOCK("Blowfish", "blowfish", 56, 8),
    MODULE_BLOCK("Blowfish_Compat", "blowfish-compat", 56, 8),
    MODULE_STREAM("RC4", "arcfour", 256),
    {threeWaySetKey, threeWayEncrypt, threeWayDecrypt, 12, 1, 12, "3-WAY", "threeway"},
};

#undef MODULE_BLOCK
#undef MODULE_STREAM

constexpr int kAlgorithmCount = int(sizeof kAlgorithms / sizeof kAlgorithms[0]);
static_assert(kAlgorithmCount == 22, "the table has 22 rows");

constexpr bool keySizesFit() {
    for (const AlgorithmEntry& row : kAlgorithms)
        if (row.keySize > kMaxKeySize)
            return false;
    return true;
}
static_assert(keySizesFit(), "every key fits into the key buffer");

const AlgorithmEntry* rowAt(int index) {
    return index >= 0 && index < kAlgorithmCount ? &kAlgorithms[index] : nullptr;
}

inline char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// Prefix search from the last row down, so that a short name finds the
// highest row it begins.
int findAlgorithm(const char* name) {
    if (!name || !*name)
        return -1;
    const std::size_t n = std::strlen(name);
    for (int index = kAlgorithmCount - 1; index >= 0; --index) {
        const char* rowName = kAlgorithms[index].name;
        if (std::strlen(rowName) < n)
            continue;
        std::size_t i = 0;
        while (i < n && asciiUpper(rowName[i]) == asciiUpper(name[i]))
            ++i;
        if (i == n)
            return index;
    }
    return -1;
}

// 64-bit so that sizes near the int limit cannot wrap.
long long paddedSize(const AlgorithmEntry& row, long long size) {
    if (!row.isBlock)
        return size;
    const long long block = row.blockSize;
    return (size + block - 1) / block * block;
}

// The key string's bytes, cut to the key size and zero-filled up to it.
void prepareKey(const char* key, int keySize, unsigned char* out) {
    int i = 0;
    for (; i < keySize && key[i] != '\0'; ++i)
        out[i] = static_cast<unsigned char>(key[i]);
    std::memset(out + i, 0, std::size_t(keySize - i));
}

// Key material should not linger on the stack after the call.
void wipe(void* p, std::size_t n) {
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(p);
    while (n--)
        *bytes++ = 0;
}

int cryptBuffer(int mode, const AlgorithmEntry& row, const char* key, const unsigned char* input,
                int length, unsigned char* output, int capacity) {
    const auto operation = mode == KRYPTANE_ENCRYPT ? row.encrypt : row.decrypt;
    const long long total = paddedSize(row, length);
    if (capacity < total)
        return 0;

    unsigned char prepared[kMaxKeySize];
    prepareKey(key, row.keySize, prepared);
    CallState state;
    const bool keyed = row.setKey(state, row, prepared);
    wipe(prepared, sizeof prepared);
    if (!keyed) {
        // Only possible when the system cipher library lacks a row it
        // should carry; the output stays as it was.
        state.module.close();
        return 0;
    }

    // memmove, so that a caller who passes one buffer for both still gets
    // the right bytes.
    std::memmove(output, input, std::size_t(length));
    std::memset(output + length, 0, std::size_t(total - length));
    operation(state, output, int(total));

    state.module.close();
    wipe(&state.key, sizeof state.key);
    return int(total);
}

bool argumentsUsable(const char* key, const unsigned char* input, int length,
                     const unsigned char* output) {
    return key && input && output && length > 0;
}

} // namespace

extern "C" {

int get_algorithm_count(void) {
    return kAlgorithmCount;
}

int get_algorithm_index(const char* name) {
    return findAlgorithm(name);
}

const char* get_algorithm_name(int index) {
    const AlgorithmEntry* row = rowAt(index);
    return row ? row->name : nullptr;
}

int get_encrypt_block_size(int index) {
    const AlgorithmEntry* row = rowAt(index);
    return row ? row->blockSize : 0;
}

int get_encrypt_key_size(int index) {
    const AlgorithmEntry* row = rowAt(index);
    return row ? row->keySize : 0;
}

int calc_size_after_encrypt(int index, int size) {
    const AlgorithmEntry* row = rowAt(index);
    if (!row || size < 0)
        return 0;
    const long long total = paddedSize(*row, size);
    return total > 0x7fffffff ? 0 : int(total);
}

int encrypt_string(int mode, const char* algorithm, const char* key, const unsigned char* input,
                   int inputLength, unsigned char* output, int outputCapacity) {
    if (!argumentsUsable(key, input, inputLength, output))
        return -1;
    const AlgorithmEntry* row = rowAt(findAlgorithm(algorithm));
    if (!row)
        return 0;
    return cryptBuffer(mode, *row, key, input, inputLength, output, outputCapacity);
}

int encrypt_string2(int mode, int algorithm, const char* key, const unsigned char* input,
                    int inputLength, unsigned char* output, int outputCapacity) {
    if (!argumentsUsable(key, input, inputLength, output))
        return -1;
    const AlgorithmEntry* row = rowAt(algorithm);
    if (!row)
        return 0;
    return cryptBuffer(mode, *row, key, input, inputLength, output, outputCapacity);
}

int md5_encrypt(const unsigned char* data, int length, char* output, int capacity) {
    if (capacity < 32 || !output)
        return 0;
    std::uint8_t digest[16];
    if (data && length > 0)
        Md5Digest(data, std::size_t(length), digest);
    else
        Md5Digest(nullptr, 0, digest);
    static constexpr char kHex[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        output[2 * i] = kHex[digest[i] >> 4];
        output[2 * i + 1] = kHex[digest[i] & 0x0F];
    }
    if (capacity > 32)
        output[32] = '\0';
    return 32;
}

} // extern "C"
