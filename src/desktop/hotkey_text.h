#pragma once
// Hotkeys as the settings store them ("#15", "Alt|#15", "Ctrl|Shift|#28") and as the
// user sees them ("Alt, PrintScreen"), with the key tables behind both.
#include <cstdint>
#include <string>
#include <string_view>

namespace vimbrel {

// Set of modifier keys, one bit each.
using THotKeyModifiers = std::uint8_t;
inline constexpr THotKeyModifiers hkShift = 1;
inline constexpr THotKeyModifiers hkCtrl = 2;
inline constexpr THotKeyModifiers hkAlt = 4;
inline constexpr THotKeyModifiers hkWin = 8;

// Ordinal of a key in the key table (0 = no key).
using THotKeyKey = std::uint8_t;
inline constexpr int kHotKeyKeyCount = 103;
// Rows of the key-name table: the keys a user can pick.
inline constexpr int kKeyNameCount = 96;

// Virtual-key code of a key ordinal; 0 for ordinals outside the table.
std::uint8_t HotKeyVirtualKey(THotKeyKey key);
// Name of row N of the key-name table; empty outside 0..95.
std::string_view KeyName(int index);
// Row of the key-name table for a key ordinal; -1 for keys that are not offered.
int KeyToKeyIndex(THotKeyKey key);

// The flags RegisterHotKey expects (MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4, MOD_WIN 8).
unsigned HotKeyModifierFlags(THotKeyModifiers modifiers);

THotKeyModifiers HotKeyTextModifiers(std::string_view text);
// The key index as written after the first "#", read leniently; no range check.
int HotKeyTextIndex(std::string_view text);
THotKeyKey KeyIndexToKey(int index);
THotKeyKey HotKeyTextKey(std::string_view text);
std::string FormatHotKeyText(THotKeyModifiers modifiers, int index);
std::string DescribeHotKeyText(std::string_view text);

}  // namespace vimbrel
