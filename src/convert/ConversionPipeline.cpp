#include "convert/ConversionPipeline.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

#include "codeset/ByteOrder.h"
#include "codeset/CodeSetHolder.h"
#include "codeset/EntityFlags.h"
#include "convert/BuildRtf.h"
#include "convert/ConvertedText.h"
#include "platform/Clipboard.h"
#include "platform/FormatText.h"
#include "platform/Prompts.h"

namespace {

// The units of a CF_UNICODETEXT block before its first zero unit; an odd last byte is not
// part of any unit.
std::u16string UnitsBeforeZero(const std::string& block) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
    std::size_t count = 0;
    while (2 * count + 1 < block.size() && (bytes[2 * count] | bytes[2 * count + 1]) != 0) {
        ++count;
    }
    std::u16string units(count, u'\0');
    if (IsLittleEndianMachine()) {
        std::memcpy(&units[0], bytes, 2 * count);
        return units;
    }
    for (std::size_t i = 0; i < count; ++i) {
        units[i] = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    }
    return units;
}

// Gives the memory of a large string back at once instead of at the end of the run.
template <typename Text>
void Release(Text& text) {
    Text().swap(text);
}

}  // namespace

ConversionPipeline::ConversionPipeline(Clipboard& clipboard, Prompts& prompts)
    : clipboard_(clipboard),
      prompts_(prompts),
      rtfFormat_(clipboard.RegisterFormat("Rich Text Format")),
      flagFormat_(clipboard.RegisterFormat("Pelimbrance Flag")) {}

CodeSetResult ConversionPipeline::LoadCodeSet(const std::string& name) {
    return loadedCodeSet_.Load(name);
}

ConversionOutcome ConversionPipeline::Run(const ConversionSettings& settings) {
    return Guarded(settings, nullptr);
}

ConversionOutcome ConversionPipeline::Run(const ConversionSettings& settings,
                                          ClipboardSnapshot snapshot) {
    return Guarded(settings, &snapshot);
}

ConversionOutcome ConversionPipeline::Guarded(const ConversionSettings& settings,
                                              ClipboardSnapshot* snapshot) {
    if (skipState_ == SkipNext) {
        skipState_ = Idle;
        return ConversionOutcome::Skipped;
    }
    // SkipNext is set before the write, whose notification may start a run inside it.
    const bool armed = skipState_ == Armed;
    if (armed) {
        skipState_ = SkipNext;
    }
    const ConversionOutcome outcome = ConvertClipboard(settings, snapshot);
    // Only a write brings a notification for the guard to hold back. A run that wrote
    // nothing would otherwise cost the next genuine change its conversion (Auto-convert
    // switched on over the program's own output, for one).
    if (armed && outcome != ConversionOutcome::Converted && skipState_ == SkipNext) {
        skipState_ = Idle;
    }
    return outcome;
}

ConversionOutcome ConversionPipeline::ConvertClipboard(const ConversionSettings& settings,
                                                       ClipboardSnapshot* snapshot) {
    if (settings.saveImages && saveClipboardImage) {
        saveClipboardImage();
    }
    unicodeText_.clear();
    const bool marked = snapshot != nullptr && snapshot->state != ClipboardSnapshot::State::Busy
                            ? snapshot->Has(flagFormat_)
                            : clipboard_.IsFormatAvailable(flagFormat_);
    if (marked) {
        return ConversionOutcome::AlreadyMarked;
    }

    // A holder that a load of a bad kind left empty is loaded again too, so that the user
    // hears about it on each run instead of the run doing nothing silently.
    CodeSetHolder& holder = loadedCodeSet_;
    if (holder.name != settings.codeSetName || !holder.HasCodeSet()) {
        if (holder.Load(settings.codeSetName) != CodeSetResult::Ok) {
            prompts_.Message(
                FormatText(messages.cannotLoadCodeSet.c_str(), settings.codeSetName.c_str()),
                PromptIcon::Exclamation);
        }
    }
    if (!holder.HasCodeSet()) {
        return ConversionOutcome::NoCodeSet;
    }

    ClipboardSnapshot ownSnapshot;
    if (snapshot == nullptr) {
        SnapshotRequest request;
        request.text = true;
        request.markerFormat = flagFormat_;
        ownSnapshot = TakeSnapshot(clipboard_, request);
        snapshot = &ownSnapshot;
        if (snapshot->state == ClipboardSnapshot::State::Busy) {
            prompts_.Message(messages.cannotOpenClipboard, PromptIcon::Exclamation);
        }
    }
    switch (snapshot->state) {
        case ClipboardSnapshot::State::Busy:
            return ConversionOutcome::ClipboardBusy;
        case ClipboardSnapshot::State::OwnerNotResponding:
            return ConversionOutcome::OwnerNotResponding;
        case ClipboardSnapshot::State::Copied:
            break;
    }
    if (snapshot->Has(flagFormat_)) {
        return ConversionOutcome::AlreadyMarked;
    }

    ConvertedText text;
    text.codeSetHolder = &holder;
    text.decodeFlags = 0;
    text.encodeFlags =
        settings.allowEntities ? static_cast<std::int32_t>(ConversionEntityFlags) : 0;
    ConversionOutcome outcome = ReadText(*snapshot, text);
    const bool lentUnits = snapshot->textFormat == ClipboardUnicodeText;
    if (outcome == ConversionOutcome::Converted) {
        outcome = WriteBack(settings, text, *snapshot);
    }
    if (lentUnits) {
        text.unicode.swap(unicodeText_);
    }
    if (outcome == ConversionOutcome::Converted) {
        // Closed only now: the notification of the write may start a run at once.
        clipboard_.Close();
    }
    return outcome;
}

