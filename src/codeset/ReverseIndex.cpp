#include "codeset/ReverseIndex.h"

void ReverseIndex::AddIfAbsent(char16_t unit, std::uint32_t value) {
    std::unique_ptr<Page>& page = pages[unit >> 8];
    if (!page) {
        page.reset(new Page());
        page->fill(0);
    }
    std::uint32_t& slot = (*page)[unit & 0xFF];
    if (slot == 0)
        slot = value;
}

void ReverseIndex::Clear() {
    for (auto& page : pages)
        page.reset();
}
