#pragma once
// MD5 message digest (RFC 1321).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace bootmark {

std::array<std::uint8_t, 16> Md5Digest(std::string_view bytes);
// The digest as 32 lower-case hexadecimal digits.
std::string Md5Hex(std::string_view bytes);

}  // namespace bootmark
