#pragma once
// The macro library: a tree of folders and macros in three fixed levels of 60-slot lists.

#include "macros/macro_types.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace vexmo {

// One slot of the tree. An empty name means the slot is free.
struct MacroItem {
    std::u16string MacroItemName;
    std::unique_ptr<MacroKey> key; // present exactly for macro items
    int32_t MacroItemIsFolder = 0;
    int32_t MacroItemFolderIsOpen = 0;

    bool IsFree() const { return MacroItemName.empty(); }
    bool IsFolder() const { return !IsFree() && MacroItemIsFolder == 1; }
    bool IsMacro() const { return !IsFree() && MacroItemIsFolder == 0 && key != nullptr; }
    bool IsOpenFolder() const { return IsFolder() && MacroItemFolderIsOpen == 1; }
    // Frees the slot: no name (its memory released), no key, both flags 0.
    void Clear();
};

// Outcome of adding a macro or a folder.
enum class AddResult {
    Added,      // created; the selection now addresses it
    NameExists, // the target list already has this name; nothing created
    NotAdded,   // no room, no list that can take it, or an empty name; nothing changed
};

class MacroLibrary {
public:
    static constexpr int kListSize = MacroLocation::kListSize;
    static constexpr std::size_t kSlotCount =
        std::size_t(kListSize) + kListSize * kListSize + kListSize * kListSize * kListSize;
    // Memory of the fixed slots, allocated when the library is constructed.
    static constexpr std::size_t kSlotBytes = kSlotCount * sizeof(MacroItem);

    MacroLibrary();
    ~MacroLibrary();
    MacroLibrary(const MacroLibrary&) = delete;
    MacroLibrary& operator=(const MacroLibrary&) = delete;

    // Given to the next new macro; only ever grows, so identities are never reused.
    uint32_t NextMacroKeyIndex = 1;

    // The slot at a location, or nullptr when the location addresses no slot.
    MacroItem* ItemAt(const MacroLocation& location);
    const MacroItem* ItemAt(const MacroLocation& location) const;

    // Adds a macro or a folder in the list that the selection leads to: the children of a
    // selected top-level folder, the children of a selected second-level folder (macros only),
    // otherwise the top-level list. On success the selection moves to the new item.
    AddResult AddMacroKey(const std::u16string& name, MacroLocation& selection);
    AddResult AddFolder(const std::u16string& name, MacroLocation& selection);

    // Deletes the item and everything below it, moving its later siblings (with their own
    // subtrees) down one slot. False, with nothing changed, for a free slot or a location that
    // addresses none.
    bool DeleteItem(const MacroLocation& location);
    // Empties every slot; NextMacroKeyIndex stays.
    void ClearLibrary();
    void CollapseAllFolders();

    // Whether the sibling list holding location (the top-level list for no location) has an
    // item named exactly so; the item itself counts.
    bool NameExistsAmongSiblings(const std::u16string& name, const MacroLocation& location) const;
    // Whether AddMacroKey with this selection would find the name already in its target list.
    bool NameExistsAtTarget(const std::u16string& name, const MacroLocation& selection) const;
    // Whether the item is the macro with this identity, or a folder holding it below.
    bool ContainsMacroKeyIndex(const MacroLocation& location, uint32_t index) const;

    // Rows of the tree list: named items in pre-order, the children of a folder only while it
    // is open (its parent folder open as well).
    int CountVisibleRows() const;
    // No location for a row that does not exist.
    MacroLocation RowToLocation(int row) const;
    // -1 for no location, a free slot, or an item hidden in a closed folder.
    int LocationToRow(const MacroLocation& location) const;

    // For the library reader: place an item where the file says, without the add rules.
    // Refused (false) for a location that addresses no slot, an empty name, a missing key or a
    // folder at the third level, where folders cannot exist.
    bool SetMacroItemAt(const MacroLocation& location, const std::u16string& name,
                        std::unique_ptr<MacroKey> key);
    bool SetFolderItemAt(const MacroLocation& location, const std::u16string& name,
                         int32_t openFlag);

private:
    struct Target {
        MacroItem* list = nullptr; // 60 slots, nullptr when nothing may be added
        MacroLocation parent;      // location of the folder owning the list, or none
    };
    Target TargetList(const MacroLocation& selection, bool forFolder) const;
    AddResult Add(const std::u16string& name, MacroLocation& selection, bool folder);

    MacroItem* Level0() const { return level0_.get(); }
    MacroItem* Level1Block(int i) const { return level1_.get() + i * kListSize; }
    MacroItem* Level2Block(int i, int j) const
    {
        return level2_.get() + (i * kListSize + j) * kListSize;
    }
    int VisibleRowsBelow(int i) const;
    int VisibleRowsBelow(int i, int j) const;

    std::unique_ptr<MacroItem[]> level0_; // 60
    std::unique_ptr<MacroItem[]> level1_; // block i = the children of level-0 item i
    std::unique_ptr<MacroItem[]> level2_; // block (i, j) = the children of level-1 item (i, j)
};

} // namespace vexmo
