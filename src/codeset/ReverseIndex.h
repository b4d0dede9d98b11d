#pragma once

#include <array>
#include <cstdint>
#include <memory>

// Whether a table entry can be the code of its unit: 0xFFFF marks a byte without a
// character, and half a surrogate pair is no character either.
inline bool IsEncodable(char16_t entry) {
    return entry != 0xFFFF && (entry < 0xD800 || entry > 0xDFFF);
}

// Maps a UTF-16 unit to the code that encodes it. Two levels (high byte, low byte) with the
// pages allocated only where a table has characters, so a code set costs 1 KiB per 256-unit
// page that it touches.
class ReverseIndex {
public:
    static constexpr std::uint32_t kSingle = 0x10000;
    static constexpr std::uint32_t kDouble = 0x20000;

    // Keeps the first value given for a unit, so that the lowest table index wins.
    void AddIfAbsent(char16_t unit, std::uint32_t value);
    // 0 when the unit has no code; else kSingle | byte or kDouble | lead * 256 + trail.
    std::uint32_t Find(char16_t unit) const {
        const Page* page = pages[unit >> 8].get();
        return page ? (*page)[unit & 0xFF] : 0;
    }
    void Clear();

private:
    using Page = std::array<std::uint32_t, 256>;
    std::array<std::unique_ptr<Page>, 256> pages;
};
