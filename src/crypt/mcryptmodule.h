#pragma once

namespace kryptane {

// A cipher of the system cipher library, opened and keyed: block ciphers in
// electronic code book mode, stream ciphers in stream mode, never with an
// initialisation vector. The library allocates the handle; nothing else here
// touches the heap.
class CipherModule {
public:
    CipherModule() = default;
    CipherModule(const CipherModule&) = delete;
    CipherModule& operator=(const CipherModule&) = delete;
    ~CipherModule() { close(); }

    // False when the library does not offer the algorithm or refuses the key.
    bool open(const char* algorithm, bool stream, const unsigned char* key, int keyLength);
    // In place; for a block cipher the length is a multiple of the block size.
    void encrypt(unsigned char* data, int length);
    void decrypt(unsigned char* data, int length);
    void close();

private:
    void* handle_ = nullptr;
};

} // namespace kryptane
