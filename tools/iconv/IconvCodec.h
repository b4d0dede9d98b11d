#pragma once

#include <iconv.h>

#include <string>

#include "ReferenceCodec.h"

// One character set of the build machine's iconv, converted to and from UTF-16LE one
// sequence at a time.
class IconvCodec : public ReferenceCodec {
public:
    explicit IconvCodec(const std::string& charset);
    ~IconvCodec() override;
    IconvCodec(const IconvCodec&) = delete;
    IconvCodec& operator=(const IconvCodec&) = delete;

    bool IsOpen() const;
    const std::string& Charset() const { return charset; }

    bool Decode(const std::string& bytes, std::u16string& units) const override;
    bool Encode(char16_t unit, std::string& bytes) const override;

private:
    std::string charset;
    iconv_t toUtf16;
    iconv_t fromUtf16;
};
