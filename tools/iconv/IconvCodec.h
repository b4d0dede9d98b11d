#pragma once

#include <iconv.h>

#include <string>

// One character set of the build machine's iconv, converted to and from UTF-16LE one
// sequence at a time. Every call starts from the initial shift state, so one result never
// depends on the call before it.
class IconvCodec {
public:
    explicit IconvCodec(const std::string& charset);
    ~IconvCodec();
    IconvCodec(const IconvCodec&) = delete;
    IconvCodec& operator=(const IconvCodec&) = delete;

    bool IsOpen() const;
    const std::string& Charset() const { return charset; }

    // The UTF-16 units of a whole byte sequence; false when iconv refuses the bytes or
    // finds them incomplete.
    bool Decode(const std::string& bytes, std::u16string& units) const;
    // The bytes iconv's encoder writes for one UTF-16 unit; false when it has none.
    bool Encode(char16_t unit, std::string& bytes) const;

private:
    std::string charset;
    iconv_t toUtf16;
    iconv_t fromUtf16;
};
