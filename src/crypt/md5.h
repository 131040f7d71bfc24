#pragma once

#include <cstddef>
#include <cstdint>

namespace kryptane {

// The 16-byte message digest of RFC 1321.
void Md5Digest(const std::uint8_t* data, std::size_t length, std::uint8_t digest[16]);

} // namespace kryptane
