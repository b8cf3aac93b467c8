#pragma once
// The program's settings as held in memory for the whole run. Each field is named after
// its registry value; the defaults are those of a machine where nothing is stored.
#include <cstdint>
#include <string>

#include "workspace/file_kinds.h"

namespace vimbrel {

inline constexpr const char* kDefaultHotKeyFull = "#15";
inline constexpr const char* kDefaultHotKeyActive = "Alt|#15";
inline constexpr const char* kDefaultHotKeyArea = "Win|#15";

struct OptionFlags {
    bool AutoPrint = false;         // "On" / "Off"
    bool AutoSave = false;          // "On" / "Off"
    std::string SaveMode = "S";     // "S" screen, "A" area
    std::string PrintStyle = "Full";  // "Full", "Best", "Zoom"
    bool AutoOrient = false;        // "On" / "Off"
    bool Eject = false;             // "Yes" / "No"
    bool AutoClipCopy = false;      // "On" / "Off"
    std::string AutoPrefix = "Vimbrel";
    bool AutoEdit = false;          // "Yes" / "No"
    bool UseOutlook = false;        // "Yes" / "No"
    std::string AutoExt = ".bmp";
    std::string LastOpenExt = ".bmp";
    bool PrintDate = true;          // "1" / "0"
    bool PrintNotes = false;        // "1" / "0"
    bool InclMouse = true;          // "1" / "0"
    bool PopUp = true;              // "1" / "0"
    bool WatchClips = false;        // "1" / "0"
    bool StartWithWindows = false;  // the program's own value under the user's Run key
    std::string SavePath;
    std::string AutoSavePath;
    std::string OpenPath;
    std::int64_t NextSaveNo = 1;    // decimal; written only by numbered saves
    std::string ImageEditor;
    bool DosPrint = false;          // "Yes" / "No"
    std::string DosFont = "System";
    std::string HotKeyFull = kDefaultHotKeyFull;
    std::string HotKeyActive = kDefaultHotKeyActive;
    std::string HotKeyArea = kDefaultHotKeyArea;
    FileCipher Cipher = FileCipher::Des;  // "DES" / "Strong": the format files are enciphered in
};

// "Cipher" as stored: "Strong" in any letter case chooses the strong format, anything else DES.
FileCipher CipherOfSetting(const std::string& stored);
const char* CipherSettingText(FileCipher cipher);

}  // namespace vimbrel
