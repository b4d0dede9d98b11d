#include "platform/win32/DialogTemplate.h"

#include <cstdint>

namespace {

// Reads the little-endian words of a template, never past its end.
class TemplateCursor {
public:
    TemplateCursor(const std::uint8_t* data, DWORD size) : data(data), size(size) {}

    bool Ok() const { return pos <= size; }
    unsigned Word() {
        unsigned value = pos + 2 <= size ? data[pos] | (data[pos + 1] << 8) : 0;
        pos += 2;
        return value;
    }
    DWORD Dword() {
        DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    short Short() { return static_cast<short>(Word()); }
    std::uint8_t Byte() { return pos < size ? data[pos++] : (++pos, 0); }
    // A UTF-16 string; characters outside ASCII become '?' (face names are ASCII).
    std::string String() {
        std::string text;
        for (unsigned unit = Word(); unit != 0 && Ok(); unit = Word()) {
            text += static_cast<char>(unit < 0x80 ? unit : '?');
        }
        return text;
    }
    // A string, or 0xFFFF and an ordinal.
    void SkipStringOrOrdinal() {
        if (pos + 2 <= size && data[pos] == 0xFF && data[pos + 1] == 0xFF) {
            pos += 4;
        } else {
            String();
        }
    }
    void AlignToDword() { pos = (pos + 3) & ~3u; }
    void Skip(unsigned bytes) { pos += bytes; }

private:
    const std::uint8_t* data;
    DWORD size;
    DWORD pos = 0;
};

}  // namespace

bool ReadDialogTemplateLayout(HINSTANCE module, int templateId, DialogTemplateLayout& layout) {
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));
    HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return false;
    }
    TemplateCursor in(static_cast<const std::uint8_t*>(data), ::SizeofResource(module, found));
    layout = DialogTemplateLayout();
    unsigned version = in.Word();
    bool extended = version == 1 && in.Word() == 0xFFFF;
    unsigned count;
    if (extended) {
        in.Dword();  // help id
        layout.exStyle = in.Dword();
        layout.style = in.Dword();
    } else {
        in =
            TemplateCursor(static_cast<const std::uint8_t*>(data), ::SizeofResource(module, found));
        layout.style = in.Dword();
        layout.exStyle = in.Dword();
    }
    count = in.Word();
    in.Short();  // x
    in.Short();  // y
    layout.cx = in.Short();
    layout.cy = in.Short();
    in.SkipStringOrOrdinal();  // menu
    in.SkipStringOrOrdinal();  // class
    in.String();               // caption
    if (layout.style & (DS_SETFONT | DS_SHELLFONT)) {
        layout.pointSize = static_cast<int>(in.Word());
        if (extended) {
            layout.weight = static_cast<int>(in.Word());
            layout.italic = in.Byte() != 0;
            layout.charSet = in.Byte();
        }
        layout.faceName = in.String();
    }
    for (unsigned i = 0; i < count && in.Ok(); ++i) {
        in.AlignToDword();
        if (extended) {
            in.Dword();  // help id
        }
        in.Dword();  // style or extended style
        in.Dword();
        RECT item;
        item.left = in.Short();
        item.top = in.Short();
        item.right = item.left + in.Short();
        item.bottom = item.top + in.Short();
        if (extended) {
            in.Dword();  // id
        } else {
            in.Word();
        }
        in.SkipStringOrOrdinal();  // class
        in.SkipStringOrOrdinal();  // text
        in.Skip(in.Word());        // creation data
        layout.items.push_back(item);
    }
    return in.Ok() && layout.items.size() == count;
}
