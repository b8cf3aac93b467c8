// Feeds arbitrary bytes as a stored hotkey text. Besides crashes it checks that the key
// lies in the key table, that the key, the name and the text shown agree with what was
// read, and that the canonical text of what was read reads back and shows the same.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "desktop/hotkey_text.h"

using namespace vimbrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const THotKeyModifiers modifiers = HotKeyTextModifiers(text);
    const int index = HotKeyTextIndex(text);
    const THotKeyKey key = HotKeyTextKey(text);
    const std::string shown = DescribeHotKeyText(text);

    if (modifiers & ~(hkShift | hkCtrl | hkAlt | hkWin)) __builtin_trap();
    if (key >= kHotKeyKeyCount || key != KeyIndexToKey(index)) __builtin_trap();

    // A row of the name table is always a real key with a name; anything else is no key.
    const bool offered = index >= 0 && index < kKeyNameCount;
    if (offered) {
        if (key == 0 || HotKeyVirtualKey(key) == 0 || KeyToKeyIndex(key) != index || KeyName(index).empty())
            __builtin_trap();
    } else if (key != 0 || !KeyName(index).empty()) {
        __builtin_trap();
    }
    const std::string_view name = offered ? KeyName(index) : std::string_view("(no key)");
    if (shown.size() < name.size() || std::string_view(shown).substr(shown.size() - name.size()) != name)
        __builtin_trap();
    // No key name holds a modifier word or a comma, so the text shown names each modifier
    // that was read exactly once.
    std::size_t commas = 0;
    for (char c : shown) commas += c == ',';
    if (HotKeyTextModifiers(shown) != modifiers || commas != static_cast<std::size_t>(std::popcount(modifiers)))
        __builtin_trap();

    // What was read, written out again, reads back to the same and is a fixed point.
    const std::string canonical = FormatHotKeyText(modifiers, index);
    if (HotKeyTextModifiers(canonical) != modifiers || HotKeyTextIndex(canonical) != index ||
        HotKeyTextKey(canonical) != key || DescribeHotKeyText(canonical) != shown ||
        FormatHotKeyText(HotKeyTextModifiers(canonical), HotKeyTextIndex(canonical)) != canonical)
        __builtin_trap();
    return 0;
}
