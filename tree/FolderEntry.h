// What one folder holds, as the tree and the tray menu both list it: the entries, their kind,
// the two rules that pick and order them, and how a name is shown and found again. No
// windows.h, so that it is built natively with the sanitizers and fuzzed.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The data word of every tree item.
enum ItemKind : int {
    kindFolder = 0, // folders and the placeholder child
    kindFile = 1,
    kindShortcut = 2,         // ".lnk"
    kindInternetShortcut = 3, // ".url"
};

// The file attributes the rules look at (the values of FILE_ATTRIBUTE_*).
constexpr std::uint32_t kAttributeHidden = 0x2;
constexpr std::uint32_t kAttributeDirectory = 0x10;
constexpr std::uint32_t kAttributeTemporary = 0x100;

struct FolderEntry {
    std::string name; // code page 932; '?' for what it cannot spell, where wide is set
    std::uint32_t attributes = 0;
    ItemKind kind = kindFile;
    std::wstring wide; // the name as the system has it, kept only where code page 932 cannot spell it
};

enum class ListingRule {
    Tree, // hidden and temporary entries left out; folders first, each group in SortNoCase order
    Tray, // everything but "." and ".."; folders first, each group in the search's order
};

// A file's kind by its name: ".url" or ".lnk" in any letter case. A name that is nothing but
// the extension is a plain file (nothing would be left to show), and so is one whose
// extension only compares equal: put back, the extension would name another file.
ItemKind KindOfFile(std::string_view name);
// The entry's kind: a folder, or the kind of its file name.
ItemKind KindOfEntry(std::string_view name, std::uint32_t attributes);
// What an item or a menu shows for a name: a shortcut's name without its extension.
std::string Caption(std::string_view name, ItemKind kind);
// The caption of an entry whose name code page 932 cannot spell: its real name, a
// shortcut's without the extension.
std::wstring WideCaption(const FolderEntry& entry);
// The name a caption stands for: the extension a shortcut's caption lacks, put back.
std::string FileNameOf(std::string_view caption, ItemKind kind);

// Does the entry belong in a listing under the rule? "." and ".." never do.
bool IsListed(std::string_view name, std::uint32_t attributes, ListingRule rule);
// Does the entry give its folder an expand button in the tree? Hidden and temporary folders
// and temporary files count, unlike for the listing; files only when the tree shows them.
bool CountsForButton(std::string_view name, std::uint32_t attributes, bool withFiles);
// Folders first, then the rule's order within each group.
void OrderEntries(std::vector<FolderEntry>& entries, ListingRule rule);
