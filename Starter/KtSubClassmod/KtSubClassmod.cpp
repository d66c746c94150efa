// The subclassing table, the list of target forms, and the window procedure that serves them.
#include "KtSubClassmod.h"

#include "StarterTexts.h"
#include "WideText.h"

#include <cstdint>
#include <map>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// Counts and indexes are 16-bit signed and 1-based; stopping one short of 32767 keeps every
// "count + 1" representable.
constexpr std::int16_t kCapacity = 32766;

struct SubClassTarget {
    KtSubClassTarget* form;    // identity, also for a form that TargetForms refused
    bool enabled;
    std::int16_t targetIndex;  // position in TargetForms; 0 when the list was full
};

struct SubClassEntry {
    std::string name;
    HWND hwnd = nullptr;
    WNDPROC prevProc = nullptr;
    bool subclassed = false;
    std::vector<SubClassTarget> targets;
    const KtSubClassObject* object = nullptr;
};

// Entry i is SubClassTable[i - 1]. Targets run while messages are dispatched and may grow or
// empty the table, so nothing holds an element of it across a call out of this module.
std::vector<SubClassEntry> SubClassTable;
// Only grows: a form keeps its index for the life of the process, which is what targetIndex
// relies on after the table is emptied and filled again.
std::vector<KtSubClassTarget*> TargetForms;

// Every KtSubClass call searches the table, an entry's targets and TargetForms; at capacity a
// linear search makes filling them quadratic (seconds). These indexes give the same answers as
// a search from index 1: names are unique in the table, forms unique in TargetForms and among
// an entry's targets, and nothing is ever removed except the whole table at once.
std::unordered_map<std::string, std::int16_t> EntryIndexByName;
std::map<std::pair<std::int16_t, const KtSubClassTarget*>, std::int16_t> TargetPosByEntryAndForm;
std::unordered_map<const KtSubClassTarget*, std::int16_t> TargetFormIndexByForm;

template <typename T>
std::int16_t Count(const std::vector<T>& v) {
    return static_cast<std::int16_t>(v.size());  // never above kCapacity
}

void InternalError_Report(const char* text) {
    MessageBox_Show(nullptr, text, StarterText::AppTitle, MB_OK | MB_ICONEXCLAMATION);
}

std::int16_t SubClassEntry_Find(const std::string& name) {
    auto it = EntryIndexByName.find(name);
    return it == EntryIndexByName.end() ? 0 : it->second;
}

std::int16_t SubClassEntry_FindTarget(std::int16_t entryIndex, const KtSubClassTarget& form) {
    auto it = TargetPosByEntryAndForm.find({entryIndex, &form});
    return it == TargetPosByEntryAndForm.end() ? 0 : it->second;
}

std::int16_t TargetForm_GetIndex(const KtSubClassTarget& form) {
    auto it = TargetFormIndexByForm.find(&form);
    return it == TargetFormIndexByForm.end() ? 0 : it->second;
}

void SubClassEntry_AppendTarget(std::int16_t entryIndex, KtSubClassTarget& form, bool enabled) {
    auto& targets = SubClassTable[entryIndex - 1].targets;
    targets.push_back({&form, enabled, 0});
    TargetPosByEntryAndForm[{entryIndex, &form}] = Count(targets);
}

// The box's message loop dispatches messages of watched windows, so callers must not hold
// anything of the table across this call.
void TargetForm_Add(KtSubClassTarget& form) {
    if (TargetForm_GetIndex(form) != 0) return;
    if (Count(TargetForms) >= kCapacity) {
        InternalError_Report("internal error in TargetForm_Add() (KtSubClass): overflow !");
        return;
    }
    TargetForms.push_back(&form);
    TargetFormIndexByForm[&form] = Count(TargetForms);
}

// Registers the form of the target just appended at (entryIndex, targetPos) and records its index.
void Target_Register(std::int16_t entryIndex, std::int16_t targetPos, KtSubClassTarget& form) {
    TargetForm_Add(form);
    // A nonzero index means no box was shown, so no message ran and the position is still valid.
    if (std::int16_t index = TargetForm_GetIndex(form))
        SubClassTable[entryIndex - 1].targets[targetPos - 1].targetIndex = index;
}

