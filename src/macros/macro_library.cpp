#include "macros/macro_library.h"

#include <algorithm>
#include <utility>

namespace vexmo {

namespace {

constexpr int N = MacroLibrary::kListSize;

bool ListHasName(const MacroItem* list, const std::u16string& name)
{
    // No item carries an empty name: an empty name only marks free slots.
    if (name.empty())
        return false;
    for (int n = 0; n < N; ++n)
        if (list[n].MacroItemName == name)
            return true;
    return false;
}

int FirstFreeSlot(const MacroItem* list)
{
    for (int n = 0; n < N; ++n)
        if (list[n].IsFree())
            return n;
    return -1;
}

int NamedCount(const MacroItem* list, int end = N)
{
    int count = 0;
    for (int n = 0; n < end; ++n)
        if (!list[n].IsFree())
            ++count;
    return count;
}

void ClearRange(MacroItem* first, MacroItem* last)
{
    // Most slots of a library are free; skipping them keeps a full clear cheap.
    for (; first != last; ++first) {
        if (!first->MacroItemName.empty() || first->key || first->MacroItemIsFolder || first->MacroItemFolderIsOpen)
            first->Clear();
    }
}

// Removes slot `at` of a list of `count` equal-sized units (a unit being the item itself or
// the whole child block it owns): units after it move down one place, the last becomes empty.
void CloseGap(MacroItem* base, std::size_t unit, int at)
{
    MacroItem* hole = base + std::size_t(at) * unit;
    MacroItem* end = base + std::size_t(N) * unit;
    ClearRange(hole, hole + unit);
    std::move(hole + unit, end, hole);
    ClearRange(end - unit, end);
}

} // namespace

void MacroItem::Clear()
{
    std::u16string().swap(MacroItemName);
    key.reset();
    MacroItemIsFolder = 0;
    MacroItemFolderIsOpen = 0;
}

MacroLibrary::MacroLibrary()
    : level0_(std::make_unique<MacroItem[]>(N)),
      level1_(std::make_unique<MacroItem[]>(std::size_t(N) * N)),
      level2_(std::make_unique<MacroItem[]>(std::size_t(N) * N * N))
{
}

MacroLibrary::~MacroLibrary() = default;

MacroItem* MacroLibrary::ItemAt(const MacroLocation& location)
{
    return const_cast<MacroItem*>(std::as_const(*this).ItemAt(location));
}

const MacroItem* MacroLibrary::ItemAt(const MacroLocation& location) const
{
    if (!location.AddressesSlot())
        return nullptr;
    const int i = location.stage0Index, j = location.stage1Index, k = location.stage2Index;
    switch (location.stage) {
    case 0:
        return Level0() + i;
    case 1:
        return Level1Block(i) + j;
    default:
        return Level2Block(i, j) + k;
    }
}

MacroLibrary::Target MacroLibrary::TargetList(const MacroLocation& selection,
                                              bool forFolder) const
{
    const MacroItem* selected = ItemAt(selection);
    if (selected && selected->IsFolder()) {
        if (selection.stage == 0)
            return {Level1Block(selection.stage0Index), MacroLocation::Level0(selection.stage0Index)};
        if (selection.stage == 1) {
            // A folder inside a second-level folder would need a fourth level.
            if (forFolder)
                return {};
            return {Level2Block(selection.stage0Index, selection.stage1Index),
                    MacroLocation::Level1(selection.stage0Index, selection.stage1Index)};
        }
    }
    // A selected macro (at any level) does not make the new item its sibling.
    return {Level0(), MacroLocation::None()};
}

AddResult MacroLibrary::Add(const std::u16string& name, MacroLocation& selection, bool folder)
{
    if (name.empty())
        return AddResult::NotAdded;
    const Target target = TargetList(selection, folder);
    if (!target.list)
        return AddResult::NotAdded;
    if (ListHasName(target.list, name))
        return AddResult::NameExists;
    const int slot = FirstFreeSlot(target.list);
    if (slot < 0)
        return AddResult::NotAdded;

    MacroItem& item = target.list[slot];
    item.Clear();
    item.MacroItemName = name;
    if (folder) {
        item.MacroItemIsFolder = 1;
    } else {
        item.key = std::make_unique<MacroKey>(name);
        item.key->MacroKeyIndex = NextMacroKeyIndex++;
    }

    switch (target.parent.stage) {
    case 0:
        selection = MacroLocation::Level1(target.parent.stage0Index, slot);
        break;
    case 1:
        selection = MacroLocation::Level2(target.parent.stage0Index, target.parent.stage1Index, slot);
        break;
    default:
        selection = MacroLocation::Level0(slot);
        break;
    }
    return AddResult::Added;
}

AddResult MacroLibrary::AddMacroKey(const std::u16string& name, MacroLocation& selection)
{
    return Add(name, selection, false);
}

AddResult MacroLibrary::AddFolder(const std::u16string& name, MacroLocation& selection)
{
    return Add(name, selection, true);
}

bool MacroLibrary::DeleteItem(const MacroLocation& location)
{
    const MacroItem* item = ItemAt(location);
    if (!item || item->IsFree())
        return false;
    const int i = location.stage0Index, j = location.stage1Index, k = location.stage2Index;
    // Whole child blocks are dropped and moved, not only the named children of folders, so that
    // nothing left under a slot by a damaged file can surface under another item.
    switch (location.stage) {
    case 0:
        CloseGap(Level2Block(0, 0), std::size_t(N) * N, i);
        CloseGap(Level1Block(0), N, i);
        CloseGap(Level0(), 1, i);
        break;
    case 1:
        CloseGap(Level2Block(i, 0), N, j);
        CloseGap(Level1Block(i), 1, j);
        break;
    default:
        CloseGap(Level2Block(i, j), 1, k);
        break;
    }
    return true;
}

void MacroLibrary::ClearLibrary()
{
    // Every slot, not only the lists from slot 0 up to their first gap: a library read from a
    // damaged file need not be contiguous, and a reader starting from here must find it empty.
    ClearRange(Level0(), Level0() + N);
    ClearRange(Level1Block(0), Level1Block(0) + std::size_t(N) * N);
    ClearRange(Level2Block(0, 0), Level2Block(0, 0) + std::size_t(N) * N * N);
}

void MacroLibrary::CollapseAllFolders()
{
    for (int i = 0; i < N; ++i) {
        Level0()[i].MacroItemFolderIsOpen = 0;
        for (int j = 0; j < N; ++j)
            Level1Block(i)[j].MacroItemFolderIsOpen = 0;
    }
}

bool MacroLibrary::NameExistsAmongSiblings(const std::u16string& name,
                                           const MacroLocation& location) const
{
    if (location.IsNone())
        return ListHasName(Level0(), name);
    if (!location.AddressesSlot())
        return false;
    switch (location.stage) {
    case 0:
        return ListHasName(Level0(), name);
    case 1:
        return ListHasName(Level1Block(location.stage0Index), name);
    default:
        return ListHasName(Level2Block(location.stage0Index, location.stage1Index), name);
    }
}

bool MacroLibrary::NameExistsAtTarget(const std::u16string& name,
                                      const MacroLocation& selection) const
{
    const MacroItem* selected = ItemAt(selection);
    if (selection.stage == 2 && selected && selected->IsFolder())
        return false;
    const Target target = TargetList(selection, false);
    return target.list && ListHasName(target.list, name);
}

bool MacroLibrary::ContainsMacroKeyIndex(const MacroLocation& location, uint32_t index) const
{
    const MacroItem* item = ItemAt(location);
    if (!item)
        return false;
    if (item->IsMacro())
        return item->key->MacroKeyIndex == index;
    if (!item->IsFolder() || location.stage == 2)
        return false;

    auto holds = [index](const MacroItem* first, std::size_t count) {
        return std::any_of(first, first + count, [index](const MacroItem& it) {
            return it.IsMacro() && it.key->MacroKeyIndex == index;
        });
    };
    // Everything DeleteItem would remove with the folder.
    if (location.stage == 0)
        return holds(Level1Block(location.stage0Index), N) ||
               holds(Level2Block(location.stage0Index, 0), std::size_t(N) * N);
    return holds(Level2Block(location.stage0Index, location.stage1Index), N);
}

int MacroLibrary::VisibleRowsBelow(int i, int j) const
{
    return Level1Block(i)[j].IsOpenFolder() ? NamedCount(Level2Block(i, j)) : 0;
}

int MacroLibrary::VisibleRowsBelow(int i) const
{
    if (!Level0()[i].IsOpenFolder())
        return 0;
    int rows = 0;
    for (int j = 0; j < N; ++j)
        if (!Level1Block(i)[j].IsFree())
            rows += 1 + VisibleRowsBelow(i, j);
    return rows;
}

int MacroLibrary::CountVisibleRows() const
{
    int rows = 0;
    for (int i = 0; i < N; ++i)
        if (!Level0()[i].IsFree())
            rows += 1 + VisibleRowsBelow(i);
    return rows;
}

MacroLocation MacroLibrary::RowToLocation(int row) const
{
    if (row < 0)
        return MacroLocation::None();
    for (int i = 0; i < N; ++i) {
        if (Level0()[i].IsFree())
            continue;
        if (row == 0)
            return MacroLocation::Level0(i);
        --row;
        const int below = VisibleRowsBelow(i);
        if (row >= below) {
            row -= below;
            continue;
        }
        for (int j = 0; j < N; ++j) {
            if (Level1Block(i)[j].IsFree())
                continue;
            if (row == 0)
                return MacroLocation::Level1(i, j);
            --row;
            const int belowChild = VisibleRowsBelow(i, j);
            if (row >= belowChild) {
                row -= belowChild;
                continue;
            }
            const MacroItem* block = Level2Block(i, j);
            for (int k = 0; k < N; ++k) {
                if (block[k].IsFree())
                    continue;
                if (row == 0)
                    return MacroLocation::Level2(i, j, k);
                --row;
            }
        }
    }
    return MacroLocation::None();
}

int MacroLibrary::LocationToRow(const MacroLocation& location) const
{
    const MacroItem* item = ItemAt(location);
    if (!item || item->IsFree())
        return -1;
    const int i = location.stage0Index, j = location.stage1Index, k = location.stage2Index;
    if (location.stage >= 1 && !Level0()[i].IsOpenFolder())
        return -1;
    if (location.stage == 2 && !Level1Block(i)[j].IsOpenFolder())
        return -1;

    int row = 0;
    for (int n = 0; n < i; ++n)
        if (!Level0()[n].IsFree())
            row += 1 + VisibleRowsBelow(n);
    if (location.stage == 0)
        return row;
    row += 1;
    for (int n = 0; n < j; ++n)
        if (!Level1Block(i)[n].IsFree())
            row += 1 + VisibleRowsBelow(i, n);
    if (location.stage == 1)
        return row;
    return row + 1 + NamedCount(Level2Block(i, j), k);
}

bool MacroLibrary::SetMacroItemAt(const MacroLocation& location, const std::u16string& name,
                                  std::unique_ptr<MacroKey> key)
{
    MacroItem* item = ItemAt(location);
    if (!item || name.empty() || !key)
        return false;
    item->MacroItemName = name;
    item->key = std::move(key);
    item->MacroItemIsFolder = 0;
    item->MacroItemFolderIsOpen = 0;
    return true;
}

bool MacroLibrary::SetFolderItemAt(const MacroLocation& location, const std::u16string& name,
                                   int32_t openFlag)
{
    MacroItem* item = ItemAt(location);
    if (!item || name.empty() || location.stage == 2)
        return false;
    item->MacroItemName = name;
    // A folder owns no macro; a key left by an earlier record for this slot would be a macro
    // nobody can reach.
    item->key.reset();
    item->MacroItemIsFolder = 1;
    item->MacroItemFolderIsOpen = openFlag;
    return true;
}

} // namespace vexmo
