#include "codeset/CodeSetHolder.h"

#include <cstring>

#include "codeset/CodeSetFileReader.h"
#include "codeset/CodeSetResult.h"
#include "codeset/DataDirectory.h"
#include "codeset/DoubleByteCodeSet.h"
#include "codeset/SingleByteCodeSet.h"
#include "codeset/Utf16CodeSet.h"
#include "codeset/Utf8CodeSet.h"
#include "platform/OpenStdioFile.h"
#include "platform/ScopedFile.h"

namespace {

// Header strings fit a 100-byte buffer with its terminator; a longer one marks a damaged file.
constexpr std::uint16_t kMaxHeaderString = 99;

// Reads one header string; the text ends at its first zero byte if it holds one.
CodeSetResult ReadHeaderString(std::FILE* file, std::string& text) {
    std::uint16_t length = 0;
    if (!ReadUint16(file, length))
        return CodeSetResult::Truncated;
    if (length > kMaxHeaderString)
        return CodeSetResult::BadMagicLength;
    char buffer[kMaxHeaderString + 1] = {};
    if (!ReadRawBytes(file, buffer, length))
        return CodeSetResult::Truncated;
    buffer[length] = 0;
    text.assign(buffer, std::strlen(buffer));
    return CodeSetResult::Ok;
}

std::unique_ptr<CodeSet> CreateCodeSet(std::int32_t kind) {
    switch (kind) {
        case Utf16Kind:
            return std::unique_ptr<CodeSet>(new Utf16CodeSet());
        case Utf8Kind:
            return std::unique_ptr<CodeSet>(new Utf8CodeSet());
        case SingleByteKind:
            return std::unique_ptr<CodeSet>(new SingleByteCodeSet());
        case DoubleByteKind:
            return std::unique_ptr<CodeSet>(new DoubleByteCodeSet());
        default:
            return nullptr;
    }
}

}  // namespace

CodeSetResult CodeSetHolder::Load(const std::string& codeSetName) {
    const bool isPath = codeSetName.find('.') != std::string::npos &&
                        codeSetName.find(kPathSeparator) != std::string::npos;
    const std::string filePath = isPath ? codeSetName : GetDataDirectory() + codeSetName + ".okc";
    ScopedFile file(OpenStdioFile(filePath, "rb"));
    if (!file)
        return CodeSetResult::OpenFailed;
    path = filePath;
    CodeSetResult result = ReadHeader(file.get());
    if (result != CodeSetResult::Ok)
        return result;
    result = codeSet->ReadTables(file.get());
    // A code set whose tables could not be read is never left for conversion.
    if (result != CodeSetResult::Ok)
        codeSet.reset();
    return result;
}

CodeSetResult CodeSetHolder::ReadHeader(std::FILE* file) {
    // Everything is read before the holder changes, so a header that is cut short or damaged
    // leaves the previous code set in place, as a bad magic does.
    std::string magic;
    CodeSetResult result = ReadHeaderString(file, magic);
    if (result != CodeSetResult::Ok)
        return result;
    if (magic != "okc100")
        return CodeSetResult::BadMagic;
    std::string newName;
    std::string newDisplayName;
    std::uint32_t newKind = 0;
    if ((result = ReadHeaderString(file, newName)) != CodeSetResult::Ok)
        return result;
    if ((result = ReadHeaderString(file, newDisplayName)) != CodeSetResult::Ok)
        return result;
    if (!ReadUint32(file, newKind))
        return CodeSetResult::Truncated;
    name = newName;
    displayName = newDisplayName;
    kind = static_cast<std::int32_t>(newKind);
    codeSet = CreateCodeSet(kind);
    return codeSet ? CodeSetResult::Ok : CodeSetResult::BadKind;
}