// Returns the procedure the window had before the module took it over, or null when the window
// could not be subclassed (no such window, or one of another process).
WNDPROC Window_Subclass(HWND hwnd) {
    // An earlier entry may already run the window through our procedure. The table decides
    // that, not the user-data slot: a window that keeps its own data in the slot would
    // otherwise have that data called as its procedure.
    for (const auto& entry : SubClassTable)
        if (entry.subclassed && entry.hwnd == hwnd) return entry.prevProc;
    const LONG_PTR previous = SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KtSubClass_WindowProc));
    if (previous != 0) SetWindowLongPtrW(hwnd, GWLP_USERDATA, previous);
    return reinterpret_cast<WNDPROC>(previous);
}

}  // namespace

void KtSubClass(const KtSubClassObject& object, const std::string& name, KtSubClassTarget& target, bool enabled) {
    const std::int16_t i = SubClassEntry_Find(name);
    if (i != 0) {
        if (std::int16_t k = SubClassEntry_FindTarget(i, target)) {
            SubClassTable[i - 1].targets[k - 1].enabled = enabled;
            return;
        }
        if (Count(SubClassTable[i - 1].targets) >= kCapacity) {
            InternalError_Report("internal error in KtSubClass(): overflow (2) !");
            return;
        }
        SubClassEntry_AppendTarget(i, target, enabled);
        Target_Register(i, Count(SubClassTable[i - 1].targets), target);
        return;
    }
    if (Count(SubClassTable) >= kCapacity) {
        InternalError_Report("internal error in KtSubClass(): overflow !");
        return;
    }
    SubClassEntry entry;
    entry.name = name;
    entry.object = &object;
    entry.hwnd = object.hwnd();
    entry.prevProc = Window_Subclass(entry.hwnd);
    // Created even when switched off or when the window refused: KtUnSubClassAll and the
    // enabled switch must find it either way.
    entry.subclassed = entry.prevProc != nullptr;
    SubClassTable.push_back(std::move(entry));
    const std::int16_t created = Count(SubClassTable);
    EntryIndexByName[name] = created;
    SubClassEntry_AppendTarget(created, target, enabled);
    Target_Register(created, 1, target);
}

void KtUnSubClassAll() {
    for (auto& entry : SubClassTable) {
        if (!entry.subclassed) continue;
        entry.subclassed = false;
        SetWindowLongPtrW(entry.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.prevProc));
        SetWindowLongPtrW(entry.hwnd, GWLP_USERDATA, 0);
    }
    SubClassTable.clear();
    EntryIndexByName.clear();
    TargetPosByEntryAndForm.clear();
}

LRESULT CALLBACK KtSubClass_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT ReturnValue = 0;
    bool ReturnValueUsedFlag = false;
    std::int16_t found = 0;
    // Entries that targets add while this message is handled are not visited for it.
    const std::int16_t n = Count(SubClassTable);
    for (std::int16_t i = 1; i <= n && i <= Count(SubClassTable); ++i) {
        if (SubClassTable[i - 1].hwnd != hwnd) continue;
        found = i;
        const std::int16_t targetCount = Count(SubClassTable[i - 1].targets);
        for (std::int16_t k = 1; k <= targetCount; ++k) {
            // The previous target may have emptied the table, or emptied and refilled it with
            // an entry i that has fewer targets.
            if (i > Count(SubClassTable) || k > Count(SubClassTable[i - 1].targets)) break;
            const SubClassTarget& t = SubClassTable[i - 1].targets[k - 1];
            if (!t.enabled || t.targetIndex == 0) continue;
            KtSubClassTarget* form = TargetForms[t.targetIndex - 1];
            // A copy: the target may drop the entry that owns the name while it runs.
            const std::string name = SubClassTable[i - 1].name;
            form->KtSubClassWindowProc(name, hwnd, message, wParam, lParam, ReturnValue, ReturnValueUsedFlag);
        }
    }
    // The entry found may be gone, or replaced by a refilled table's entry for another window,
    // whose procedure must not receive this window's message.
    if (found == 0 || found > Count(SubClassTable) || SubClassTable[found - 1].hwnd != hwnd) return 0;
    if (ReturnValueUsedFlag) return ReturnValue;
    return CallWindowProcW(SubClassTable[found - 1].prevProc, hwnd, message, wParam, lParam);
}
