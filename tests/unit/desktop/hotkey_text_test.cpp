#include "desktop/hotkey_text.h"

#include <gtest/gtest.h>

#include <set>

namespace vimbrel {
namespace {

TEST(KeyTables, NameRowsMapToOrdinalsAndCodes) {
    struct Row {
        int index;
        const char* name;
        THotKeyKey ordinal;
        unsigned vk;
    };
    const Row rows[] = {
        {0, "Backspace", 2, 0x08},    {1, "Tab", 3, 0x09},         {2, "Return", 5, 0x0D},
        {3, "Pause", 6, 0x13},        {5, "Escape", 8, 0x1B},      {8, "PgDn", 11, 0x22},
        {9, "Home", 13, 0x24},        {10, "End", 12, 0x23},       {14, "Down Arrow", 17, 0x28},
        {15, "PrintScreen", 20, 0x2C}, {17, "Delete", 22, 0x2E},   {18, "0", 24, 0x30},
        {27, "9", 33, 0x39},          {28, "A", 34, 0x41},         {29, "B", 35, 0x42},
        {53, "Z", 59, 0x5A},          {54, "Num 0", 60, 0x60},     {63, "Num 9", 69, 0x69},
        {64, "Num *", 70, 0x6A},      {65, "Num +", 71, 0x6B},     {66, "Num -", 73, 0x6D},
        {68, "Num /", 75, 0x6F},      {69, "F1", 76, 0x70},        {92, "F24", 99, 0x87},
        {93, "Numlock", 100, 0x90},   {94, "Scrolllock", 101, 0x91}, {95, "Application", 102, 0x5D},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(KeyName(r.index), r.name);
        EXPECT_EQ(KeyIndexToKey(r.index), r.ordinal);
        EXPECT_EQ(HotKeyVirtualKey(r.ordinal), r.vk);
        EXPECT_EQ(KeyToKeyIndex(r.ordinal), r.index);
    }
}

TEST(KeyTables, KeysNotOfferedHaveCodesButNoName) {
    const std::pair<THotKeyKey, unsigned> hidden[] = {{0, 0x00},  {1, 0x03},  {4, 0x0C},  {18, 0x29},
                                                      {19, 0x2B}, {23, 0x2F}, {72, 0x6C}};
    for (auto [ordinal, vk] : hidden) {
        EXPECT_EQ(HotKeyVirtualKey(ordinal), vk) << int(ordinal);
        EXPECT_EQ(KeyToKeyIndex(ordinal), -1) << int(ordinal);
    }
    EXPECT_EQ(HotKeyVirtualKey(103), 0);
    EXPECT_EQ(HotKeyVirtualKey(255), 0);
}

TEST(KeyTables, EveryNameIsDistinctAndEveryOfferedKeyHasOneRow) {
    std::set<std::string_view> names;
    std::set<THotKeyKey> ordinals;
    for (int n = 0; n < kKeyNameCount; ++n) {
        EXPECT_FALSE(KeyName(n).empty()) << n;
        names.insert(KeyName(n));
        ordinals.insert(KeyIndexToKey(n));
    }
    EXPECT_EQ(names.size(), 96u);
    EXPECT_EQ(ordinals.size(), 96u);
    EXPECT_EQ(ordinals.count(0), 0u);
    EXPECT_TRUE(KeyName(-1).empty());
    EXPECT_TRUE(KeyName(96).empty());
}

TEST(HotKeyText, ParsesModifiersAndKey) {
    struct Case {
        const char* text;
        THotKeyModifiers modifiers;
        int index;
        unsigned vk;
    };
    const Case cases[] = {
        {"#15", 0, 15, 0x2C},
        {"Alt|#15", hkAlt, 15, 0x2C},
        {"Win|#15", hkWin, 15, 0x2C},
        {"Ctrl|Alt|Shift|Win|#69", hkCtrl | hkAlt | hkShift | hkWin, 69, 0x70},
        {"Shift|Ctrl|#9", hkCtrl | hkShift, 9, 0x24},  // order does not matter; Home
        {"Ctrl|Shift|#9", hkCtrl | hkShift, 9, 0x24},
        {"#10", 0, 10, 0x23},                             // End
        {"ctrl|#15", 0, 15, 0x2C},                        // words are case-sensitive
        {"Alt", hkAlt, 0, 0x08},                          // no "#": Backspace
        {"Alt|#", hkAlt, 0, 0x08},
        {"#96", 0, 96, 0x00},                             // outside the table: no key
        {"#-1", 0, -1, 0x00},
        {"#X5", 0, 0, 0x08},
        {"#5x", 0, 5, 0x1B},
        {"#15#3", 0, 15, 0x2C},                           // only the second field counts
        {"# 28", 0, 28, 0x41},
        {"#$1C", 0, 28, 0x41},
        {"#0x1c", 0, 28, 0x41},
        {"#+7", 0, 7, 0x21},
        {"#--7", 0, 0, 0x08},
        {"#12.5", 0, 12, 0x26},
        {"#4294967311", 0, 15, 0x2C},                     // 64-bit number, low 32 bits kept
        {"#99999999999999999999", 0,  // overflow: the digits before it
          static_cast<int>(static_cast<std::uint32_t>(999999999999999999ULL)), 0x00},
        {"", 0, 0, 0x08},
        {"AltWinShift#1", hkAlt | hkWin | hkShift, 1, 0x09},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(HotKeyTextModifiers(c.text), c.modifiers);
        EXPECT_EQ(HotKeyTextIndex(c.text), c.index);
        EXPECT_EQ(HotKeyVirtualKey(HotKeyTextKey(c.text)), c.vk);
    }
}

TEST(HotKeyText, FormatsModifiersInFixedOrder) {
    EXPECT_EQ(FormatHotKeyText(hkCtrl | hkShift, 28), "Ctrl|Shift|#28");
    EXPECT_EQ(FormatHotKeyText(0, 0), "#0");
    EXPECT_EQ(FormatHotKeyText(hkWin | hkShift | hkAlt | hkCtrl, 69), "Ctrl|Alt|Shift|Win|#69");
    EXPECT_EQ(FormatHotKeyText(hkAlt, -3), "Alt|#-3");
}

TEST(HotKeyText, FormatThenParseGivesBackEveryKey) {
    for (int n = 0; n < kKeyNameCount; ++n) {
        const std::string text = FormatHotKeyText(hkCtrl | hkWin, n);
        EXPECT_EQ(HotKeyTextModifiers(text), hkCtrl | hkWin) << text;
        EXPECT_EQ(HotKeyTextKey(text), KeyIndexToKey(n)) << text;
    }
}

TEST(HotKeyText, DescribesWithNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"Alt|#15", "Alt, PrintScreen"},
        {"#15", "PrintScreen"},
        {"Win|Shift|Alt|Ctrl|#9", "Ctrl, Alt, Shift, Win, Home"},
        {"Ctrl|#65", "Ctrl, Num +"},
        {"Alt", "Alt, Backspace"},
        // No row in the name table: the entry is registered without a key; say so.
        {"#96", "(no key)"},
        {"Ctrl|#-1", "Ctrl, (no key)"},
    };
    for (auto [text, shown] : cases) EXPECT_EQ(DescribeHotKeyText(text), shown) << text;
}

TEST(HotKeyText, ModifierFlagsForRegisterHotKey) {
    EXPECT_EQ(HotKeyModifierFlags(hkAlt), 1u);
    EXPECT_EQ(HotKeyModifierFlags(hkCtrl), 2u);
    EXPECT_EQ(HotKeyModifierFlags(hkShift), 4u);
    EXPECT_EQ(HotKeyModifierFlags(hkWin), 8u);
    EXPECT_EQ(HotKeyModifierFlags(hkCtrl | hkAlt | hkShift | hkWin), 15u);
}

}  // namespace
}  // namespace vimbrel
