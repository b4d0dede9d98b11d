#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "FakeShell.h"
#include "RecordingPrompts.h"
#include "TestPaths.h"
#include "Version.h"
#include "WindowTestSupport.h"
#include "codeset/DataDirectory.h"
#include "locale/FlagImageList.h"
#include "platform/InMemoryClipboard.h"
#include "platform/win32/Dialog.h"
#include "platform/win32/ResourceString.h"
#include "resource.h"
#include "viewer/AboutDialog.h"
#include "viewer/MainDialog.h"

namespace {

TEST(ResourcesTest, StringTableHoldsTheProgramTexts) {
    char version[64];
    std::snprintf(version, sizeof version, "Version %d.%02d build %d", PEL_VERSION_MAJOR,
                  PEL_VERSION_MINOR, PEL_VERSION_PATCH);
    EXPECT_EQ(LoadResourceString(10), version);
    EXPECT_EQ(LoadResourceString(11), "Pelimbrance - Quendrisal\n%s");
    EXPECT_EQ(LoadResourceString(14), "Cannot load the code set file for '%s'.");
    EXPECT_EQ(LoadResourceString(100), "Cannot save the bitmap.");
    EXPECT_EQ(LoadResourceString(101), "&About Pelimbrance...");
    EXPECT_EQ(LoadResourceString(57344), "Pelimbrance");
    const char* names[] = {"Plain Text",
                           "Bitmap",
                           "MetaFile Picture",
                           "SYLK",
                           "DIF",
                           "TIFF",
                           "OEM Text",
                           "DIB",
                           "Palette",
                           "Pen Data",
                           "RIFF",
                           "Wave",
                           "Unicode Text",
                           "Enhanced MetaFile",
                           "Drag and Drop"};
    for (int format = 1; format <= 15; ++format) {
        EXPECT_EQ(LoadResourceString(200 + format), std::string("%d\t") + names[format - 1]);
    }
    // The formats that get no line have no string.
    EXPECT_EQ(LoadResourceString(200), "");
    EXPECT_EQ(LoadResourceString(216), "");
    EXPECT_EQ(LoadResourceString(217), "");
}

// One item of a dialog template as the resource holds it.
struct TemplateItem {
    std::string className;  // "Button", "Edit", "Static", "ListBox", "ComboBox" or a name
    std::string text;
    int id;
    DWORD style;  // without WS_CHILD and WS_VISIBLE
    short x, y, cx, cy;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short cx = 0, cy = 0;
    std::string caption;
    int pointSize = 0;
    std::string font;
    std::vector<TemplateItem> items;
};

// Reads a DLGTEMPLATE (the classic form the .rc script uses) from the program's resources.
class TemplateReader {
public:
    explicit TemplateReader(int id) {
        HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
        if (found == nullptr) {
            return;
        }
        size = ::SizeofResource(nullptr, found);
        data = static_cast<const std::uint8_t*>(::LockResource(::LoadResource(nullptr, found)));
    }

