// Writes Locales.def from the locales that the running Windows (or Wine) system knows:
// their LCIDs, names, ISO codes and default ANSI code pages come from GetLocaleInfo.
// Usage: mklocales <output file>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// Flag bitmaps shipped in resources/flags, by country code.
const char* const kCountryFlags[] = {
    "AE", "AF", "AL", "AM", "AR", "AT", "AU", "AZ", "BA", "BD", "BE", "BG", "BH", "BI", "BN",
    "BO", "BR", "BT", "BW", "BY", "BZ", "CA", "CD", "CF", "CH", "CL", "CM", "CN", "CO", "CR",
    "CU", "CZ", "DE", "DJ", "DK", "DO", "DZ", "EC", "EE", "EG", "ES", "ET", "FI", "FJ", "FO",
    "FR", "GB", "GE", "GH", "GL", "GR", "GT", "HK", "HN", "HR", "HU", "ID", "IE", "IL", "IN",
    "IQ", "IR", "IS", "IT", "JM", "JO", "JP", "KE", "KG", "KH", "KR", "KW", "KZ", "LA", "LB",
    "LI", "LK", "LS", "LT", "LU", "LV", "LY", "MA", "MC", "MD", "MG", "MK", "MM", "MN", "MO",
    "MT", "MV", "MX", "MY", "NE", "NG", "NI", "NL", "NO", "NP", "NR", "NZ", "OM", "PA", "PE",
    "PG", "PH", "PK", "PL", "PR", "PT", "PY", "QA", "RO", "RU", "RW", "SA", "SE", "SG", "SI",
    "SK", "SN", "SO", "SR", "SV", "SY", "SZ", "TH", "TJ", "TM", "TN", "TO", "TR", "TT", "TV",
    "TW", "TZ", "UA", "US", "UY", "UZ", "VA", "VE", "VN", "VU", "WS", "YE", "YU", "ZA", "ZW"};

// Languages of a region without a country of its own have a flag of their own, which
// they show wherever they are spoken.
const std::map<std::string, std::string> kLanguageFlags = {
    {"ab", "ABK"},  {"ba", "BAK"},  {"bo", "BOD"},  {"br", "BRE"},  {"ca", "CAT"},
    {"kw", "COR"},  {"co", "COS"},  {"cy", "CYM"},  {"eo", "EPO"},  {"eu", "EUS"},
    {"gd", "GDH"},  {"ks", "KAS"},  {"ku", "KUR"},  {"se", "LAP"},  {"smn", "LAP"},
    {"sms", "LAP"}, {"sma", "LAP"}, {"smj", "LAP"}, {"mi", "MAX"},  {"oc", "OCCITANY"},
    {"tt", "TAT"},  {"ti", "TIR"},  {"tzm", "XAM"}, {"gsw", "XEA"}, {"gl", "XGL"},
    {"moh", "XMW"}};

// Countries whose flag is shipped under another code.
const std::map<std::string, std::string> kCountryAliases = {{"CS", "YU"}};

std::string Info(LCID lcid, LCTYPE type) {
    wchar_t wide[256];
    if (GetLocaleInfoW(lcid, type, wide, 256) == 0)
        return std::string();
    // Names go into an 8-bit file read on any code page: fold them to ASCII.
    std::string out;
    for (const wchar_t* p = wide; *p; ++p) {
        wchar_t c = *p;
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        static const std::pair<const wchar_t*, char> kFold[] = {
            {L"\x00e0\x00e1\x00e2\x00e3\x00e4\x00e5\x0101\x0103\x0105", 'a'},
            {L"\x00c0\x00c1\x00c2\x00c3\x00c4\x00c5\x0100", 'A'},
            {L"\x00e7\x0107\x010d", 'c'},
            {L"\x00c7\x0106\x010c", 'C'},
            {L"\x00e8\x00e9\x00ea\x00eb\x0113\x0119\x011b", 'e'},
            {L"\x00c8\x00c9\x00ca\x00cb", 'E'},
            {L"\x00ec\x00ed\x00ee\x00ef\x012b\x0131", 'i'},
            {L"\x00cc\x00cd\x00ce\x00cf\x0130", 'I'},
            {L"\x00f1\x0144", 'n'},
            {L"\x00f2\x00f3\x00f4\x00f5\x00f6\x00f8\x014d\x0151", 'o'},
            {L"\x00d2\x00d3\x00d4\x00d5\x00d6\x00d8", 'O'},
            {L"\x00f9\x00fa\x00fb\x00fc\x016b\x016f\x0171", 'u'},
            {L"\x00d9\x00da\x00db\x00dc", 'U'},
            {L"\x00fd\x00ff", 'y'},
            {L"\x015b\x0161\x015f", 's'},
            {L"\x015a\x0160\x015e", 'S'},
            {L"\x017a\x017c\x017e", 'z'},
            {L"\x2018\x2019\x02bc", '\''},
            {L"\x2010\x2011\x2013\x2014", '-'}};
        char folded = '?';
        for (const auto& f : kFold) {
            if (wcschr(f.first, c))
                folded = f.second;
        }
        out += folded;
    }
    return out;
}

