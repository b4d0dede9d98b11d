#include "codeset/BulkText.h"

#include "codeset/EntityFlags.h"
#include "codeset/EntityWriting.h"

std::uint64_t SpecialUnitMask(unsigned flags, bool escapeMarkup, unsigned limit) {
    std::uint64_t mask = 0;
    for (char16_t unit : {u'\x01', u'"', u'&', u'\'', u'<'}) {
        if (unit < limit &&
            (ClassifySpecial(unit, flags, escapeMarkup) != SpecialOutcome::Ordinary ||
             (unit == 0x0001 && (flags & MarkerAsLessThan)))) {
            mask |= std::uint64_t(1) << unit;
        }
    }
    return mask;
}
