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

// The two enciphered-file formats: DES, as every older file is, and the strong format
// (authenticated, with a key stretched from the key text). Which one a file holds is told
// by its content; its name says which the program wrote.
enum class FileCipher { Des, Strong };

// How a name says it is enciphered.
enum class EncipheredForm {
    None,
    Vrx,          // ".vrx" after the plain name, any case: DES files as the program writes them
    Strong,       // ".vrs" after the plain name, any case: strong files
    OlderX,       // "x" after an image extension (".BMPX", ".JPGX", ".JPEGX"): opened only
    NoExtension,  // older files were opened so; only the program itself still takes them
};
EncipheredForm EncipheredFormOf(std::string_view path);
// Whether a name is one the program writes for either format (".vrx", ".vrs"): such a file
// is enciphered already and is not enciphered again.
bool IsOwnEncipheredName(std::string_view path);
// The plain name an enciphered one deciphers to, in the same folder: x.bmp.vrx and
// x.bmp.vrs give x.bmp, x.jpgx gives x.jpg, a name without an extension loses its last
// character.
std::string DecipheredNameOf(std::string_view path);
// The format's extension appended (".vrx", ".vrs"): the copies mail enciphers.
std::string EncipheredCopyName(std::string_view path, FileCipher cipher = FileCipher::Des);
// The same in capitals (".VRX", ".VRS"): what "Encrypt a File" (and vrx) write.
std::string EncryptedFileName(std::string_view path, FileCipher cipher = FileCipher::Des);

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
// always says what the content is. The strong format does the same with ".vrs".
const std::string& SaveEncryptedFilter(FileCipher cipher = FileCipher::Des);
std::string EncryptedSaveName(std::string_view chosen, int filterIndex, FileCipher cipher = FileCipher::Des);

// "Open a VRL Encrypted File": its filter, which lists the files of both formats.
const std::string& OpenEncryptedFilter();

// Whether "Encrypt Images" enciphers a mailed file.
bool IsMailedAsImage(std::string_view path);

// The extension of the file the external editor is handed, always written in its format.
std::string_view EditorHandOverExt();

}  // namespace vimbrel
