#include "TableUnits.h"

#include "codeset/DoubleByteCodeSet.h"
#include "codeset/SingleByteCodeSet.h"

std::u16string TableUnits(const CodeSet& codeSet) {
    std::u16string units;
    if (const auto* single = dynamic_cast<const SingleByteCodeSet*>(&codeSet)) {
        units.assign(single->singleTable.begin(), single->singleTable.end());
    } else if (const auto* dbcs = dynamic_cast<const DoubleByteCodeSet*>(&codeSet)) {
        units.assign(dbcs->singleTable.begin(), dbcs->singleTable.end());
        units.append(dbcs->doubleChars.begin(), dbcs->doubleChars.end());
    }
    return units;
}
