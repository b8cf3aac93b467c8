#include "workspace/file_kinds.h"

#include <algorithm>

#include "util/text.h"
#include "workspace/path_parts.h"

namespace vimbrel {
namespace {

// One entry of a file dialog's filter.
struct FilterEntry {
    std::string_view label, pattern;
    int index = 0;  // its place in the list, from 1; 0 where the kind is not offered
};

struct KindUses {
    bool open = false;            // Open loads it: the dialog, a second start, a deciphered copy
    bool preview = false;         // the open dialog previews it
    bool save = false;            // the save dialog offers it and AutoExt may name it
    bool saveEncrypted = false;   // Save Image Encrypted offers it
    bool mailAsImage = false;     // "Encrypt Images" enciphers it
    bool editorHandOver = false;  // the external editor is handed this kind
};

struct ImageFileKind {
    ImageFormat format;
    std::string_view extensions[2];  // lower case; names the program makes take the first
    bool olderXForms;                // its extensions with "x" appended open as enciphered
    FilterEntry open, save, saveEncrypted;
    KindUses uses;
};

constexpr KindUses kEveryUseButTheEditor{.open = true,
                                         .preview = true,
                                         .save = true,
                                         .saveEncrypted = true,
                                         .mailAsImage = true};
constexpr KindUses AndTheEditor(KindUses uses) {
    uses.editorHandOver = true;
    return uses;
}

constexpr ImageFileKind kKinds[] = {
    {.format = ImageFormat::Bmp,
     .extensions = {".bmp"},
     .olderXForms = true,
     .open = {"Bitmaps (*.bmp)", "*.bmp*", 1},
     .save = {"Bitmap  (*.bmp)", "*.bmp", 1},
     .saveEncrypted = {"Bitmap - Encrypted ", "*.bmp.vrx", 1},
     .uses = AndTheEditor(kEveryUseButTheEditor)},
    {.format = ImageFormat::Jpeg,
     .extensions = {".jpg", ".jpeg"},
     .olderXForms = true,
     .open = {"JPEG Image File (*.jpeg,*.jpg)", "*jp*g*", 2},
     .save = {"jpg,jpeg (*.jpeg,*.jpg)", "*.jp*g", 2},
     .saveEncrypted = {"jpg,jpeg - Encrypted ", "*.jp*g.vrx", 2},
     .uses = kEveryUseButTheEditor},
    // No PNG file was ever enciphered the older way.
    {.format = ImageFormat::Png,
     .extensions = {".png"},
     .olderXForms = false,
     .open = {"PNG Image File (*.png)", "*.png*", 4},
     .save = {"png (*.png)", "*.png", 3},
     .saveEncrypted = {"png - Encrypted ", "*.png.vrx", 3},
     .uses = kEveryUseButTheEditor},
};

// The open dialog's enciphered files sit between JPEG and PNG: PNG came last, so the first
// three entries kept their places.
constexpr FilterEntry kOpenEncipheredEntry = {"Vimbrel encrypted file (*.vrx;*.vrs)", "*.vrx;*.vrs", 3};

// Names no kind claims are written as JPEG, and a save entry no kind answers to adds
// ".jpg": everything but a bitmap was JPEG before there were other kinds.
constexpr const ImageFileKind& kFallbackKind = kKinds[1];
static_assert(kFallbackKind.format == ImageFormat::Jpeg);

// The extension each format's enciphered names end in.
constexpr std::string_view kVrxExt = ".vrx";
constexpr std::string_view kStrongExt = ".vrs";
constexpr std::string_view EncipheredExt(FileCipher cipher) {
    return cipher == FileCipher::Strong ? kStrongExt : kVrxExt;
}

constexpr bool OneKindForTheEditor() {
    int count = 0;
    for (const ImageFileKind& kind : kKinds) count += kind.uses.editorHandOver ? 1 : 0;
    return count == 1;
}
static_assert(OneKindForTheEditor());
static_assert(kFallbackKind.uses.save && kFallbackKind.uses.saveEncrypted);

// A dialog's entries number 1, 2, ... without a gap, and a kind is offered exactly when
// its use takes it.
constexpr bool EntriesRunFromOne(FilterEntry ImageFileKind::*entry, bool KindUses::*use, int extraIndex = 0) {
    int count = extraIndex ? 1 : 0;
    for (const ImageFileKind& kind : kKinds) {
        if ((kind.*entry).index != 0 && !(kind.uses.*use)) return false;
        if (kind.uses.*use) ++count;
    }
    for (int index = 1; index <= count; ++index) {
        int found = index == extraIndex ? 1 : 0;
        for (const ImageFileKind& kind : kKinds) found += (kind.*entry).index == index ? 1 : 0;
        if (found != 1) return false;
    }
    return true;
}
static_assert(EntriesRunFromOne(&ImageFileKind::open, &KindUses::open, kOpenEncipheredEntry.index));
static_assert(EntriesRunFromOne(&ImageFileKind::save, &KindUses::save));
static_assert(EntriesRunFromOne(&ImageFileKind::saveEncrypted, &KindUses::saveEncrypted));

bool Claims(const ImageFileKind& kind, std::string_view ext) {
    for (std::string_view own : kind.extensions)
        if (!own.empty() && EqualsNoCase(ext, own)) return true;
    return false;
}

const ImageFileKind* KindOf(std::string_view path) {
    const std::string ext = ExtractFileExt(path);
    for (const ImageFileKind& kind : kKinds)
        if (Claims(kind, ext)) return &kind;
    return nullptr;
}

bool Takes(std::string_view path, bool KindUses::*use) {
    const ImageFileKind* kind = KindOf(path);
    return kind && kind->uses.*use;
}

// The kind at a dialog's entry, or the fallback for an entry no kind holds.
const ImageFileKind& KindAtEntry(FilterEntry ImageFileKind::*entry, int index) {
    if (index > 0)
        for (const ImageFileKind& kind : kKinds)
            if ((kind.*entry).index == index) return kind;
    return kFallbackKind;
}

// The entry of the kind whose first extension is exactly `ext`, or `otherwise`.
int EntryNamedBy(FilterEntry ImageFileKind::*entry, std::string_view ext, int otherwise) {
    for (const ImageFileKind& kind : kKinds)
        if ((kind.*entry).index != 0 && kind.extensions[0] == ext) return (kind.*entry).index;
    return otherwise;
}

std::string ComposeFilter(FilterEntry ImageFileKind::*entry, const FilterEntry* extra = nullptr) {
    std::string text;
    for (int index = 1;; ++index) {
        const FilterEntry* found = extra && extra->index == index ? extra : nullptr;
        for (const ImageFileKind& kind : kKinds)
            if ((kind.*entry).index == index) found = &(kind.*entry);
        if (!found) return text;
        if (index > 1) text += '|';
        text.append(found->label).append("|").append(found->pattern);
    }
}

}  // namespace

ImageFormat ReadFormatFor(std::string_view path) {
    const ImageFileKind* kind = KindOf(path);
    return kind ? kind->format : ImageFormat::None;
}

ImageFormat WriteFormatFor(std::string_view path) {
    const ImageFileKind* kind = KindOf(path);
    return (kind ? *kind : kFallbackKind).format;
}

EncipheredForm EncipheredFormOf(std::string_view path) {
    const std::string ext = ExtractFileExt(path);
    if (ext.empty()) return EncipheredForm::NoExtension;
    if (EqualsNoCase(ext, kVrxExt)) return EncipheredForm::Vrx;
    if (EqualsNoCase(ext, kStrongExt)) return EncipheredForm::Strong;
    if (ext.size() > 1 && AsciiUpper(ext.back()) == 'X') {
        const std::string_view plainExt = std::string_view(ext).substr(0, ext.size() - 1);
        for (const ImageFileKind& kind : kKinds)
            if (kind.olderXForms && Claims(kind, plainExt)) return EncipheredForm::OlderX;
    }
    return EncipheredForm::None;
}

bool IsOwnEncipheredName(std::string_view path) {
    const EncipheredForm form = EncipheredFormOf(path);
    return form == EncipheredForm::Vrx || form == EncipheredForm::Strong;
}

std::string DecipheredNameOf(std::string_view path) {
    // Both formats' extensions are four characters; the older forms lose their "x".
    static_assert(kVrxExt.size() == kStrongExt.size());
    std::size_t drop = IsOwnEncipheredName(path) ? kVrxExt.size() : 1;
    drop = std::min(drop, ExtractFileName(path).size());
    return std::string(path.substr(0, path.size() - drop));
}

std::string EncipheredCopyName(std::string_view path, FileCipher cipher) {
    return std::string(path) + std::string(EncipheredExt(cipher));
}

std::string EncryptedFileName(std::string_view path, FileCipher cipher) {
    return std::string(path) + AsciiUpperCase(EncipheredExt(cipher));
}

OpenRoute OpenRouteFor(std::string_view path, bool deciphered) {
    if (!deciphered && EncipheredFormOf(path) != EncipheredForm::None) return OpenRoute::Decipher;
    if (Takes(path, &KindUses::open) || ExtractFileExt(path).empty()) return OpenRoute::LoadImage;
    return OpenRoute::HandToSystem;
}

bool PreviewsAsPicture(std::string_view path) { return Takes(path, &KindUses::preview); }

const std::string& OpenFilter() {
    static const std::string filter = ComposeFilter(&ImageFileKind::open, &kOpenEncipheredEntry);
    return filter;
}

int OpenFilterIndex(std::string_view lastOpenExt) {
    return EntryNamedBy(&ImageFileKind::open, lastOpenExt, kOpenEncipheredEntry.index);
}

const std::string& SaveFilter() {
    static const std::string filter = ComposeFilter(&ImageFileKind::save);
    return filter;
}

int SaveFilterIndex(std::string_view autoExt) { return EntryNamedBy(&ImageFileKind::save, autoExt, 1); }

std::string ApplySaveExtension(const std::string& chosen, int filterIndex) {
    if (Takes(chosen, &KindUses::save)) return chosen;
    return chosen + std::string(KindAtEntry(&ImageFileKind::save, filterIndex).extensions[0]);
}

const std::vector<std::string>& AutoExtChoices() {
    static const std::vector<std::string> choices = [] {
        std::vector<std::string> list;
        for (const ImageFileKind& kind : kKinds)
            if (kind.uses.save) list.emplace_back(kind.extensions[0]);
        return list;
    }();
    return choices;
}

int AutoExtItem(std::string_view autoExt) {
    const std::vector<std::string>& choices = AutoExtChoices();
    for (std::size_t item = 0; item < choices.size(); ++item)
        if (choices[item] == autoExt) return int(item);
    return AutoExtItem(kFallbackKind.extensions[0]);
}

std::string AutoExtOfItem(int item) {
    const std::vector<std::string>& choices = AutoExtChoices();
    if (item >= 0 && std::size_t(item) < choices.size()) return choices[std::size_t(item)];
    return std::string(kFallbackKind.extensions[0]);
}

const std::string& SaveEncryptedFilter(FileCipher cipher) {
    static const std::string des = ComposeFilter(&ImageFileKind::saveEncrypted);
    // The same entries, each pattern ending in the strong extension instead.
    static const std::string strong = [] {
        std::string text = des;
        for (std::size_t at = 0; (at = text.find(kVrxExt, at)) != std::string::npos; at += kStrongExt.size())
            text.replace(at, kVrxExt.size(), kStrongExt);
        return text;
    }();
    return cipher == FileCipher::Strong ? strong : des;
}

std::string EncryptedSaveName(std::string_view chosen, int filterIndex, FileCipher cipher) {
    const std::string_view ext = EncipheredExt(cipher);
    if (EqualsNoCase(ExtractFileExt(chosen), ext) &&
        Takes(chosen.substr(0, chosen.size() - ext.size()), &KindUses::saveEncrypted))
        return std::string(chosen);
    const ImageFileKind& kind = KindAtEntry(&ImageFileKind::saveEncrypted, filterIndex);
    return std::string(chosen) + std::string(kind.extensions[0]) + std::string(ext);
}

const std::string& OpenEncryptedFilter() {
    static const std::string filter = "VRL Encrypted Files (*.VRX;*.VRS)|*.vrx;*.vrs";
    return filter;
}

bool IsMailedAsImage(std::string_view path) { return Takes(path, &KindUses::mailAsImage); }

std::string_view EditorHandOverExt() {
    for (const ImageFileKind& kind : kKinds)
        if (kind.uses.editorHandOver) return kind.extensions[0];
    return {};
}

}  // namespace vimbrel
