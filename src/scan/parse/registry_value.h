#pragma once
// A registry value's text as RegKeyCursor::QueryValue gives it, from the
// value's type and the bytes the wide registry calls handed over: a REG_SZ
// as UTF-16 up to its NUL or the end of its data (an odd last byte is no
// character), a REG_DWORD as signed decimal. Nothing for any other type or
// for a number of fewer than four bytes: the caller keeps its default.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace parse {

inline constexpr std::uint32_t kRegSz = 1;     // REG_SZ
inline constexpr std::uint32_t kRegDword = 4;  // REG_DWORD, little-endian

std::optional<std::u16string> RegistryValueText(std::uint32_t type,
                                                std::span<const unsigned char> data);

}  // namespace parse
