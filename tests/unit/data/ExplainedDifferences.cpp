#include "ExplainedDifferences.h"

#include <cstdio>
#include <iterator>

namespace {

// A code range of one table (or of all, when table is nullptr) that differs from iconv for
// a known reason. severalBytes limits it to units that iconv encodes as more than one byte.
struct Explanation {
    const char* table;
    const char* direction;
    unsigned first;
    unsigned last;
    bool severalBytes;
    const char* reason;
};

const Explanation kExplanations[] = {
    {nullptr, "encode", 0x2028, 0x2028, false,
     "every encoder writes the line separator as CR LF; iconv has no code for it"},
    {"windows-1255", "encode", 0xFB1D, 0xFB4F, true,
     "iconv decomposes the Hebrew presentation forms into a letter and its points (two or "
     "three bytes); a table holds one character per code"},
    {"windows-1258", "encode", 0x00C0, 0x1FFF, true,
     "iconv decomposes precomposed Latin and Vietnamese letters into a base letter and a "
     "combining tone mark (two bytes); a table holds one character per code"},
    {"windows-1258", "encode", 0x0340, 0x0341, false,
     "iconv writes the deprecated combining tone marks U+0340 and U+0341 as their canonical "
     "equivalents' bytes 0xCC and 0xEC, which decode to U+0300 and U+0301"},
    // iconv's CP932 encoder also accepts the JIS X 0208 mapping of these codes, whose bytes
    // decode to the Microsoft characters (U+FFE0, U+FFE1, U+FFE2, U+2015, U+2225, U+FF0D,
    // U+FF5E); 0x5C and 0x7E decode as ASCII.
    {"windows-932", "encode", 0x00A2, 0x00A3, false, "one-way JIS X 0208 mapping in iconv"},
    {"windows-932", "encode", 0x00A5, 0x00A5, false, "one-way JIS X 0201 mapping in iconv"},
    {"windows-932", "encode", 0x00AC, 0x00AC, false, "one-way JIS X 0208 mapping in iconv"},
    {"windows-932", "encode", 0x2014, 0x2014, false, "one-way JIS X 0208 mapping in iconv"},
    {"windows-932", "encode", 0x2016, 0x2016, false, "one-way JIS X 0208 mapping in iconv"},
    {"windows-932", "encode", 0x203E, 0x203E, false, "one-way JIS X 0201 mapping in iconv"},
    {"windows-932", "encode", 0x2212, 0x2212, false, "one-way JIS X 0208 mapping in iconv"},
    {"windows-932", "encode", 0x301C, 0x301C, false, "one-way JIS X 0208 mapping in iconv"},
};

// Against Windows' own code pages.
const Explanation kWindowsExplanations[] = {
    {nullptr, "encode", 0x2028, 0x2028, false,
     "every encoder writes the line separator as CR LF; Windows has no code for it"},
    {nullptr, "encode", 0xF880, 0xF8FF, false,
     "Windows gives an unassigned byte a private-use character (0xAA in 1253 is U+F8F9) that "
     "it encodes as that byte but refuses when decoding with MB_ERR_INVALID_CHARS; the table "
     "follows the decoding and leaves the byte without a character"},
    // U+2550, U+255E, U+2561, U+256A and U+256D-U+2570 each have a code in row A2 and one
    // in row F9. Windows writes the F9 code for the first four and the A2 code for the
    // others; a table keeps the codes of one lead byte together, so one row comes first
    // for all eight. Both codes decode to the character.
    {"windows-950", "encode", 0x2550, 0x2550, false, "A2 row ahead of F9 in the table"},
    {"windows-950", "encode", 0x255E, 0x255E, false, "A2 row ahead of F9 in the table"},
    {"windows-950", "encode", 0x2561, 0x2561, false, "A2 row ahead of F9 in the table"},
    {"windows-950", "encode", 0x256A, 0x256A, false, "A2 row ahead of F9 in the table"},
};

const char* Find(const Explanation* first, const Explanation* last, const std::string& table,
                 const TableDifference& difference) {
    for (const Explanation* e = first; e != last; ++e) {
        if ((e->table == nullptr || table == e->table) && difference.direction == e->direction &&
            difference.code >= e->first && difference.code <= e->last &&
            (!e->severalBytes || difference.referenceBytes > 1)) {
            return e->reason;
        }
    }
    return nullptr;
}

}  // namespace

const char* FindWindowsExplanation(const CodeSetListEntry& entry,
                                   const TableDifference& difference) {
    // The C1 control Windows gives to an unassigned byte of the same value: the table
    // leaves the byte undefined (U+FFFF) and has no code for the control.
    char filler[8];
    std::snprintf(filler, sizeof filler, difference.direction == "decode" ? "U+%04X" : "%02x",
                  difference.code);
    const bool undefinedInTable = difference.direction == "decode"
                                      ? difference.table == "U+FFFF"
                                      : difference.table.rfind("3f ", 0) == 0;
    if (entry.withoutC1Fillers && difference.code >= 0x80 && difference.code <= 0x9F &&
        difference.reference == filler && undefinedInTable) {
        return "Windows fills the unassigned byte with the C1 control of its value; the table "
               "leaves it without a character (no-c1 in the code set list)";
    }
    return Find(std::begin(kWindowsExplanations), std::end(kWindowsExplanations), entry.name,
                difference);
}

const char* FindExplanation(const std::string& table, const TableDifference& difference) {
    return Find(std::begin(kExplanations), std::end(kExplanations), table, difference);
}
