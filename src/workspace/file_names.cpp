#include "workspace/file_names.h"

#include "util/text.h"
#include "util/file_system_port.h"

namespace vimbrel {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

std::size_t NameStart(std::string_view path) {
    std::size_t i = path.size();
    while (i > 0 && !IsSeparator(path[i - 1])) --i;
    return i;
}

}  // namespace

std::string ExtractFileExt(std::string_view path) {
    const std::size_t start = NameStart(path);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < start) return {};
    return std::string(path.substr(dot));
}

std::string ExtractFilePath(std::string_view path) { return std::string(path.substr(0, NameStart(path))); }

std::string ExtractFileName(std::string_view path) { return std::string(path.substr(NameStart(path))); }

bool ExtInList(std::string_view ext, std::string_view list) {
    return list.find(AsciiUpperCase(ext) + "\\") != std::string_view::npos;
}

ImageFormat ReadFormatFor(std::string_view path) {
    const std::string ext = AsciiUpperCase(ExtractFileExt(path));
    if (ext == ".BMP") return ImageFormat::Bmp;
    if (ext == ".JPG" || ext == ".JPEG") return ImageFormat::Jpeg;
    if (ext == ".PNG") return ImageFormat::Png;
    return ImageFormat::None;
}

ImageFormat WriteFormatFor(std::string_view path) {
    const ImageFormat format = ReadFormatFor(path);
    return format == ImageFormat::None ? ImageFormat::Jpeg : format;
}

OpenRoute OpenRouteFor(std::string_view path) {
    const std::string ext = ExtractFileExt(path);
    if (ExtInList(ext, kEncryptedExtList)) return OpenRoute::Decipher;
    if (ExtInList(ext, kImageExtList)) return OpenRoute::LoadImage;
    return OpenRoute::HandToSystem;
}

int OpenFilterIndex(const std::string& lastOpenExt) {
    if (lastOpenExt == ".bmp") return 1;
    if (lastOpenExt == ".jpg") return 2;
    if (lastOpenExt == ".png") return 4;
    return 3;
}

int SaveFilterIndex(const std::string& autoExt) {
    if (autoExt == ".jpg") return 2;
    if (autoExt == ".png") return 3;
    return 1;
}

std::string ApplySaveExtension(const std::string& chosen, int filterIndex) {
    if (ReadFormatFor(chosen) != ImageFormat::None) return chosen;
    return chosen + (filterIndex == 1 ? ".bmp" : filterIndex == 3 ? ".png" : ".jpg");
}

std::string OverwriteQuestion(const std::string& name) { return "File " + name + " exists.\r" + " Overwrite ?"; }

SaveNameDecision DecideSaveName(const std::string& chosen, int filterIndex, const FileQueries& files) {
    SaveNameDecision d;
    d.name = ApplySaveExtension(chosen, filterIndex);
    d.askOverwrite = files.FileExists(d.name);
    return d;
}

std::string GreysTempPath(const std::string& dataFolder) { return AddBackslash(dataFolder) + kGreysTempName; }
std::string EditorTempPath(const std::string& tempFolder) { return AddBackslash(tempFolder) + kEditorTempName; }
std::string EmailTempPath(const std::string& workFolder) { return AddBackslash(workFolder) + kEmailTempName; }

}  // namespace vimbrel
