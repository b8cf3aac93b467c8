#pragma once
// Name and extension rules of the image file commands: which reader or writer a name
// selects, the open and save dialogs' filters, the overwrite question, temporary files.
#include <optional>
#include <string>
#include <string_view>

namespace vimbrel {

class FileQueries;

// Path pieces with "\" (also "/" and a drive's ":") as separators.
// Extension: from the last "." of the file-name part to the end, with the dot; empty when
// there is none.
std::string ExtractFileExt(std::string_view path);
// Folder part including its trailing separator; empty for a bare name.
std::string ExtractFilePath(std::string_view path);
std::string ExtractFileName(std::string_view path);

// Extension lists are texts like "\.BMP\.JPG\"; an extension is in one when it is found
// followed by "\" (so an empty extension is in every list).
inline constexpr std::string_view kImageExtList = "\\.BMP\\.JPG\\.JPEG\\.PNG\\";
inline constexpr std::string_view kEncryptedExtList = "\\.VRX\\.BMPX\\.JPGX\\.JPEGX\\";
bool ExtInList(std::string_view ext, std::string_view list);

// What the image reader does with a name: only .bmp, .jpg, .jpeg and .png (any case) are
// read.
enum class ImageFormat { None, Bmp, Jpeg, Png };
ImageFormat ReadFormatFor(std::string_view path);
// The writer: ".BMP" writes a bitmap, ".PNG" a PNG file, every other name (".jpg", ".txt",
// none) JPEG.
ImageFormat WriteFormatFor(std::string_view path);

// How Open treats a chosen file, by its extension.
enum class OpenRoute { Decipher, LoadImage, HandToSystem };
OpenRoute OpenRouteFor(std::string_view path);

// The open dialog. PNG comes last, so the first three keep their places (a last opened
// ".jpeg" still starts on the encrypted files).
inline constexpr const char* kOpenFilter =
    "Bitmaps (*.bmp)|*.bmp*|JPEG Image File (*.jpeg,*.jpg)|*jp*g*|Vimbrel encrypted file (*.vrx)|*.vrx|"
    "PNG Image File (*.png)|*.png*";
// 1 for ".bmp", 2 for ".jpg", 4 for ".png", 3 otherwise.
int OpenFilterIndex(const std::string& lastOpenExt);

// The save dialog of Save Image As and Save as Shown.
inline constexpr const char* kSaveFilter = "Bitmap  (*.bmp)|*.bmp|jpg,jpeg (*.jpeg,*.jpg)|*.jp*g|png (*.png)|*.png";
// 2 for AutoExt ".jpg", 3 for ".png", 1 otherwise.
int SaveFilterIndex(const std::string& autoExt);
// A name without .bmp, .jpg, .jpeg or .png gets ".bmp" for filter 1, ".png" for filter 3
// and ".jpg" otherwise.
std::string ApplySaveExtension(const std::string& chosen, int filterIndex);
std::string OverwriteQuestion(const std::string& name);

struct SaveNameDecision {
    std::string name;
    bool askOverwrite = false;  // the file exists: ask OverwriteQuestion(name), write only on Yes
};
SaveNameDecision DecideSaveName(const std::string& chosen, int filterIndex, const FileQueries& files);

// Temporary files: name and the folder each lives in.
inline constexpr const char* kGreysTempName = "~~tmp.jpg";    // in DataFolder, removed after reading
inline constexpr const char* kEditorTempName = "~~vrl.bmp";   // in the temporary folder, overwritten
inline constexpr const char* kEmailTempName = "~email.jpg";   // in WorkFolder
std::string GreysTempPath(const std::string& dataFolder);
std::string EditorTempPath(const std::string& tempFolder);
std::string EmailTempPath(const std::string& workFolder);

}  // namespace vimbrel
