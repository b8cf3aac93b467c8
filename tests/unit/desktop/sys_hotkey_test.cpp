#include "desktop/sys_hotkey.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace vimbrel {
namespace {

// The system's table of hotkeys: one combination can be held once, across all receivers.
class FakeRegistrar : public HotKeyRegistrar {
public:
    using Combo = std::pair<unsigned, unsigned>;

    bool RegisterHotKey(int id, unsigned flags, unsigned vk) override {
        log.push_back("reg " + std::to_string(id));
        const Combo c{flags, vk};
        if (heldElsewhere.count(c) || ours.count(id)) return false;
        for (auto& [otherId, combo] : ours)
            if (combo == c) return false;
        ours[id] = c;
        return true;
    }
    void UnregisterHotKey(int id) override {
        log.push_back("unreg " + std::to_string(id));
        ours.erase(id);
    }

    std::set<Combo> heldElsewhere;
    std::map<int, Combo> ours;
    std::vector<std::string> log;
};

constexpr unsigned kPrintScreen = 0x2C;
const THotKeyKey kPrintScreenKey = KeyIndexToKey(15);

class SysHotKeyTest : public ::testing::Test {
protected:
    // Entries as the main window adds them from the three default texts.
    void AddDefaults() {
        for (const char* text : {"#15", "Alt|#15", "Win|#15"}) hk.AddHotKey(HotKeyTextKey(text), HotKeyTextModifiers(text));
    }
    FakeRegistrar sys;
    TSysHotKey hk{sys};
};

TEST_F(SysHotKeyTest, InactiveListRegistersNothingUntilActivated) {
    AddDefaults();
    EXPECT_TRUE(sys.log.empty());
    hk.SetActive(true);
    const std::map<int, FakeRegistrar::Combo> expected{{0, {0, kPrintScreen}}, {1, {1, kPrintScreen}}, {2, {8, kPrintScreen}}};
    EXPECT_EQ(sys.ours, expected);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(hk.Entry(i).Registered);
}

TEST_F(SysHotKeyTest, ActivatingTwiceRegistersOnce) {
    AddDefaults();
    hk.SetActive(true);
    hk.SetActive(true);
    EXPECT_EQ(sys.log, (std::vector<std::string>{"reg 0", "reg 1", "reg 2"}));
    hk.SetActive(false);
    hk.SetActive(false);
    EXPECT_TRUE(sys.ours.empty());
    EXPECT_EQ(sys.log.size(), 6u);
}

TEST_F(SysHotKeyTest, AddWhileActiveRegistersAtOnceAndReportsRefusal) {
    hk.SetActive(true);
    sys.heldElsewhere.insert({1, kPrintScreen});
    const THotKeyEntry first = hk.AddHotKey(kPrintScreenKey, 0);
    const THotKeyEntry held = hk.AddHotKey(kPrintScreenKey, hkAlt);
    const THotKeyEntry duplicate = hk.AddHotKey(kPrintScreenKey, 0);
    EXPECT_TRUE(first.Registered);
    EXPECT_FALSE(held.Registered);
    EXPECT_FALSE(duplicate.Registered);
    EXPECT_EQ(held.Modifiers, hkAlt);
    EXPECT_EQ(held.Key, kPrintScreenKey);
    EXPECT_EQ(hk.Count(), 3u);
    // Only ids that are registered are given back.
    hk.SetActive(false);
    EXPECT_EQ(sys.log, (std::vector<std::string>{"reg 0", "reg 1", "reg 2", "unreg 0"}));
}

TEST_F(SysHotKeyTest, DeleteWhileActiveMovesLaterEntriesToTheirNewIds) {
    AddDefaults();
    hk.SetActive(true);
    sys.log.clear();
    hk.DeleteHotKey(0);
    const std::map<int, FakeRegistrar::Combo> expected{{0, {1, kPrintScreen}}, {1, {8, kPrintScreen}}};
    EXPECT_EQ(sys.ours, expected);
    EXPECT_EQ(sys.log, (std::vector<std::string>{"unreg 0", "unreg 1", "unreg 2", "reg 0", "reg 1"}));
    hk.DeleteHotKey(5);  // no such entry
    hk.DeleteHotKey(-1);
    EXPECT_EQ(hk.Count(), 2u);
}

TEST_F(SysHotKeyTest, ReplacingAllThreeAsTheSettingsDialogDoes) {
    AddDefaults();
    hk.SetActive(true);
    for (int i : {2, 1, 0}) hk.DeleteHotKey(i);
    EXPECT_TRUE(sys.ours.empty());
    for (const char* text : {"Ctrl|#69", "Ctrl|#70", "Ctrl|#71"}) hk.AddHotKey(HotKeyTextKey(text), HotKeyTextModifiers(text));
    const std::map<int, FakeRegistrar::Combo> expected{{0, {2, 0x70}}, {1, {2, 0x71}}, {2, {2, 0x72}}};
    EXPECT_EQ(sys.ours, expected);
}

TEST_F(SysHotKeyTest, RefusedEntryIsRetriedOnNextActivation) {
    sys.heldElsewhere.insert({0, kPrintScreen});
    AddDefaults();
    hk.SetActive(true);
    EXPECT_FALSE(hk.Entry(0).Registered);
    sys.heldElsewhere.clear();
    hk.SetActive(false);
    hk.SetActive(true);
    EXPECT_TRUE(hk.Entry(0).Registered);
}

TEST_F(SysHotKeyTest, PressedIdRaisesEventWithItsPosition) {
    std::vector<int> fired;
    hk.HotKeyPressed(1);  // no handler: nothing happens
    hk.OnHotKey = [&](TSysHotKey& sender, int index) {
        EXPECT_EQ(&sender, &hk);
        fired.push_back(index);
    };
    hk.HotKeyPressed(2);
    hk.HotKeyPressed(0x10001);  // only the low word is the id
    EXPECT_EQ(fired, (std::vector<int>{2, 1}));
}

TEST_F(SysHotKeyTest, ReceiverGoneDeactivatesAndClearUnregisters) {
    AddDefaults();
    hk.SetActive(true);
    hk.ReceiverDestroyed();
    EXPECT_FALSE(hk.Active());
    EXPECT_TRUE(sys.ours.empty());
    hk.SetActive(true);
    hk.ClearHotKeys();
    EXPECT_TRUE(sys.ours.empty());
    EXPECT_EQ(hk.Count(), 0u);
}

TEST_F(SysHotKeyTest, ModalWorkSwitchesOffAndRestoresHoweverItEnds) {
    AddDefaults();
    hk.SetActive(true);
    try {
        HotKeysOff busy(hk);
        EXPECT_TRUE(sys.ours.empty());
        {
            HotKeysOff nested(hk);  // a dialog inside the work: still off after it
        }
        EXPECT_FALSE(hk.Active());
        throw std::runtime_error("print failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(hk.Active());
    EXPECT_EQ(sys.ours.size(), 3u);
    hk.SetActive(false);
    { HotKeysOff busy(hk); }
    EXPECT_FALSE(hk.Active());  // was off before: stays off
}

TEST_F(SysHotKeyTest, SwitchingOnNamesOnlyWhatIsNewlyRefused) {
    std::vector<std::vector<std::size_t>> named;
    hk.OnRefused = [&](TSysHotKey&, const std::vector<std::size_t>& indexes) { named.push_back(indexes); };
    sys.heldElsewhere.insert({1, kPrintScreen});  // Alt+PrintScreen taken before the start
    hk.SetActive(true);                           // as the main window starts: on, then the keys
    AddDefaults();
    EXPECT_TRUE(named.empty()) << "entries added while on are the caller's to report";

    // Another program takes PrintScreen while a dialog has the keys off.
    hk.SetActive(false);
    sys.heldElsewhere.insert({0, kPrintScreen});
    hk.SetActive(true);
    EXPECT_EQ(named, (std::vector<std::vector<std::size_t>>{{0}})) << "Alt+PrintScreen was refused before";

    // Off and on again with nothing changed: both stay refused and nobody is told twice.
    hk.SetActive(false);
    hk.SetActive(true);
    EXPECT_EQ(named.size(), 1u);

    // The area key replaced while off by one the system refuses.
    hk.SetActive(false);
    hk.DeleteHotKey(2);
    sys.heldElsewhere.insert({2, 0x7B});
    hk.AddHotKey(HotKeyTextKey("Ctrl|#80"), HotKeyTextModifiers("Ctrl|#80"));
    hk.SetActive(true);
    EXPECT_EQ(named.back(), std::vector<std::size_t>{2});
}

TEST(SysHotKeyLifetime, DestroyingGivesBackEveryRegistration) {
    FakeRegistrar sys;
    {
        TSysHotKey hk(sys);
        hk.SetActive(true);
        hk.AddHotKey(kPrintScreenKey, 0);
        hk.AddHotKey(kPrintScreenKey, hkWin);
        EXPECT_EQ(sys.ours.size(), 2u);
    }
    EXPECT_TRUE(sys.ours.empty());
}

}  // namespace
}  // namespace vimbrel
