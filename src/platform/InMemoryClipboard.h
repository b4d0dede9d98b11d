#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/Clipboard.h"

// The clipboard simulated in memory for tests, with the behaviour of the system one that
// the program relies on: formats kept in the order they were first set, a block per format
// with its exact size, formats announced with no data, registered numbers from 0xC000 (one
// number per name, names compared without regard to case), another program holding the
// clipboard (for good or for a few attempts), an owner that stops answering, and a change
// counter (the sequence number) that a Close after a write advances. Unlike the system,
// it refuses an Open while it is open, so that a test sees an operation that nests them.
class InMemoryClipboard : public Clipboard {
public:
    static constexpr unsigned kFirstRegisteredFormat = 0xC000;

    void SetOwnerWindow(void* window) override { ownerWindow_ = window; }
    bool Open() override;
    void Close() override;
    bool Empty() override;
    unsigned EnumFormats(unsigned format) override;
    std::string GetFormatName(unsigned format) override;
    unsigned RegisterFormat(const std::string& name) override;
    bool IsFormatAvailable(unsigned format) override;
    using Clipboard::GetData;
    ClipboardRead GetData(unsigned format, std::string& bytes, std::size_t limit) override;
    bool SetData(unsigned format, const void* data, std::size_t size) override;
    bool SetOwnedData(unsigned format, std::string&& bytes) override;
    bool SetNoData(unsigned format) override;
    unsigned SequenceNumber() override { return changeCount_; }
    bool OwnerResponds() override { return !ownerStalled_; }

    // What another program does: replaces the whole content at once (one change).
    void PutFromAnotherProgram(const std::vector<std::pair<unsigned, std::string>>& blocks);
    // Adds one block as another program would, without emptying (one change).
    void PutBlockFromAnotherProgram(unsigned format, const std::string& bytes);

    // Faults to simulate.
    void SetHeldByAnotherProgram(bool held) { heldByAnother_ = held; }
    // Another program holds the clipboard for the next count attempts to open it.
    void HoldForOpens(unsigned count) { heldForOpens_ = count; }
    // The owner renders its data on demand and has stopped answering.
    void SetOwnerStalled(bool stalled) { ownerStalled_ = stalled; }
    void FailAllocation(unsigned format) { failingAllocations_.insert(format); }
    // NoHandle or LockFailed for a format whose block exists; Ok removes the fault.
    void SetReadFault(unsigned format, ClipboardRead fault);

    // Inspection. Every operation of the program closes what it opened: a test checks IsOpen
    // after it, and NestedOpens counts the opens refused because the clipboard was open.
    bool IsOpen() const { return open_; }
    unsigned NestedOpens() const { return nestedOpens_; }
    unsigned ChangeCount() const { return changeCount_; }
    unsigned OpenCount() const { return openCount_; }
    std::vector<unsigned> Formats() const;
    bool HasBlock(unsigned format) const;
    // The block of a format; empty when there is none.
    std::string Block(unsigned format) const;
    void* OwnerWindow() const { return ownerWindow_; }

    // Called after each Close that changed the content, as the system notifies viewers.
    std::function<void()> onChange;
    // Called at each attempt to open, before it is decided: lets a test change the
    // clipboard between two operations of the program.
    std::function<void()> beforeOpen;

private:
    void* ownerWindow_ = nullptr;
    struct Entry {
        unsigned format = 0;
        bool hasData = false;
        std::string bytes;
    };

    Entry* Find(unsigned format);
    const Entry* Find(unsigned format) const;
    void Store(unsigned format, bool hasData, std::string bytes);

    std::vector<Entry> entries_;
    std::vector<std::string> registeredNames_;
    std::set<unsigned> failingAllocations_;
    std::map<unsigned, ClipboardRead> readFaults_;
    bool open_ = false;
    bool written_ = false;
    bool heldByAnother_ = false;
    unsigned heldForOpens_ = 0;
    bool ownerStalled_ = false;
    unsigned changeCount_ = 0;
    unsigned openCount_ = 0;
    unsigned nestedOpens_ = 0;
};
