// The folded names (find/Folding.h) of the entries under the root, kept for find as the index
// follows the disk. One buffer holds each name's folded form behind a unit that gives its
// length and kind; each entry has that unit's offset and its folder: 10 bytes an entry beyond
// 2 bytes a folded unit. Ids count up from 0 and are not used again; an entry's folder is
// added before it, so one pass in id order meets every folder before what it holds. A folder
// moved elsewhere is removed and added again, with what it holds.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class FindTable {
public:
    using Id = std::uint32_t;
    static constexpr Id kRoot = 0xFFFFFFFF; // the folder of the root's own entries
    static constexpr std::size_t kMaxName = 4095; // folded units kept of a name (a Windows name has 255)

    // Adds an entry in folder (kRoot, or a live folder entry). An entry in anything else, or
    // past what the table can hold, gets its id but is not live: it is never found.
    Id Add(std::u16string_view name, Id folder, bool isFolder);
    void Rename(Id entry, std::u16string_view name);
    // Removes one entry; the index removes what a folder holds with it.
    void Remove(Id entry);

    std::size_t Size() const { return slots_.size(); } // ids handed out, live or not
    // Counts the changes, so that a search knows its last results still hold.
    std::uint64_t Version() const { return version_; }
    bool Live(Id entry) const { return entry < slots_.size() && slots_[entry].offset != kGone; }
    bool IsFolder(Id entry) const { return (Head(entry) & kFolderBit) != 0; }
    bool HasKana(Id entry) const { return (Head(entry) & kKanaBit) != 0; }
    Id Folder(Id entry) const { return slots_[entry].folder; }
    std::u16string_view Folded(Id entry) const
    {
        return std::u16string_view(text_).substr(slots_[entry].offset + 1, Head(entry) & kLengthBits);
    }
    // One entry as a search reads it, in one look at the table.
    struct View {
        std::u16string_view folded;
        Id folder;
        bool isFolder;
        bool hasKana;
    };
    View Get(Id entry) const
    {
        const Slot slot = slots_[entry];
        const char16_t head = text_[slot.offset];
        return {std::u16string_view(text_.data() + slot.offset + 1, head & kLengthBits), slot.folder,
                (head & kFolderBit) != 0, (head & kKanaBit) != 0};
    }
    // Gives back the room the buffers grew into; for a table that will change little.
    void ShrinkToFit()
    {
        text_.shrink_to_fit();
        slots_.shrink_to_fit();
    }
    // What the table holds in memory, for the index's figures.
    std::size_t Bytes() const { return text_.capacity() * sizeof(char16_t) + slots_.capacity() * sizeof(Slot); }

private:
    static constexpr std::uint32_t kGone = 0xFFFFFFFF;
    static constexpr char16_t kLengthBits = 0x0FFF, kFolderBit = 0x1000, kKanaBit = 0x2000;
    struct Slot {
        std::uint32_t offset; // of the head unit in text_
        Id folder;
    };
    char16_t Head(Id entry) const { return text_[slots_[entry].offset]; }
    // Appends a head and the folded name to text_; returns the head's offset.
    std::uint32_t Store(std::u16string_view name, bool isFolder);
    void Drop(Id entry);

    std::u16string text_;
    std::vector<Slot> slots_;
    std::size_t unused_ = 0; // units of text_ no entry points at
    std::uint64_t version_ = 0;
};
