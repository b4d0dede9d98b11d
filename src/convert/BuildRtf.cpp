#include "BuildRtf.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "ConvertedText.h"

namespace {

const char kRtfHeader[] =
    "{\\rtf1\\ansi\\ansicpg1252\\uc1 \\deff0\\deflang1033\\deflangfe1033\\pard\\plain "
    "\\widctlpar\\fs20";

// The control word that sets the fallback count back to one byte.
const char kOneFallback[] = "\\uc1";
constexpr std::size_t kOneFallbackSize = sizeof kOneFallback - 1;

void AppendHexByte(unsigned char byte, std::string& out) {
    static const char kDigits[] = "0123456789abcdef";
    out += "\\'";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

void AppendDecimal(std::size_t value, std::string& out) {
    char digits[24];
    std::size_t n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (n != 0)
        out += digits[--n];
}

bool IsMarkupByte(unsigned char byte) {
    return byte == '\\' || byte == '{' || byte == '}';
}

// Units whose piece doesn't depend on their representation in the code set.
bool IsFixedUnit(char16_t unit) {
    return unit == u'\n' || unit == u'\r' || unit == u'\\' || unit == u'{' || unit == u'}';
}

// What a unit's piece does to the fallback count that readers apply after "\u": a piece
// with one fallback byte needs the count of 1 (restored by "\uc1" when "\ucN" with N > 1
// set another one), a piece of several bytes sets its own count.
enum class Fallback : std::uint8_t { None, One, Several };

struct Piece {
    Fallback fallback = Fallback::None;
    std::size_t count = 0;  // bytes of a Several piece
};

// The piece of one unit, without the "\uc1" that may have to precede it. bytes is the
// unit's representation (CharToMultibyte); fixed units don't use it.
Piece AppendPiece(char16_t unit, const char* bytes, std::size_t size, std::string& out) {
    Piece piece;
    if (unit == u'\n') {
        out += "\\par ";
    } else if (unit == u'\r') {
        // The line feed that follows ends the paragraph.
    } else if (unit == u'\\' || unit == u'{' || unit == u'}') {
        piece.fallback = Fallback::One;
        out += "\\u";
        AppendDecimal(unit, out);
        out += " \\";
        out += static_cast<char>(unit);
    } else if (size >= 2) {
        piece.fallback = Fallback::Several;
        piece.count = size;
        out += "\\uc";
        AppendDecimal(size, out);
        out += "\\u";
        AppendDecimal(unit, out);
        for (std::size_t k = 0; k < size; ++k)
            AppendHexByte(static_cast<unsigned char>(bytes[k]), out);
    } else if (size == 1) {
        const auto byte = static_cast<unsigned char>(bytes[0]);
        // Another character on a markup byte would be read as markup: escape it.
        if (byte < 127 && !IsMarkupByte(byte)) {
            out += bytes[0];
        } else {
            piece.fallback = Fallback::One;
            out += "\\u";
            AppendDecimal(unit, out);
            out += ' ';
            AppendHexByte(byte, out);
        }
    }
    return piece;
}

// Whether a "\uc1" goes before the piece, and the count after it.
bool NeedsOneFallback(const Piece& piece, std::size_t& fallbackCount) {
    const bool restore = piece.fallback == Fallback::One && fallbackCount != 1;
    if (piece.fallback == Fallback::One)
        fallbackCount = 1;
    else if (piece.fallback == Fallback::Several)
        fallbackCount = piece.count;
    return restore;
}

// Small texts: one CharToMultibyte per unit, pieces appended as they come.
void AppendUnitsDirectly(ConvertedText& text, std::string& out) {
    std::size_t fallbackCount = 1;
    std::string body;
    for (std::size_t i = 0; i < text.unicode.size(); ++i) {
        const char16_t unit = text.unicode[i];
        body.clear();
        Piece piece;
        if (IsFixedUnit(unit)) {
            piece = AppendPiece(unit, nullptr, 0, body);
        } else {
            const std::string& bytes = text.CharToMultibyte(i);
            piece = AppendPiece(unit, bytes.data(), bytes.size(), body);
        }
        if (NeedsOneFallback(piece, fallbackCount))
            out += kOneFallback;
        out += body;
    }
}

// Large texts: a unit's piece depends only on the unit (the code set and the flags stay the
// same for the whole document), so each distinct unit is encoded and formatted once. A
// first pass collects the pieces and the exact size, a second copies them into place.
class PieceCache {
public:
    explicit PieceCache(ConvertedText& text) : text_(text), slots_(0x10000, kUnset) {}

    void AppendUnits(std::string& out) {
        const std::u16string& units = text_.unicode;
        std::size_t fallbackCount = 1;
        std::size_t size = 0;
        bool encoded = false;
        std::size_t lastEncoded = 0;
        for (std::size_t i = 0; i < units.size(); ++i) {
            const std::uint64_t slot = Slot(units[i], i);
            if (slot & kEncoded) {
                encoded = true;
                lastEncoded = i;
            }
            size += Length(slot);
            if (NeedsOneFallback(PieceOf(slot), fallbackCount))
                size += kOneFallbackSize;
        }

        // Pieces of up to kCopy bytes are copied kCopy bytes at a time, which costs no
        // branch on their length; the pool and the document have room for the overrun.
        pool_.append(kCopy, '\0');
        std::size_t at = out.size();
        const std::size_t end = at + size;
        // Room for the closing brace too, so that the document is never copied to grow.
        out.reserve(end + kCopy + 1);
        out.resize(end + kCopy);
        char* const data = &out[0];
        const char* const pool = pool_.data();
        fallbackCount = 1;
        for (char16_t unit : units) {
            const std::uint64_t slot = slots_[unit];
            if (NeedsOneFallback(PieceOf(slot), fallbackCount)) {
                std::memcpy(data + at, kOneFallback, kOneFallbackSize);
                at += kOneFallbackSize;
            }
            const std::size_t length = Length(slot);
            if (length <= kCopy) {
                std::memcpy(data + at, pool + Offset(slot), kCopy);
            } else {
                std::memcpy(data + at, pool + Offset(slot), length);
            }
            at += length;
        }
        out.resize(end);
        // The text's multibyte ends as the last rendering of the document left it.
        if (encoded)
            text_.CharToMultibyte(lastEncoded);
    }

private:
    // offset in pool_ (32 bits), length (8), fallback kind (2), fallback count (5), and
    // whether the piece came from CharToMultibyte.
    static constexpr std::uint64_t kUnset = ~std::uint64_t(0);
    static constexpr std::size_t kCopy = 16;
    static constexpr std::uint64_t kEncoded = std::uint64_t(1) << 47;

    std::uint64_t Slot(char16_t unit, std::size_t index) {
        std::uint64_t& slot = slots_[unit];
        if (slot != kUnset)
            return slot;
        const std::size_t offset = pool_.size();
        Piece piece;
        if (IsFixedUnit(unit)) {
            piece = AppendPiece(unit, nullptr, 0, pool_);
        } else {
            const std::string& bytes = text_.CharToMultibyte(index);
            piece = AppendPiece(unit, bytes.data(), bytes.size(), pool_);
        }
        slot = offset | std::uint64_t(pool_.size() - offset) << 32 |
               std::uint64_t(piece.fallback) << 40 | std::uint64_t(piece.count) << 42 |
               (IsFixedUnit(unit) ? 0 : kEncoded);
        return slot;
    }
    static std::size_t Offset(std::uint64_t slot) { return slot & 0xFFFFFFFFu; }
    static std::size_t Length(std::uint64_t slot) { return (slot >> 32) & 0xFF; }
    static Piece PieceOf(std::uint64_t slot) {
        Piece piece;
        piece.fallback = static_cast<Fallback>((slot >> 40) & 0x3);
        piece.count = (slot >> 42) & 0x1F;
        return piece;
    }

    ConvertedText& text_;
    std::vector<std::uint64_t> slots_;
    std::string pool_;
};

// Below this many units the cache costs more than it saves.
constexpr std::size_t kCacheFromUnits = 4096;

}  // namespace

std::string BuildRtf(ConvertedText& text, std::uint16_t languageId) {
    std::string out = kRtfHeader;
    out += "\\lang";
    AppendDecimal(languageId, out);
    out += ' ';
    if (text.unicode.size() >= kCacheFromUnits) {
        PieceCache(text).AppendUnits(out);
    } else {
        AppendUnitsDirectly(text, out);
    }
    out += '}';
    return out;
}
