#pragma once
// The kinds of image files the program knows, each with its extensions, its format, its
// enciphered names and the uses that take it, kept in one table (file_kinds.cpp). Every
// "what kind of file is this" question is asked here, so reading, saving, mailing,
// enciphering and the dialogs cannot disagree about a name.
#include <string>
#include <string_view>
#include <vector>

namespace vimbrel {

enum class ImageFormat { None, Bmp, Jpeg, Png };

// Names are matched by their extension (ExtractFileExt) in any letter case.

// The reader's format of a .bmp, .jpg, .jpeg or .png name; None for every other name.
ImageFormat ReadFormatFor(std::string_view path);
// The writer's: that format, and JPEG for every name no kind claims (".txt", none).
ImageFormat WriteFormatFor(std::string_view path);

// How a name says it is enciphered.
enum class EncipheredForm {
    None,
    Vrx,          // ".vrx" after the plain name, any case: the form the program writes
    OlderX,       // "x" after an image extension (".BMPX", ".JPGX", ".JPEGX"): opened only
    NoExtension,  // older files were opened so; only the program itself still takes them
};
EncipheredForm EncipheredFormOf(std::string_view path);
// The plain name an enciphered one deciphers to, in the same folder: x.bmp.vrx gives x.bmp,
// x.jpgx gives x.jpg, a name without an extension loses its last character.
std::string DecipheredNameOf(std::string_view path);
// ".vrx" appended: the copies mail enciphers.
std::string EncipheredCopyName(std::string_view path);
// ".VRX" appended: what "Encrypt a File" (and vrx) write.
std::string EncryptedFileName(std::string_view path);

// How Open treats a file. A deciphered copy is never deciphered again; a deciphered name
// without an extension is still tried as a picture, which the reader then leaves alone.
enum class OpenRoute { Decipher, LoadImage, HandToSystem };
OpenRoute OpenRouteFor(std::string_view path, bool deciphered = false);
// Whether the open dialog tries to show a preview of the file.
bool PreviewsAsPicture(std::string_view path);

// The open dialog's filter, and its entry for the last opened extension (exactly a kind's
// first one, as stored: ".bmp", ".jpg", ".png"); anything else, ".jpeg" too, starts on the
// enciphered files.
const std::string& OpenFilter();
int OpenFilterIndex(std::string_view lastOpenExt);

// The save dialog of Save Image As and Save as Shown: its filter, its first entry for
// AutoExt (exactly a kind's first extension, else the bitmap entry), and the chosen name
// with the entry's extension added unless it already names a kind.
const std::string& SaveFilter();
int SaveFilterIndex(std::string_view autoExt);
std::string ApplySaveExtension(const std::string& chosen, int filterIndex);

// AutoExt as the settings offer it: the kinds' first extensions in the list's order; a
// stored value that is none of them shows, and is stored back, as ".jpg".
const std::vector<std::string>& AutoExtChoices();
int AutoExtItem(std::string_view autoExt);
std::string AutoExtOfItem(int item);

// Save Image Encrypted: its filter, and the name the picture is enciphered under. A chosen
// x.bmp.vrx, x.jpg.vrx, x.jpeg.vrx or x.png.vrx (any case) stands; anything else gets the
// entry's kind and ".vrx" appended, so x.vrx becomes x.vrx.bmp.vrx and the inner name
// always says what the content is.
const std::string& SaveEncryptedFilter();
std::string EncryptedSaveName(std::string_view chosen, int filterIndex);

// Whether "Encrypt Images" enciphers a mailed file.
bool IsMailedAsImage(std::string_view path);

// The extension of the file the external editor is handed, always written in its format.
std::string_view EditorHandOverExt();

}  // namespace vimbrel