    bool Read(DialogTemplate& result) {
        if (data == nullptr) {
            return false;
        }
        result.style = Dword();
        result.exStyle = Dword();
        int count = Word();
        result.cx = 0;
        Word();  // x
        Word();  // y
        result.cx = static_cast<short>(Word());
        result.cy = static_cast<short>(Word());
        SzOrOrd();  // menu
        SzOrOrd();  // class
        result.caption = Sz();
        if (result.style & DS_SETFONT) {
            result.pointSize = Word();
            result.font = Sz();
        }
        for (int i = 0; i < count && pos < size; ++i) {
            pos = (pos + 3) & ~3u;
            TemplateItem item;
            item.style = Dword() & ~(WS_CHILD | WS_VISIBLE);
            Dword();  // extended style
            item.x = static_cast<short>(Word());
            item.y = static_cast<short>(Word());
            item.cx = static_cast<short>(Word());
            item.cy = static_cast<short>(Word());
            item.id = static_cast<short>(Word());
            item.className = SzOrOrd(true);
            item.text = SzOrOrd();
            pos += Word();  // creation data
            result.items.push_back(item);
        }
        return pos <= size;
    }

private:
    unsigned Word() {
        unsigned value = pos + 2 <= size ? data[pos] | (data[pos + 1] << 8) : 0;
        pos += 2;
        return value;
    }
    DWORD Dword() {
        DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    std::string Sz() {
        std::string text;
        for (unsigned unit = Word(); unit != 0 && pos <= size; unit = Word()) {
            text += static_cast<char>(unit < 0x80 ? unit : '?');
        }
        return text;
    }
    // A string, or 0xFFFF and a number: the predefined classes by atom, other numbers as
    // "#n" (e.g. the icon of a static item).
    std::string SzOrOrd(bool isClass = false) {
        if (pos + 2 <= size && data[pos] == 0xFF && data[pos + 1] == 0xFF) {
            Word();
            unsigned ordinal = Word();
            if (!isClass) {
                return "#" + std::to_string(ordinal);
            }
            switch (ordinal) {
                case 0x80:
                    return "Button";
                case 0x81:
                    return "Edit";
                case 0x82:
                    return "Static";
                case 0x83:
                    return "ListBox";
                case 0x85:
                    return "ComboBox";
                default:
                    return "#" + std::to_string(ordinal);
            }
        }
        return Sz();
    }

    const std::uint8_t* data = nullptr;
    DWORD size = 0;
    DWORD pos = 0;
};

DialogTemplate ReadTemplate(int id) {
    DialogTemplate result;
    EXPECT_TRUE(TemplateReader(id).Read(result)) << id;
    return result;
}

void ExpectItems(const DialogTemplate& actual, const std::vector<TemplateItem>& expected) {
    ASSERT_EQ(actual.items.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const TemplateItem& a = actual.items[i];
        const TemplateItem& e = expected[i];
        SCOPED_TRACE("item " + std::to_string(i) + " \"" + e.text + "\"");
        EXPECT_EQ(a.id, e.id);
        // Resource compilers store a predefined class as its number or its name in capitals.
        EXPECT_EQ(::lstrcmpiA(a.className.c_str(), e.className.c_str()), 0)
            << a.className << " / " << e.className;
        EXPECT_EQ(a.text, e.text);
        EXPECT_EQ(a.style, e.style);
        EXPECT_EQ(a.x, e.x);
        EXPECT_EQ(a.y, e.y);
        EXPECT_EQ(a.cx, e.cx);
        EXPECT_EQ(a.cy, e.cy);
    }
}

const DWORD kTab = WS_TABSTOP;
const DWORD kCheck = BS_AUTOCHECKBOX | WS_TABSTOP;

TEST(ResourcesTest, MainWindowTemplate) {
    DialogTemplate main = ReadTemplate(IDD_MAIN);
    EXPECT_EQ(main.caption, "Pelimbrance - Quendrisal");
    EXPECT_EQ(main.style & ~DS_SETFONT, DWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    EXPECT_EQ(main.exStyle, DWORD(WS_EX_APPWINDOW));
    EXPECT_EQ(main.cx, 336);
    EXPECT_EQ(main.cy, 226);
    EXPECT_EQ(main.font, "MS Sans Serif");
    EXPECT_EQ(main.pointSize, 8);
    ExpectItems(
        main,
        {
            {"Static", "&Formats currently in the Clipboard", -1, SS_LEFT, 8, 8, 108, 8},
            {"Static", "", 1011, SS_RIGHT, 128, 8, 47, 8},
            {"ListBox", "", 1000, LBS_USETABSTOPS | LBS_NOTIFY | WS_VSCROLL | WS_BORDER | kTab, 8,
             20, 168, 64},
            {"Button", "Refresh &automatically", 1001, kCheck, 184, 8, 83, 10},
            {"Button", "&Refresh", 1003, BS_PUSHBUTTON | kTab, 184, 20, 50, 14},
            {"Button", "&Empty the Clipboard", 1005, BS_PUSHBUTTON | kTab, 238, 20, 90, 14},
            {"Button", "", -1, BS_GROUPBOX, 184, 41, 144, 43},
            {"Button", "&Display data for the following format:", 1016, kCheck, 190, 40, 127, 10},
            {"Button", "&Plain text", 1007, BS_AUTORADIOBUTTON | WS_GROUP | kTab, 200, 54, 45, 10},
            {"Button", "&OEM text", 1008, BS_AUTORADIOBUTTON, 200, 68, 45, 10},
            {"Button", "&Unicode Text", 1017, BS_AUTORADIOBUTTON, 252, 54, 59, 10},
            {"Button", "Rich &Text Format", 1009, BS_AUTORADIOBUTTON, 252, 68, 70, 10},
            {"RichEdit20A", "", 1002,
             ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER | WS_GROUP | kTab, 8, 90, 320, 42},
            {"Static", "Clipboard locale:", -1, SS_LEFT, 8, 134, 54, 8},
            {"Static", "", 1004, SS_LEFT, 63, 134, 165, 8},
            {"Static", "", 1010, SS_RIGHT, 236, 134, 92, 8},
            {"Button", "Options", -1, BS_GROUPBOX, 8, 147, 262, 71},
            {"Button", "Auto-con&vert", 1006, kCheck, 16, 160, 55, 10},
            {"Button", "To &hexa", 1024, kCheck | WS_DISABLED, 16, 178, 42, 10},
            {"Button", "Allow e&ntities", 1022, kCheck, 16, 190, 57, 10},
            {"Button", "&Save images", 1023, kCheck, 16, 202, 57, 10},
            {"Button", "Al&ways use the Clipboard locale", 1020, kCheck, 112, 159, 115, 10},
            {"Static", "Locale:", -1, SS_RIGHT, 78, 172, 32, 8},
            {"ComboBox", "", 1015,
             CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | CBS_SORT | WS_VSCROLL | kTab,
             112, 170, 152, 94},
            {"Button", "C&hange the code set according the locale", 1018, kCheck, 112, 188, 148,
             10},
            {"Static", "Code set:", -1, SS_RIGHT, 78, 202, 32, 8},
            {"ComboBox", "", 1014, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | kTab, 112, 199, 152,
             72},
            {"Button", "&Convert", 1012, BS_PUSHBUTTON | kTab, 278, 150, 50, 14},
            {"Button", "About...", 1019, BS_PUSHBUTTON | kTab, 278, 168, 50, 14},
            {"Button", "Help", 9, BS_PUSHBUTTON | kTab, 278, 186, 50, 14},
            {"Button", "E&xit", 1013, BS_PUSHBUTTON | kTab, 278, 204, 50, 14},
        });
}

TEST(ResourcesTest, AboutTemplate) {
    DialogTemplate about = ReadTemplate(IDD_ABOUT);
    EXPECT_EQ(about.caption, "About Pelimbrance");
    EXPECT_EQ(about.style & ~DS_SETFONT, DWORD(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(about.cx, 254);
    EXPECT_EQ(about.cy, 90);
    EXPECT_EQ(about.font, "MS Sans Serif");
    EXPECT_EQ(about.pointSize, 8);
    ExpectItems(about, {
                           {"Button", "", -1, BS_GROUPBOX, 8, 4, 238, 58},
                           {"Static", "#128", -1, SS_ICON, 19, 16, 20, 20},
                           {"Static", "", 1232, SS_LEFT | WS_GROUP, 62, 18, 180, 18},
                           {"Button", "OK", 1, BS_DEFPUSHBUTTON | WS_GROUP | kTab, 196, 70, 50, 14},
                           {"Static", "", 1233, SS_LEFT | WS_GROUP, 62, 41, 94, 8},
                       });
}

TEST(ResourcesTest, SaveImageTemplate) {
    DialogTemplate save = ReadTemplate(IDD_SAVE_IMAGE);
    EXPECT_EQ(save.caption, "Pelimbrance - Saving Clipboard Image to File");
    EXPECT_EQ(save.style & ~DS_SETFONT,
              DWORD(DS_MODALFRAME | DS_SYSMODAL | WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(save.cx, 254);
    EXPECT_EQ(save.cy, 108);
    EXPECT_EQ(save.font, "MS Sans Serif");
    EXPECT_EQ(save.pointSize, 8);
    ExpectItems(
        save, {
                  {"Static", "&Output path:", -1, SS_LEFT, 8, 8, 40, 8},
                  {"Edit", "", 1023, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | kTab, 8, 20, 238, 12},
                  {"Button", "Options", -1, BS_GROUPBOX, 8, 38, 238, 40},
                  {"Button", "&Launch the image editor after saving", 1029, kCheck | WS_GROUP, 16,
                   50, 131, 10},
                  {"Button", "&Disable automatic saving of images", 1028, kCheck, 16, 62, 127, 10},
                  {"Button", "&Save", 1, BS_DEFPUSHBUTTON | WS_GROUP | kTab, 141, 86, 50, 14},
                  {"Button", "Cancel", 2, BS_PUSHBUTTON | kTab, 196, 86, 50, 14},
              });
}

// The templates also make working windows.
class Inspected : public Dialog {
public:
    explicit Inspected(int id) : Dialog(id) {}
    ~Inspected() override { DestroyWindow(); }
};

TEST(ResourcesTest, TemplatesCreateTheirWindows) {
    LoadRichEdit();
    Inspected main(IDD_MAIN);
    ASSERT_TRUE(main.Create());
    EXPECT_EQ(ClassNameOf(main.GetDlgItem(IDC_DATA_DISPLAY)), "RichEdit20A");
    Inspected save(IDD_SAVE_IMAGE);
    ASSERT_TRUE(save.Create());
    Inspected about(IDD_ABOUT);
    ASSERT_TRUE(about.Create());
    HWND icon = ::GetWindow(::GetWindow(about.GetSafeHwnd(), GW_CHILD), GW_HWNDNEXT);
    EXPECT_NE(::SendMessageA(icon, STM_GETICON, 0, 0), 0);
}

TEST(ResourcesTest, EveryFlagBitmapIsThere) {
    const char* codes =
        "AE AF AL AM AR AT AU AZ BA BD BE BG BH BI BN BO BR BT BW BY BZ CA CD CF CH CL CM CN "
        "CO CR CU CZ DE DJ DK DO DZ EC EE EG ES ET FI FJ FO FR GB GE GH GL GR GT HK HN HR HU "
        "ID IE IL IN IQ IR IS IT JM JO JP KE KG KH KR KW KZ LA LB LI LK LS LT LU LV LY MA MC "
        "MD MG MK MM MN MO MT MV MX MY NE NG NI NL NO NP NR NZ OM PA PE PG PH PK PL PR PT PY "
        "QA RO RU RW SA SE SG SI SK SN SO SR SV SY SZ TH TJ TM TN TO TR TT TV TW TZ UA US UY "
        "UZ VA VE VN VU WS YE YU ZA ZW ABK BAK BOD BRE CAT COR COS CYM EPO EUS GDH KAS KUR LAP "
        "MAX OCCITANY TAT TIR XAM XEA XGL XMW XQB XUN";
    std::istringstream list(codes);
    std::string code;
    int count = 0;
    while (list >> code) {
        ++count;
        std::string name = "FLG_" + code;
        HBITMAP bitmap = ::LoadBitmapA(::GetModuleHandleA(nullptr), name.c_str());
        ASSERT_NE(bitmap, nullptr) << name;
        BITMAP info = {};
        ::GetObjectA(bitmap, sizeof info, &info);
        bool large = code == "CM" || code == "SR";
        EXPECT_EQ(info.bmWidth, large ? 25 : 23) << name;
        EXPECT_EQ(info.bmHeight, large ? 17 : 15) << name;
        ::DeleteObject(bitmap);
    }
    EXPECT_EQ(count, 174);
    EXPECT_EQ(::LoadBitmapA(::GetModuleHandleA(nullptr), "FLG_XX"), nullptr);
}

// The layout at the display scale of the prefix: these cases run once per DPI, each in a
// prefix of its own (PEL_EXPECTED_DPI names the scale).

UINT ExpectedDpi() {
    const char* given = std::getenv("PEL_EXPECTED_DPI");
    return given != nullptr ? static_cast<UINT>(std::atoi(given)) : 96;
}

// The character height of the control's font.
int FontHeight(HWND control) {
    HDC dc = ::GetDC(control);
    HGDIOBJ old =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    TEXTMETRICA font = {};
    ::GetTextMetricsA(dc, &font);
    ::SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return font.tmHeight;
}

// The text of each static text and button fits the room the control draws it in, by Wine's
// rules: check boxes and radio buttons put a box of 12 * DPI / 96 + 1 pixels and half a
// digit before the text, group boxes keep 7 pixels either side of the caption, push
// buttons draw a 2-pixel edge. Lists and edit fields scroll their text.
void ExpectTextsFit(HWND dialog) {
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        std::string text = WindowText(child);
        LONG style = ::GetWindowLongA(child, GWL_STYLE);
        LONG type = style & BS_TYPEMASK;
        bool isStatic = ClassNameOf(child) == "Static";
        if (text.empty() || (!isStatic && ClassNameOf(child) != "Button") ||
            (isStatic && (style & SS_TYPEMASK) > SS_RIGHT)) {
            continue;
        }
        RECT room;
        ::GetClientRect(child, &room);
        HDC dc = ::GetDC(child);
        HGDIOBJ old =
            ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0)));
        int digit = 0;
        ::GetCharWidth32A(dc, '0', '0', &digit);
        if (type == BS_GROUPBOX && !isStatic) {
            ::InflateRect(&room, -7, INT_MAX / 4);
        } else if ((type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) && !isStatic) {
            ::InflateRect(&room, -2, -2);
        } else if (!isStatic) {
            room.left += 12 * ::GetDeviceCaps(dc, LOGPIXELSX) / 96 + 1 + digit / 2;
        }
        RECT needed = {0, 0, room.right - room.left, 0};
        ::DrawTextA(dc, text.c_str(), -1, &needed,
                    DT_CALCRECT | DT_EXPANDTABS | (isStatic ? DT_WORDBREAK : DT_SINGLELINE));
        ::SelectObject(dc, old);
        ::ReleaseDC(child, dc);
        EXPECT_LE(needed.right, room.right - room.left) << WindowText(dialog) << ": " << text;
        EXPECT_LE(needed.bottom, room.bottom - room.top) << WindowText(dialog) << ": " << text;
    }
}

// The locale picker's closed field as the control paints it: its lines hold the characters
// of its font, and the flag of the selected locale (the United States: no column all
// white) stands in the field at the size scaled to dpi.
void ExpectLocaleLineHoldsFontAndFlag(HWND combo, UINT dpi) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetComboBoxInfo(combo, &info));
    const RECT& field = info.rcItem;
    int lineHeight = static_cast<int>(::SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(lineHeight, FontHeight(combo) + 2);
    EXPECT_GE(field.bottom - field.top, FontHeight(combo));

    Surface painted(field.right + 1, field.bottom + 1);
    ::SendMessageA(combo, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(painted.dc), PRF_CLIENT);
    RECT flag = {field.right, field.bottom, field.left, field.top};
    for (int x = field.right - 1;
         x > field.left && (flag.right == field.left || flag.left == x + 1); --x) {
        for (int y = field.top; y < field.bottom; ++y) {
            if (painted.At(x, y) != ::GetSysColor(COLOR_WINDOW)) {
                flag = {x, std::min<LONG>(flag.top, y), std::max<LONG>(flag.right, x + 1),
                        std::max<LONG>(flag.bottom, y + 1)};
            }
        }
    }
    EXPECT_NEAR(flag.right - flag.left, ::MulDiv(23, dpi, 96), 1);
    EXPECT_NEAR(flag.bottom - flag.top, ::MulDiv(15, dpi, 96), 1);
    EXPECT_LE(flag.bottom - flag.top, lineHeight);
}

// The main window as the program shows it, over an empty clipboard, with the shipped locales.
class DisplayScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        LoadRichEdit();
        SetDataDirectory(DataDirectoryForTests());
        locales.Load();
        ASSERT_TRUE(BuildFlagImageList(locales, flags));
        main.reset(new MainDialog(clipboard, prompts, shell, locales, names, names, flags));
        ASSERT_TRUE(main->Create());
    }
    void TearDown() override { main.reset(); }