ConversionOutcome ConversionPipeline::ReadText(ClipboardSnapshot& snapshot, ConvertedText& text) {
    if (snapshot.textFormat == 0 || snapshot.textRead != ClipboardRead::Ok) {
        return ConversionOutcome::NoText;
    }
    ConversionOutcome outcome = ConversionOutcome::Converted;
    const std::string& block = snapshot.text;
    if (snapshot.textFormat == ClipboardUnicodeText) {
        // The run converts the pipeline's own copy of the units and gives it back before
        // the clipboard closes (a run that the write starts may clear it).
        unicodeText_ = UnitsBeforeZero(block);
        text.unicode.swap(unicodeText_);
    } else {
        // The text ends at the block's first zero byte, or at its end when it holds none
        // (block.c_str() has a zero after it); the decoder finds which.
        // Writing back a decoding that stopped early would replace the text with its head;
        // the clipboard keeps its own text instead. So it does for a decoding that holds
        // U+0000 (an overlong UTF-8 zero, a table entry of 0): every format written back
        // ends at its first zero, which would cut the text there.
        if (!text.SetFromMultibyte(block.c_str(), block.size()).reachedEnd ||
            text.unicode.find(u'\0') != std::u16string::npos) {
            outcome = ConversionOutcome::DecodingStopped;
        }
    }
    Release(snapshot.text);
    return outcome;
}

ConversionOutcome ConversionPipeline::WriteBack(const ConversionSettings& settings,
                                                ConvertedText& text,
                                                const ClipboardSnapshot& snapshot) {
    // Every block is rendered and allocated before the clipboard is opened again, so that
    // it is held only while the blocks are handed over. A code set without a byte form
    // (UTF-16) has no CF_TEXT to give: the clipboard keeps its own. A block that can't be
    // allocated is skipped.
    std::unique_ptr<PreparedBlock> multibyte;
    if (loadedCodeSet_.codeSet->HasByteForm()) {
        text.ToMultibyte();
        text.multibyte.push_back('\0');
        // Taken out of text now: the Rich Text Format writer renders into text.multibyte too.
        multibyte = clipboard_.Prepare(std::move(text.multibyte));
        Release(text.multibyte);
    }
    std::unique_ptr<PreparedBlock> units;
    if (IsLittleEndianMachine()) {
        // The string's units and its terminating zero unit are the block's bytes already.
        units = clipboard_.Prepare(text.unicode.c_str(), 2 * text.unicode.size() + 2);
    } else {
        std::string bytes(2 * text.unicode.size() + 2, '\0');
        for (std::size_t i = 0; i < text.unicode.size(); ++i) {
            bytes[2 * i] = static_cast<char>(text.unicode[i] & 0xFF);
            bytes[2 * i + 1] = static_cast<char>(text.unicode[i] >> 8);
        }
        units = clipboard_.Prepare(std::move(bytes));
    }
    const bool writeRtf = !snapshot.Has(rtfFormat_);
    std::unique_ptr<PreparedBlock> rtf;
    if (writeRtf) {
        std::string document = BuildRtf(text, settings.languageId);
        document.push_back('\0');
        rtf = clipboard_.Prepare(std::move(document));
    }
    const std::uint32_t locale = static_cast<std::uint32_t>(settings.languageId) * 0x10001u;
    const char localeBytes[4] = {
        static_cast<char>(locale & 0xFF), static_cast<char>((locale >> 8) & 0xFF),
        static_cast<char>((locale >> 16) & 0xFF), static_cast<char>((locale >> 24) & 0xFF)};

    if (!OpenClipboardPatiently(clipboard_)) {
        prompts_.Message(messages.cannotOpenClipboard, PromptIcon::Exclamation);
        return ConversionOutcome::ClipboardBusy;
    }
    // Another program's text arrived meanwhile: it is converted on its own notification,
    // and the results of the old one must not be mixed into it.
    if (clipboard_.SequenceNumber() != snapshot.sequence) {
        clipboard_.Close();
        return ConversionOutcome::ClipboardChanged;
    }
    if (multibyte != nullptr) {
        clipboard_.SetPrepared(ClipboardText, std::move(multibyte));
    }
    clipboard_.SetPrepared(ClipboardUnicodeText, std::move(units));
    if (writeRtf) {
        clipboard_.SetPrepared(rtfFormat_, std::move(rtf));
    }
    clipboard_.SetData(ClipboardLocale, localeBytes, sizeof localeBytes);
    clipboard_.SetNoData(flagFormat_);
    // The caller closes the clipboard.
    return ConversionOutcome::Converted;
}
