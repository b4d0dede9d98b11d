#include "image/WriteDibFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/Shell.h"
#include "platform/Utf8.h"

namespace {

bool WriteFileHeader(const DibLayout& layout, OutputFile& file) {
    unsigned char header[kFileHeaderSize] = {'B', 'M'};
    StoreLe32(header + 2, static_cast<std::uint32_t>(layout.FileSize()));
    StoreLe32(header + 10, static_cast<std::uint32_t>(layout.PixelOffset()));
    return file.Write(header, sizeof header);
}

bool WriteInfoHeader(const unsigned char* dib, const DibLayout& layout, OutputFile& file) {
    unsigned char header[kInfoHeaderSize];
    std::memcpy(header, dib, sizeof header);
    if (!layout.Compressed())
        StoreLe32(header + 20, static_cast<std::uint32_t>(layout.pixelSize));
    if (layout.topDown)
        StoreLe32(header + 8, static_cast<std::uint32_t>(layout.rows));
    return file.Write(header, sizeof header);
}

bool WritePixels(const unsigned char* pixels, const DibLayout& layout, OutputFile& file) {
    if (!layout.topDown)
        return file.Write(pixels, static_cast<std::size_t>(layout.pixelSize));
    const std::size_t rowSize = static_cast<std::size_t>(layout.rowSize);
    for (std::uint64_t row = layout.rows; row-- > 0;) {
        if (!file.Write(pixels + row * rowSize, rowSize))
            return false;
    }
    return true;
}

}  // namespace

DibWrite WriteDibFile(const unsigned char* dib, std::size_t size, OutputFile& file) {
    DibLayout layout;
    if (ComputeDibLayout(dib, size, layout) != DibCheck::Ok)
        return DibWrite::Refused;
    const unsigned char* colors = dib + kInfoHeaderSize;
    const std::size_t colorTableSize = static_cast<std::size_t>(layout.colorTableSize);
    bool ok = WriteFileHeader(layout, file) && WriteInfoHeader(dib, layout, file) &&
              (colorTableSize == 0 || file.Write(colors, colorTableSize)) &&
              WritePixels(colors + colorTableSize, layout, file);
    return ok ? DibWrite::Written : DibWrite::WriteFailed;
}

std::string TemporaryNameBeside(const std::string& path, unsigned attempt) {
    const std::size_t start = path.find_last_of("\\/:") + 1;  // npos + 1 is 0
    const std::string name = path.substr(start);
    std::string stamp = "~";
    for (unsigned n = attempt; n != 0; n /= 36)
        stamp.insert(1, 1, "0123456789abcdefghijklmnopqrstuvwxyz"[n % 36]);
    if (stamp.size() > Utf8ToUtf16(name).size())
        return std::string();
    // The stamp takes the place of whole characters of the UTF-8 name, so the temporary name
    // is never longer than the name, in bytes or in UTF-16 units.
    const std::string temporary = stamp + name.substr(Utf8Offset(name, stamp.size()));
    // File names on Windows are the same whatever the case of their letters.
    const bool same =
        std::equal(temporary.begin(), temporary.end(), name.begin(), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) ==
                   std::tolower(static_cast<unsigned char>(b));
        });
    return same ? std::string() : path.substr(0, start) + temporary;
}

bool SaveDibFile(Shell& shell, const std::string& path, const std::string& dib) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(dib.data());
    DibLayout layout;
    if (ComputeDibLayout(bytes, dib.size(), layout) != DibCheck::Ok)
        return false;

    // A name that an earlier file or another program already has is left alone.
    std::string partial;
    std::unique_ptr<OutputFile> file;
    for (unsigned attempt = 0; attempt < kTemporaryNameAttempts && !file; ++attempt) {
        partial = TemporaryNameBeside(path, attempt);
        if (!partial.empty())
            file = shell.CreateNewOutputFile(partial);
    }
    if (!file)
        return false;
    bool ok = false;
    {
        ShellWaitCursor waiting(shell);
        ok = WriteDibFile(bytes, dib.size(), *file) == DibWrite::Written;
        ok = file->Close() && ok;
        file.reset();
    }
    if (ok)
        ok = shell.RenameReplacing(partial, path);
    if (!ok)
        shell.RemoveFile(partial);
    return ok;
}
