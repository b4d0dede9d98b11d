#include "IconvCodec.h"

#include <cerrno>

namespace {

const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
const std::size_t kFailed = static_cast<std::size_t>(-1);

// Runs one conversion from the initial state and flushes what a stateful converter holds
// back (CP1258 keeps a base letter until it knows no combining mark follows).
bool Run(iconv_t cd, const std::string& input, std::string& output) {
    output.clear();
    if (cd == kClosed)
        return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[64];
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd, &in, &inLeft, &out, &outLeft) == kFailed || inLeft != 0)
        return false;
    if (iconv(cd, nullptr, nullptr, &out, &outLeft) == kFailed)
        return false;
    output.assign(buffer, static_cast<std::size_t>(out - buffer));
    return true;
}

}  // namespace

IconvCodec::IconvCodec(const std::string& charsetName)
    : charset(charsetName),
      toUtf16(iconv_open("UTF-16LE", charsetName.c_str())),
      fromUtf16(iconv_open(charsetName.c_str(), "UTF-16LE")) {}

IconvCodec::~IconvCodec() {
    if (toUtf16 != kClosed)
        iconv_close(toUtf16);
    if (fromUtf16 != kClosed)
        iconv_close(fromUtf16);
}

bool IconvCodec::IsOpen() const {
    return toUtf16 != kClosed && fromUtf16 != kClosed;
}

bool IconvCodec::Decode(const std::string& bytes, std::u16string& units) const {
    units.clear();
    std::string raw;
    if (!Run(toUtf16, bytes, raw) || raw.size() % 2 != 0)
        return false;
    for (std::size_t i = 0; i < raw.size(); i += 2) {
        units += static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                       static_cast<unsigned char>(raw[i + 1]) << 8);
    }
    return true;
}

bool IconvCodec::Encode(char16_t unit, std::string& bytes) const {
    const char raw[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return Run(fromUtf16, std::string(raw, 2), bytes) && !bytes.empty();
}
