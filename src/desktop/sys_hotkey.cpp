#include "desktop/sys_hotkey.h"

#include <algorithm>

namespace vimbrel {

TSysHotKey::~TSysHotKey() { ClearHotKeys(); }

void TSysHotKey::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active_) {
        RegisterAll();
        ReportNewRefusals();
    } else {
        refusedWhenOff_ = RefusedCombinations();
        UnregisterAll();
    }
}

THotKeyEntry TSysHotKey::AddHotKey(THotKeyKey key, THotKeyModifiers modifiers) {
    entries_.push_back({modifiers, key, false});
    if (active_) RegisterEntry(entries_.size() - 1);
    return entries_.back();
}

void TSysHotKey::DeleteHotKey(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return;
    if (active_) UnregisterAll();
    entries_.erase(entries_.begin() + index);
    if (active_) RegisterAll();
}

void TSysHotKey::ClearHotKeys() {
    if (active_) UnregisterAll();
    entries_.clear();
}

void TSysHotKey::HotKeyPressed(unsigned id) {
    if (OnHotKey) OnHotKey(*this, static_cast<int>(id & 0xFFFF));
}

void TSysHotKey::RegisterEntry(std::size_t i) {
    THotKeyEntry& e = entries_[i];
    e.Registered = registrar_.RegisterHotKey(static_cast<int>(i), HotKeyModifierFlags(e.Modifiers),
                                             HotKeyVirtualKey(e.Key));
}

void TSysHotKey::UnregisterEntry(std::size_t i) {
    THotKeyEntry& e = entries_[i];
    if (!e.Registered) return;
    registrar_.UnregisterHotKey(static_cast<int>(i));
    e.Registered = false;
}

void TSysHotKey::RegisterAll() {
    for (std::size_t i = 0; i < entries_.size(); ++i) RegisterEntry(i);
}

void TSysHotKey::UnregisterAll() {
    for (std::size_t i = 0; i < entries_.size(); ++i) UnregisterEntry(i);
}

std::vector<TSysHotKey::Combination> TSysHotKey::RefusedCombinations() const {
    std::vector<Combination> refused;
    for (const THotKeyEntry& e : entries_)
        if (!e.Registered) refused.emplace_back(e.Modifiers, e.Key);
    return refused;
}

void TSysHotKey::ReportNewRefusals() {
    std::vector<std::size_t> indexes;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const THotKeyEntry& e = entries_[i];
        const Combination c{e.Modifiers, e.Key};
        if (!e.Registered && std::find(refusedWhenOff_.begin(), refusedWhenOff_.end(), c) == refusedWhenOff_.end())
            indexes.push_back(i);
    }
    refusedWhenOff_.clear();
    if (!indexes.empty() && OnRefused) OnRefused(*this, indexes);
}

}  // namespace vimbrel
