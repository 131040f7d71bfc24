// Encrypts a large buffer with WAKE through encrypt_string2 and through the
// system cipher library's module directly, and prints both throughputs and
// their ratio. Usage: bench_crypt [MiB] [repetitions]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

#include "crypt/kryptane.h"
#include "crypt/mcryptmodule.h"

namespace {

constexpr int kWake = 1;
constexpr const char* kKey = "QUARTEL_7KM_402519";

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double timeOf(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return seconds(std::chrono::steady_clock::now() - start);
}

} // namespace

int main(int argc, char** argv) {
    const int mebibytes = argc > 1 ? std::atoi(argv[1]) : 64;
    const int repetitions = argc > 2 ? std::atoi(argv[2]) : 3;
    if (mebibytes <= 0 || mebibytes > 1024 || repetitions <= 0) {
        std::fprintf(stderr, "usage: %s [MiB 1-1024] [repetitions]\n", argv[0]);
        return 2;
    }
    const int size = mebibytes * 1024 * 1024;
    std::vector<unsigned char> input(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        input[std::size_t(i)] = static_cast<unsigned char>(i * 13 + 7);
    std::vector<unsigned char> viaLibrary(input.size());
    std::vector<unsigned char> direct(input.size());

    const int keySize = get_encrypt_key_size(kWake);
    std::vector<unsigned char> key(std::size_t(keySize), 0);
    std::memcpy(key.data(), kKey, std::min<std::size_t>(std::strlen(kKey), key.size()));

    int written = 0;
    bool opened = true;
    const auto viaExport = [&] {
        written = encrypt_string2(1, kWake, kKey, input.data(), size, viaLibrary.data(), size);
    };
    const auto viaModule = [&] {
        // The same work as the library: copy, key the module, one pass.
        std::memcpy(direct.data(), input.data(), input.size());
        kryptane::CipherModule module;
        opened = module.open("wake", true, key.data(), keySize);
        module.encrypt(direct.data(), size);
    };
    // Alternating runs and the best time of each, so that a busy machine
    // disturbs both alike.
    double libraryTime = 1e30;
    double directTime = 1e30;
    for (int i = 0; i < repetitions; ++i) {
        libraryTime = std::min(libraryTime, timeOf(viaExport));
        directTime = std::min(directTime, timeOf(viaModule));
    }
    if (written != size || !opened) {
        std::fprintf(stderr, "encryption failed (written %d, module %s)\n", written,
                     opened ? "opened" : "not opened");
        return 1;
    }
    if (viaLibrary != direct) {
        std::fprintf(stderr, "the two paths disagree\n");
        return 1;
    }

    const double libraryRate = mebibytes / libraryTime;
    const double directRate = mebibytes / directTime;
    std::printf("WAKE, %d MiB, best of %d\n", mebibytes, repetitions);
    std::printf("encrypt_string2: %9.1f MiB/s (%.3f s)\n", libraryRate, libraryTime);
    std::printf("direct module:   %9.1f MiB/s (%.3f s)\n", directRate, directTime);
    std::printf("ratio library/direct: %.3f\n", libraryRate / directRate);
    return 0;
}
