#include "capture/capture_hotkeys.h"

#include "desktop/hotkey_text.h"

namespace vimbrel {
namespace {

std::vector<const std::string*> CaptureHotKeyTexts(const OptionFlags& f) {
    return {&f.HotKeyFull, &f.HotKeyActive, &f.HotKeyArea};
}

}  // namespace

void RegisterCaptureHotKeys(TSysHotKey& hotKeys, const OptionFlags& flags) {
    for (const std::string* text : CaptureHotKeyTexts(flags))
        hotKeys.AddHotKey(HotKeyTextKey(*text), HotKeyTextModifiers(*text));
}

void UnregisterCaptureHotKeys(TSysHotKey& hotKeys) {
    for (int index : {2, 1, 0}) hotKeys.DeleteHotKey(index);
}

std::vector<std::string> RefusedCaptureHotKeys(const TSysHotKey& hotKeys, const OptionFlags& flags) {
    std::vector<std::string> names;
    if (!hotKeys.Active()) return names;
    const auto texts = CaptureHotKeyTexts(flags);
    for (std::size_t i = 0; i < texts.size() && i < hotKeys.Count(); ++i)
        if (!hotKeys.Entry(i).Registered) names.push_back(DescribeHotKeyText(*texts[i]));
    return names;
}

void WatchCaptureHotKeys(TSysHotKey& hotKeys, const OptionFlags& flags, UserNotice& notice) {
    hotKeys.OnRefused = [&flags, &notice](TSysHotKey&, const std::vector<std::size_t>& indexes) {
        const auto texts = CaptureHotKeyTexts(flags);
        std::vector<std::string> names;
        for (std::size_t i : indexes)
            if (i < texts.size()) names.push_back(DescribeHotKeyText(*texts[i]));
        if (!names.empty()) notice.Notify(kRefusedHotKeyTitle, RefusedHotKeysText(names));
    };
}

std::string RefusedHotKeysText(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : "; ") + name;
    const bool one = names.size() == 1;
    const char* them = one ? "it" : "them";
    // Short lines, as a balloon does not wrap them itself; each ends in blanks, as some
    // balloons cut off the last letter of their longest line.
    return list + (one ? " does" : " do") + " not capture: the system would not register " + them +
           ";  \nanother program may hold " + them + ".  \nChoose another key under Options, Option Settings.  ";
}

void ReportRefusedCaptureHotKeys(const TSysHotKey& hotKeys, const OptionFlags& flags, UserNotice& notice) {
    const std::vector<std::string> names = RefusedCaptureHotKeys(hotKeys, flags);
    if (!names.empty()) notice.Notify(kRefusedHotKeyTitle, RefusedHotKeysText(names));
}

}  // namespace vimbrel
