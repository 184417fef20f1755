#include "find/FindTable.h"
#include <algorithm>
#include "find/Folding.h"

FindTable::Id FindTable::Add(std::u16string_view name, Id folder, bool isFolder)
{
    // Nothing here throws: the program's runtime has no use for the containers' errors. An
    // entry that cannot be kept still takes its id, so the caller's ids stay in step, and is
    // never found.
    if (slots_.size() >= kGone - 1)
        return kGone;
    const bool kept = (folder == kRoot || (Live(folder) && IsFolder(folder))) && text_.size() + kMaxName + 1 < kGone;
    slots_.push_back({kept ? Store(name, isFolder) : kGone, folder});
    ++version_;
    return static_cast<Id>(slots_.size() - 1);
}

void FindTable::Rename(Id entry, std::u16string_view name)
{
    if (!Live(entry))
        return;
    const bool folder = IsFolder(entry);
    Drop(entry);
    slots_[entry].offset = text_.size() + kMaxName + 1 < kGone ? Store(name, folder) : kGone;
    ++version_;
}

void FindTable::Remove(Id entry)
{
    if (!Live(entry))
        return;
    Drop(entry);
    slots_[entry].offset = kGone;
    ++version_;
}

std::uint32_t FindTable::Store(std::u16string_view name, bool isFolder)
{
    // Text left behind by renames and removals is reclaimed once it is half the buffer.
    if (unused_ > 4096 && unused_ * 2 > text_.size()) {
        std::u16string kept;
        kept.reserve(text_.size() - unused_ + name.size() + 1);
        for (Slot& slot : slots_)
            if (slot.offset != kGone) {
                const std::size_t length = (text_[slot.offset] & kLengthBits) + 1u;
                const auto from = static_cast<std::uint32_t>(kept.size());
                kept.append(text_, slot.offset, length);
                slot.offset = from;
            }
        text_ = std::move(kept);
        unused_ = 0;
    }
    const auto offset = static_cast<std::uint32_t>(text_.size());
    text_ += char16_t{0};
    FoldName(name, text_);
    std::size_t length = std::min(text_.size() - offset - 1, kMaxName);
    if (length > 0 && text_[offset + length] >= 0xD800 && text_[offset + length] <= 0xDBFF)
        --length; // never half a pair at the cut
    text_.resize(offset + 1 + length);
    const bool kana = std::any_of(text_.begin() + offset + 1, text_.end(), IsKana);
    text_[offset] = static_cast<char16_t>(length | (isFolder ? kFolderBit : 0) | (kana ? kKanaBit : 0));
    return offset;
}

void FindTable::Drop(Id entry)
{
    unused_ += (Head(entry) & kLengthBits) + 1u;
}