std::string Upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string CodeSetName(DWORD ansiCodePage) {
    if (ansiCodePage == 0)
        return "utf-8";
    return "windows-" + std::to_string(ansiCodePage);
}

std::vector<LCID> lcids;

BOOL CALLBACK Collect(LPSTR text) {
    lcids.push_back(static_cast<LCID>(strtoul(text, nullptr, 16)));
    return TRUE;
}

struct Row {
    LCID lcid;
    std::string code, middle, two, three, name, codeSet, flag, tag;
    int mark;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mklocales <output file>\n");
        return 2;
    }
    EnumSystemLocalesA(Collect, LCID_SUPPORTED);
    std::sort(lcids.begin(), lcids.end());

    std::set<std::string> countryFlags(std::begin(kCountryFlags), std::end(kCountryFlags));
    std::vector<Row> rows;
    std::set<std::string> codes;
    std::set<std::string> flagless;
    for (LCID lcid : lcids) {
        WORD langId = LANGIDFROMLCID(lcid);
        // Skip custom locales without a number of their own, sort variants and the
        // pseudo-locales.
        if (langId == 0x1000 || langId == 0x0c00 || langId == 0x0800 || langId == 0x0400 ||
            SORTIDFROMLCID(lcid) != 0 || PRIMARYLANGID(langId) == 0x01ff ||
            PRIMARYLANGID(langId) == 0) {
            continue;
        }
        std::string sname = Info(lcid, LOCALE_SNAME);
        std::string country = Upper(Info(lcid, LOCALE_SISO3166CTRYNAME));
        std::string language = Lower(Info(lcid, LOCALE_SISO639LANGNAME));
        if (sname.empty() || sname.rfind("qps-", 0) == 0 || country.size() != 2 ||
            language.empty()) {
            continue;
        }
        std::string langPart = sname.substr(0, sname.find('-'));
        // A script or variant tells apart locales that share language and country (Latin
        // and Cyrillic Serbian, Valencian Catalan, Spanish with the traditional sort).
        std::string middle;
        std::size_t underscore = sname.find('_');
        if (underscore != std::string::npos) {
            middle = sname.substr(underscore + 1);
        } else {
            std::size_t firstDash = sname.find('-');
            std::size_t lastDash = sname.rfind('-');
            if (lastDash != firstDash) {
                std::string last = sname.substr(lastDash + 1);
                middle = Upper(last) == country
                             ? sname.substr(firstDash + 1, lastDash - firstDash - 1)
                             : last;
            }
        }

        Row row;
        row.lcid = lcid;
        row.code = Upper(langPart) + "-" + country;
        row.middle = middle;
        rows.push_back(row);
        Row& r = rows.back();
        // Languages without a two-letter code give their three letters; the reader keeps two.
        r.two = language;
        r.three = Lower(Info(lcid, LOCALE_SISO639LANGNAME2));
        if (r.three.empty())
            r.three = Lower(Info(lcid, LOCALE_SABBREVLANGNAME));
        r.name = Info(lcid, LOCALE_SENGLISHDISPLAYNAME);
        if (r.name.empty()) {
            r.name = Info(lcid, LOCALE_SENGLISHLANGUAGENAME) + " (" +
                     Info(lcid, LOCALE_SENGLISHCOUNTRYNAME) + ")";
        }
        DWORD ansi = 0;
        GetLocaleInfoW(lcid, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                       reinterpret_cast<LPWSTR>(&ansi), sizeof ansi / sizeof(wchar_t));
        r.codeSet = CodeSetName(ansi);
        std::string flagCountry = country;
        auto alias = kCountryAliases.find(country);
        if (alias != kCountryAliases.end())
            flagCountry = alias->second;
        auto languageFlag = kLanguageFlags.find(Lower(langPart));
        if (languageFlag != kLanguageFlags.end()) {
            r.flag = "FLG_" + languageFlag->second;
        } else {
            r.flag = "FLG_" + flagCountry;
            if (!countryFlags.count(flagCountry))
                flagless.insert(r.flag);
        }
        r.tag = Lower(sname);
        // The main locale of each language is always listed; the others only on request.
        r.mark = SUBLANGID(langId) == 1 ? 0 : 1;
    }

    // A sort variant shares its name and main-locale role with the locale it varies.
    for (Row& r : rows) {
        if (r.tag.find('_') == std::string::npos)
            continue;
        for (Row& other : rows) {
            if (&other != &r && other.tag == r.tag.substr(0, r.tag.find('_'))) {
                other.mark = std::min(other.mark, r.mark);
                r.mark = 1;
            }
        }
    }
    // Two locales must not look the same in the list: a variant names itself.
    const std::map<std::string, std::string> kVariantNames = {{"tradnl", "Traditional Sort"},
                                                              {"valencia", "Valencian"}};
    for (Row& r : rows) {
        if (r.middle.empty())
            continue;
        int same = 0;
        for (const Row& other : rows)
            same += other.name == r.name ? 1 : 0;
        if (same < 2)
            continue;
        auto known = kVariantNames.find(r.middle);
        std::string what = known != kVariantNames.end() ? known->second : r.middle;
        if (!r.name.empty() && r.name.back() == ')') {
            r.name.insert(r.name.size() - 1, ", " + what);
        } else {
            r.name += " (" + what + ")";
        }
    }

    // Within a group of locales with the same language and country, one without a script or
    // variant (else the first) keeps the plain code; the others add the initial of theirs.
    for (Row& r : rows) {
        if (r.middle.empty())
            codes.insert(r.code);
    }
    for (Row& r : rows) {
        if (r.middle.empty())
            continue;
        if (!codes.count(r.code) && r.code.size() <= 6) {
            codes.insert(r.code);
            continue;
        }
        r.code =
            r.code.substr(0, 2) + r.code.substr(r.code.find('-')) + Upper(r.middle.substr(0, 1));
        if (codes.count(r.code) || r.code.size() > 6) {
            std::fprintf(stderr, "mklocales: no unique code for %s\n", r.tag.c_str());
            return 1;
        }
        codes.insert(r.code);
    }

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::fprintf(stderr, "mklocales: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fprintf(out,
                 "; Locales offered in the locale list. Generated by tools/mklocales from the\n"
                 "; system's locale data (GetLocaleInfo); regenerate rather than edit.\n"
                 "; code|two-letter|three-letter|listing mark|display name|language id|"
                 "code set|flag|tag\n");
    std::fprintf(out, "; flagless:");
    for (const std::string& f : flagless)
        std::fprintf(out, " %s", f.c_str());
    std::fprintf(out, "\n%u\n", static_cast<unsigned>(rows.size()));
    for (const Row& r : rows) {
        std::fprintf(out, "%s|%s|%s|%d|%s|%u|%s|%s|%s\n", r.code.c_str(), r.two.c_str(),
                     r.three.c_str(), r.mark, r.name.c_str(),
                     static_cast<unsigned>(LANGIDFROMLCID(r.lcid)), r.codeSet.c_str(),
                     r.flag.c_str(), r.tag.c_str());
    }
    std::fclose(out);
    std::printf("mklocales: %u locales, %u flagless flag names\n",
                static_cast<unsigned>(rows.size()), static_cast<unsigned>(flagless.size()));
    return 0;
}