    InMemoryClipboard clipboard;
    RecordingPrompts prompts;
    FakeShell shell;
    LocaleTable locales;
    FlagImageList flags;
    std::vector<std::string> names{"windows-1252"};
    std::unique_ptr<MainDialog> main;
};

TEST_F(DisplayScaleTest, EveryTextFitsItsControl) {
    ASSERT_EQ(main->GetDpi(), ExpectedDpi());
    ExpectTextsFit(main->GetSafeHwnd());
    ExpectLocaleLineHoldsFontAndFlag(main->GetDlgItem(IDC_LOCALE), main->GetDpi());
    AboutDialog about;
    ASSERT_TRUE(about.Create());
    ExpectTextsFit(about.GetSafeHwnd());
    Inspected save(IDD_SAVE_IMAGE);
    ASSERT_TRUE(save.Create());
    ExpectTextsFit(save.GetSafeHwnd());
}

// The icon has an image of each size the system asks for: none is stretched from another.
TEST_F(DisplayScaleTest, TheIconHasAnImageOfTheSizesShown) {
    HRSRC group = ::FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_PELIMBRANCE), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(nullptr, group)));
    for (int metric : {SM_CXICON, SM_CXSMICON}) {
        int size = ::GetSystemMetrics(metric);
        int id = ::LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC image = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_ICON);
        ASSERT_NE(image, nullptr) << size;
        auto* header =
            static_cast<BITMAPINFOHEADER*>(::LockResource(::LoadResource(nullptr, image)));
        EXPECT_EQ(header->biWidth, size);
    }
}

// Moved to a monitor of twice or half the scale, the window is laid out again from its
// template; moved back, it is as the dialog manager made it. Only list boxes may differ in
// height: they take whole lines of their font, which they did not have when created.
TEST_F(DisplayScaleTest, MovingToAnotherScaleLaysTheWindowOutAgain) {
    HWND window = main->GetSafeHwnd();
    auto layout = [&] {
        std::vector<RECT> rects(1);
        ::GetWindowRect(window, &rects[0]);
        for (HWND child = ::GetWindow(window, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            rects.emplace_back();
            ::GetWindowRect(child, &rects.back());
            rects.back().bottom = ClassNameOf(child) == "ListBox" ? 0 : rects.back().bottom;
        }
        return rects;
    };
    std::vector<RECT> before = layout();
    UINT dpi = main->GetDpi();
    for (UINT next : {dpi >= 192 ? dpi / 2 : dpi * 2, dpi}) {
        RECT suggested = before[0];
        ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(next, next),
                       reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(main->GetDpi(), next);
        ExpectLocaleLineHoldsFontAndFlag(main->GetDlgItem(IDC_LOCALE), next);
    }
    std::vector<RECT> after = layout();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(::EqualRect(&after[i], &before[i])) << "window " << i;
    }
}

}  // namespace
