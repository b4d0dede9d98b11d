#pragma once

#include "ReferenceCodec.h"

// One of Windows' code pages, converted the way Windows converts: MultiByteToWideChar
// refusing invalid bytes, WideCharToMultiByte writing only codes that decode back to the
// same character (no best fit, no default character).
class WindowsCodePage : public ReferenceCodec {
public:
    explicit WindowsCodePage(unsigned codePage) : codePage(codePage) {}

    // Whether this Windows has the code page at all.
    bool IsValid() const;

    bool Decode(const std::string& bytes, std::u16string& units) const override;
    bool Encode(char16_t unit, std::string& bytes) const override;

private:
    unsigned codePage;
};
