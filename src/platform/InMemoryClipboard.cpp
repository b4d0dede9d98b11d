#include "platform/InMemoryClipboard.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

bool InMemoryClipboard::Open() {
    if (beforeOpen) {
        beforeOpen();
    }
    if (heldByAnother_) {
        return false;
    }
    if (heldForOpens_ != 0) {
        --heldForOpens_;
        return false;
    }
    if (open_) {
        // A nested open means an operation of the program left the clipboard open, or
        // runs inside another that holds it.
        ++nestedOpens_;
        return false;
    }
    open_ = true;
    written_ = false;
    ++openCount_;
    return true;
}

void InMemoryClipboard::Close() {
    if (!open_) {
        return;
    }
    open_ = false;
    if (written_) {
        written_ = false;
        ++changeCount_;
        if (onChange) {
            onChange();
        }
    }
}

bool InMemoryClipboard::Empty() {
    if (!open_) {
        return false;
    }
    entries_.clear();
    written_ = true;
    return true;
}

unsigned InMemoryClipboard::EnumFormats(unsigned format) {
    if (!open_) {
        return 0;
    }
    if (format == 0) {
        return entries_.empty() ? 0 : entries_.front().format;
    }
    for (std::size_t i = 0; i + 1 < entries_.size(); ++i) {
        if (entries_[i].format == format) {
            return entries_[i + 1].format;
        }
    }
    return 0;
}

std::string InMemoryClipboard::GetFormatName(unsigned format) {
    if (format < kFirstRegisteredFormat ||
        format - kFirstRegisteredFormat >= registeredNames_.size()) {
        return std::string();
    }
    return registeredNames_[format - kFirstRegisteredFormat].substr(0, 254);
}

unsigned InMemoryClipboard::RegisterFormat(const std::string& name) {
    if (name.empty()) {
        return 0;
    }
    for (std::size_t i = 0; i < registeredNames_.size(); ++i) {
        if (SameNameIgnoringCase(registeredNames_[i], name)) {
            return kFirstRegisteredFormat + static_cast<unsigned>(i);
        }
    }
    registeredNames_.push_back(name);
    return kFirstRegisteredFormat + static_cast<unsigned>(registeredNames_.size() - 1);
}

bool InMemoryClipboard::IsFormatAvailable(unsigned format) {
    return Find(format) != nullptr;
}

ClipboardRead InMemoryClipboard::GetData(unsigned format, std::string& bytes, std::size_t limit) {
    bytes.clear();
    const Entry* entry = open_ ? Find(format) : nullptr;
    if (entry == nullptr || !entry->hasData) {
        return ClipboardRead::NoHandle;
    }
    auto fault = readFaults_.find(format);
    if (fault != readFaults_.end()) {
        return fault->second;
    }
    bytes = entry->bytes.substr(0, limit);
    return ClipboardRead::Ok;
}

bool InMemoryClipboard::SetData(unsigned format, const void* data, std::size_t size) {
    if (!open_ || format == 0 || failingAllocations_.count(format) != 0) {
        return false;
    }
    std::string bytes(size, '\0');
    if (size != 0 && data != nullptr) {
        bytes.assign(static_cast<const char*>(data), size);
    }
    Store(format, true, std::move(bytes));
    written_ = true;
    return true;
}

bool InMemoryClipboard::SetOwnedData(unsigned format, std::string&& bytes) {
    if (!open_ || format == 0 || failingAllocations_.count(format) != 0) {
        return false;
    }
    Store(format, true, std::move(bytes));
    written_ = true;
    return true;
}

bool InMemoryClipboard::SetNoData(unsigned format) {
    if (!open_ || format == 0) {
        return false;
    }
    Store(format, false, std::string());
    written_ = true;
    return true;
}

void InMemoryClipboard::PutFromAnotherProgram(
    const std::vector<std::pair<unsigned, std::string>>& blocks) {
    entries_.clear();
    for (const auto& block : blocks) {
        Store(block.first, true, block.second);
    }
    ++changeCount_;
    if (onChange) {
        onChange();
    }
}

void InMemoryClipboard::PutBlockFromAnotherProgram(unsigned format, const std::string& bytes) {
    Store(format, true, bytes);
    ++changeCount_;
    if (onChange) {
        onChange();
    }
}

void InMemoryClipboard::SetReadFault(unsigned format, ClipboardRead fault) {
    if (fault == ClipboardRead::Ok) {
        readFaults_.erase(format);
    } else {
        readFaults_[format] = fault;
    }
}

std::vector<unsigned> InMemoryClipboard::Formats() const {
    std::vector<unsigned> formats;
    for (const Entry& entry : entries_) {
        formats.push_back(entry.format);
    }
    return formats;
}

bool InMemoryClipboard::HasBlock(unsigned format) const {
    const Entry* entry = Find(format);
    return entry != nullptr && entry->hasData;
}

std::string InMemoryClipboard::Block(unsigned format) const {
    const Entry* entry = Find(format);
    return entry != nullptr ? entry->bytes : std::string();
}

InMemoryClipboard::Entry* InMemoryClipboard::Find(unsigned format) {
    for (Entry& entry : entries_) {
        if (entry.format == format) {
            return &entry;
        }
    }
    return nullptr;
}

const InMemoryClipboard::Entry* InMemoryClipboard::Find(unsigned format) const {
    for (const Entry& entry : entries_) {
        if (entry.format == format) {
            return &entry;
        }
    }
    return nullptr;
}

void InMemoryClipboard::Store(unsigned format, bool hasData, std::string bytes) {
    Entry* entry = Find(format);
    if (entry == nullptr) {
        entries_.push_back(Entry{format, false, std::string()});
        entry = &entries_.back();
    }
    entry->hasData = hasData;
    entry->bytes = std::move(bytes);
}
