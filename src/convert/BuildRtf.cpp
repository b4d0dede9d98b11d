#include "convert/BuildRtf.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "codeset/Simd.h"
#include "codeset/Surrogates.h"
#include "convert/ConvertedText.h"

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

bool IsMarkupUnit(char16_t unit) {
    return unit == u'\\' || unit == u'{' || unit == u'}';
}

// Units whose piece doesn't depend on their representation in the code set.
bool IsFixedUnit(char16_t unit) {
    return unit == u'\n' || unit == u'\r' || IsMarkupUnit(unit) || IsSurrogate(unit);
}

// A carriage return before a line feed: the line feed alone ends the paragraph.
bool EndsBeforeLineFeed(const char16_t* units, std::size_t count, std::size_t i) {
    return units[i] == u'\r' && i + 1 < count && units[i + 1] == u'\n';
}

// What a unit's piece does to the fallback count that readers apply after "\u": a piece
// with one fallback byte needs the count of 1 (restored by "\uc1" when "\ucN" with N > 1
// set another one), a piece of several bytes sets its own count.
enum class Fallback : std::uint8_t { None, One, Several };

struct Piece {
    Fallback fallback = Fallback::None;
    std::size_t count = 0;  // bytes of a Several piece
};

// "\uN" and one fallback byte: the byte itself when a reader takes it as that byte, else
// its hexadecimal piece; "?" when the unit has no bytes.
void AppendWithOneFallback(char16_t unit, const char* bytes, std::size_t size, std::string& out) {
    out += "\\u";
    AppendDecimal(unit, out);
    out += ' ';
    const auto byte = static_cast<unsigned char>(size == 0 ? '?' : bytes[0]);
    if (byte > 0x20 && byte < 0x7F && !IsMarkupUnit(byte)) {
        out += static_cast<char>(byte);
    } else {
        AppendHexByte(byte, out);
    }
}

