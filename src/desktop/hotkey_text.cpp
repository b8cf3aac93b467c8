#include "desktop/hotkey_text.h"

#include <array>
#include <cstdint>

#include "util/text.h"

namespace vimbrel {
namespace {

struct KeyTables {
    std::array<std::uint8_t, kHotKeyKeyCount> virtualKey{};
    std::array<THotKeyKey, kKeyNameCount> keyOfIndex{};
    std::array<std::string_view, kKeyNameCount> name{};
};

constexpr std::string_view kDigitNames[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
constexpr std::string_view kLetterNames[] = {"A", "B", "C", "D", "E", "F", "G", "H", "I",
                                             "J", "K", "L", "M", "N", "O", "P", "Q", "R",
                                             "S", "T", "U", "V", "W", "X", "Y", "Z"};
constexpr std::string_view kNumPadNames[] = {"Num 0", "Num 1", "Num 2", "Num 3", "Num 4",
                                             "Num 5", "Num 6", "Num 7", "Num 8", "Num 9"};
constexpr std::string_view kFunctionNames[] = {
    "F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",  "F9",  "F10", "F11", "F12",
    "F13", "F14", "F15", "F16", "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};

// Rows in ordinal order. Keys with index -1 exist as ordinals but are not offered.
constexpr KeyTables BuildTables() {
    KeyTables t{};
    int ordinal = 0;
    auto key = [&](std::uint8_t vk, int index, std::string_view name) {
        t.virtualKey[ordinal] = vk;
        if (index >= 0) {
            t.keyOfIndex[index] = static_cast<THotKeyKey>(ordinal);
            t.name[index] = name;
        }
        ++ordinal;
    };
    key(0x00, -1, {});
    key(0x03, -1, {});  // Cancel
    key(0x08, 0, "Backspace");
    key(0x09, 1, "Tab");
    key(0x0C, -1, {});  // Clear
    key(0x0D, 2, "Return");
    key(0x13, 3, "Pause");
    key(0x14, 4, "Capslock");
    key(0x1B, 5, "Escape");
    key(0x20, 6, "Space");
    key(0x21, 7, "PgUp");
    key(0x22, 8, "PgDn");
    key(0x23, 10, "End");  // the name list shows Home first
    key(0x24, 9, "Home");
    key(0x25, 11, "Left Arrow");
    key(0x26, 12, "Up Arrow");
    key(0x27, 13, "Right Arrow");
    key(0x28, 14, "Down Arrow");
    key(0x29, -1, {});  // Select
    key(0x2B, -1, {});  // Execute
    key(0x2C, 15, "PrintScreen");
    key(0x2D, 16, "Insert");
    key(0x2E, 17, "Delete");
    key(0x2F, -1, {});  // Help
    for (int i = 0; i < 10; ++i) key(static_cast<std::uint8_t>(0x30 + i), 18 + i, kDigitNames[i]);
    for (int i = 0; i < 26; ++i) key(static_cast<std::uint8_t>(0x41 + i), 28 + i, kLetterNames[i]);
    for (int i = 0; i < 10; ++i) key(static_cast<std::uint8_t>(0x60 + i), 54 + i, kNumPadNames[i]);
    key(0x6A, 64, "Num *");
    key(0x6B, 65, "Num +");
    key(0x6C, -1, {});  // Separator
    key(0x6D, 66, "Num -");
    key(0x6E, 67, "Num .");
    key(0x6F, 68, "Num /");
    for (int i = 0; i < 24; ++i) key(static_cast<std::uint8_t>(0x70 + i), 69 + i, kFunctionNames[i]);
    key(0x90, 93, "Numlock");
    key(0x91, 94, "Scrolllock");
    key(0x5D, 95, "Application");
    return t;
}

constexpr KeyTables kTables = BuildTables();

// Modifier words in the order they are written and shown.
struct ModifierWord {
    THotKeyModifiers bit;
    std::string_view word;
};
constexpr ModifierWord kModifierWords[] = {
    {hkCtrl, "Ctrl"}, {hkAlt, "Alt"}, {hkShift, "Shift"}, {hkWin, "Win"}};

}  // namespace

std::uint8_t HotKeyVirtualKey(THotKeyKey key) {
    return key < kHotKeyKeyCount ? kTables.virtualKey[key] : 0;
}

std::string_view KeyName(int index) {
    return index >= 0 && index < kKeyNameCount ? kTables.name[static_cast<std::size_t>(index)]
                                               : std::string_view{};
}

int KeyToKeyIndex(THotKeyKey key) {
    if (key == 0) return -1;
    for (int n = 0; n < kKeyNameCount; ++n)
        if (kTables.keyOfIndex[static_cast<std::size_t>(n)] == key) return n;
    return -1;
}

unsigned HotKeyModifierFlags(THotKeyModifiers modifiers) {
    unsigned flags = 0;
    if (modifiers & hkAlt) flags |= 1;
    if (modifiers & hkCtrl) flags |= 2;
    if (modifiers & hkShift) flags |= 4;
    if (modifiers & hkWin) flags |= 8;
    return flags;
}

THotKeyModifiers HotKeyTextModifiers(std::string_view text) {
    THotKeyModifiers m = 0;
    for (const ModifierWord& w : kModifierWords)
        if (text.find(w.word) != std::string_view::npos) m |= w.bit;
    return m;
}

int HotKeyTextIndex(std::string_view text) {
    return LeadingInt32(GetField(text, '#', 2));
}

THotKeyKey KeyIndexToKey(int index) {
    return index >= 0 && index < kKeyNameCount ? kTables.keyOfIndex[static_cast<std::size_t>(index)] : 0;
}

THotKeyKey HotKeyTextKey(std::string_view text) {
    return KeyIndexToKey(HotKeyTextIndex(text));
}

std::string FormatHotKeyText(THotKeyModifiers modifiers, int index) {
    std::string text;
    for (const ModifierWord& w : kModifierWords)
        if (modifiers & w.bit) {
            text += w.word;
            text += '|';
        }
    return text + '#' + std::to_string(index);
}

std::string DescribeHotKeyText(std::string_view text) {
    const THotKeyModifiers modifiers = HotKeyTextModifiers(text);
    std::string shown;
    for (const ModifierWord& w : kModifierWords)
        if (modifiers & w.bit) {
            shown += w.word;
            shown += ", ";
        }
    // An index outside the name table is registered as no key at all; say so.
    const std::string_view name = KeyName(HotKeyTextIndex(text));
    shown += name.empty() ? std::string_view("(no key)") : name;
    return shown;
}

}  // namespace vimbrel