// The piece of one unit, without the "\uc1" that may have to precede it. bytes is the
// unit's representation (CharToMultibyte); fixed units don't use it. A reader must get every
// unit back: only a unit that is its own ASCII byte goes as plain text, every other one
// carries its Unicode value.
Piece AppendPiece(char16_t unit, const char* bytes, std::size_t size, std::string& out) {
    Piece piece;
    if (unit == u'\n' || unit == u'\r') {
        out += "\\par ";
    } else if (IsMarkupUnit(unit)) {
        out += '\\';
        out += static_cast<char>(unit);
    } else if (IsSurrogate(unit)) {
        // Each half of a pair on its own, which readers join into the one character.
        piece.fallback = Fallback::One;
        AppendWithOneFallback(unit, nullptr, 0, out);
    } else if (size >= 2) {
        piece.fallback = Fallback::Several;
        piece.count = size;
        out += "\\uc";
        AppendDecimal(size, out);
        out += "\\u";
        AppendDecimal(unit, out);
        for (std::size_t k = 0; k < size; ++k)
            AppendHexByte(static_cast<unsigned char>(bytes[k]), out);
    } else if (size == 1 && static_cast<unsigned char>(bytes[0]) == unit && unit < 127) {
        out += bytes[0];
    } else {
        // An empty representation, the "?" of a character the code set lacks, a byte of
        // 127 or more, or another character's byte (a markup byte among them).
        piece.fallback = Fallback::One;
        AppendWithOneFallback(unit, bytes, size, out);
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
    const std::size_t count = text.unicode.size();
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t unit = text.unicode[i];
        if (EndsBeforeLineFeed(text.unicode.data(), count, i))
            continue;
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
// Blocks of 8 printable ASCII units that are their own pieces (most of prose) go whole.
class PieceCache {
public:
    explicit PieceCache(ConvertedText& text) : text_(text), slots_(0x10000) {
        probe_.codeSetHolder = text.codeSetHolder;
        probe_.encodeFlags = text.encodeFlags;
        FindPlainAscii();
    }

    void AppendUnits(std::string& out) {
        const char16_t* const units = text_.unicode.data();
        const std::size_t count = text_.unicode.size();
        std::size_t fallbackCount = 1;
        std::size_t size = 0;
        for (std::size_t i = 0; i < count;) {
            if (units[i] < 0x80 && count - i >= 8) {
                const std::size_t plain = PlainUnits(units + i);
                size += plain;
                i += plain;
                if (plain == 8 || i == count)
                    continue;
            }
            if (EndsBeforeLineFeed(units, count, i)) {
                ++i;
                continue;
            }
            const Slot& slot = SlotOf(units[i++]);
            size += slot.length;
            if (NeedsOneFallback(slot.AsPiece(), fallbackCount))
                size += kOneFallbackSize;
        }

        // Pieces of up to kCopy bytes (19 for a two-byte character) are copied kCopy bytes at
        // a time, which costs no branch on their length; the pool and the document have room
        // for the overrun.
        pool_.append(kCopy, '\0');
        std::size_t at = out.size();
        const std::size_t end = at + size;
        // Room for the closing brace and a terminating zero too, so that the document is
        // never copied to grow.
        out.reserve(end + kCopy + 2);
        out.resize(end + kCopy);
        char* const data = &out[0];
        const char* const pool = pool_.data();
        fallbackCount = 1;
        for (std::size_t i = 0; i < count;) {
            if (units[i] < 0x80 && count - i >= 8) {
                const std::size_t plain = StorePlainUnits(units + i, data + at);
                at += plain;
                i += plain;
                if (plain == 8 || i == count)
                    continue;
            }
            if (EndsBeforeLineFeed(units, count, i)) {
                ++i;
                continue;
            }
            const Slot& slot = slots_[units[i++]];
            if (NeedsOneFallback(slot.AsPiece(), fallbackCount)) {
                std::memcpy(data + at, kOneFallback, kOneFallbackSize);
                at += kOneFallbackSize;
            }
            const std::size_t length = slot.length;
            if (length <= kCopy) {
                std::memcpy(data + at, pool + slot.offset, kCopy);
            } else {
                std::memcpy(data + at, pool + slot.offset, length);
            }
            at += length;
        }
        out.resize(end);
        // The text's multibyte ends as the last rendering of the document left it: that of
        // the last unit whose piece comes from its representation.
        for (std::size_t i = count; i-- > 0;) {
            if (!IsFixedUnit(units[i])) {
                text_.CharToMultibyte(i);
                break;
            }
        }
    }

private:
    // A unit's piece: where it lies in pool_ and how it ends (8 bytes, so that the table of
    // every unit stays 512 KiB).
    struct Slot {
        std::uint32_t offset = 0;
        std::uint8_t length = 0;
        Fallback fallback = Fallback::None;
        std::uint8_t count = 0;
        bool made = false;

        Piece AsPiece() const {
            Piece piece;
            piece.fallback = fallback;
            piece.count = count;
            return piece;
        }
    };
    static_assert(sizeof(Slot) == 8, "a slot per unit");

    static constexpr std::size_t kCopy = 32;
    static constexpr char16_t kFirstPrintable = 0x20;
    static constexpr char16_t kLastPrintable = 0x7E;
    // More exceptions than this and the blocks cost more than they save.
    static constexpr int kMostExceptions = 12;

    // The piece of one unit, made the first time the unit is met.
    const Slot& SlotOf(char16_t unit) {
        const Slot& slot = slots_[unit];
        return slot.made ? slot : MakeSlot(unit);
    }

    const Slot& MakeSlot(char16_t unit) {
        Slot& slot = slots_[unit];
        const std::size_t offset = pool_.size();
        Piece piece;
        if (IsFixedUnit(unit)) {
            piece = AppendPiece(unit, nullptr, 0, pool_);
        } else {
            // The representation depends on the unit alone: a one-unit text gives it.
            probe_.unicode.assign(1, unit);
            const std::string& bytes = probe_.CharToMultibyte(0);
            piece = AppendPiece(unit, bytes.data(), bytes.size(), pool_);
        }
        slot.offset = static_cast<std::uint32_t>(offset);
        slot.length = static_cast<std::uint8_t>(pool_.size() - offset);
        slot.fallback = piece.fallback;
        slot.count = static_cast<std::uint8_t>(piece.count);
        slot.made = true;
        return slot;
    }

    // Collects the printable ASCII units whose piece is not the unit's own byte (markup
    // characters, characters that flags turn into entities, ASCII that the code set maps
    // elsewhere).
    void FindPlainAscii() {
        for (char16_t unit = kFirstPrintable; unit <= kLastPrintable; ++unit) {
            const Slot& slot = SlotOf(unit);
            const bool plain = slot.length == 1 && pool_[slot.offset] == static_cast<char>(unit) &&
                               slot.fallback == Fallback::None;
            if (!plain && exceptionCount_ <= kMostExceptions)
                exceptions_[exceptionCount_++] = unit;
        }
        plainBlocks_ = exceptionCount_ <= kMostExceptions;
#if defined(PEL_SSE2)
        if (plainBlocks_)
            plainLanes_.SetExceptions(exceptions_, exceptionCount_);
#endif
    }

    // How many of the 8 units from p, up to the first other one, are plain printable ASCII.
    std::size_t PlainUnits(const char16_t* p) const {
#if defined(PEL_SSE2)
        if (!plainBlocks_)
            return 0;
        return plainLanes_.Count(p);
#else
        (void)p;
        return 0;
#endif
    }

    // The same, writing their bytes to out (and up to 8 bytes in all, which the document's
    // spare room takes).
    std::size_t StorePlainUnits(const char16_t* p, char* out) const {
#if defined(PEL_SSE2)
        if (!plainBlocks_)
            return 0;
        return plainLanes_.Store(p, out);
#else
        (void)p;
        (void)out;
        return 0;
#endif
    }

#if defined(PEL_SSE2)
    PrintableLanes<kMostExceptions> plainLanes_;
#endif

    ConvertedText& text_;
    ConvertedText probe_;
    std::vector<Slot> slots_;
    std::string pool_;
    char16_t exceptions_[kMostExceptions + 1] = {};
    int exceptionCount_ = 0;
    bool plainBlocks_ = false;
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
