#pragma once
// The key text a user types for an encrypted file, and the rules of the dialog that asks
// for it. A key text lives for one command and is wiped when it goes, so no copy of it
// stays behind in freed memory.
#include <cstddef>
#include <string>
#include <string_view>

#include "crypto/encrypted_names.h"

namespace vimbrel {

class KeyText {
public:
    KeyText() = default;
    // One allocation of exactly the key's size, so the text is never copied while it grows.
    explicit KeyText(std::string_view text) : text_(text.data(), text.size()) {}
    KeyText(KeyText&& other) noexcept : text_(std::move(other.text_)) { other.Wipe(); }
    KeyText& operator=(KeyText&& other) noexcept {
        if (this != &other) {
            Wipe();
            text_ = std::move(other.text_);
            other.Wipe();
        }
        return *this;
    }
    KeyText(const KeyText&) = delete;
    KeyText& operator=(const KeyText&) = delete;
    ~KeyText() { Wipe(); }

    std::string_view View() const { return text_; }
    std::size_t Size() const { return text_.size(); }

    // Overwrites every byte the string holds, its spare room included (a moved-from short
    // string keeps its characters there), then empties it.
    void Wipe() noexcept {
        text_.resize(text_.capacity());
        volatile char* p = text_.data();
        for (std::size_t i = 0; i < text_.size(); ++i) p[i] = 0;
        text_.clear();
    }

private:
    std::string text_;
};

// TdlgGetKey's texts.
inline constexpr const char* kKeyDialogCaption = "Vimbrel - Enter Encryption Key";
inline constexpr const char* kKeyDialogKeyLabel = "Key:";
inline constexpr const char* kKeyDialogNote =
    "The key must be 8 characters or more.\r\n"
    "It is case sensitive. Do not foget it!\r\n"
    "The key can not be recovered if you lose it.";

// OK is enabled exactly when the key has 8 characters or more; nothing else is checked.
inline bool KeyOkEnabled(std::size_t keyLength) { return keyLength >= MinKeyLength; }

// The note shown instead of kKeyDialogNote when a file is deciphered: which file it is.
inline std::string DecipherKeyNote(std::string_view fileName) { return "\r\nFile: " + std::string(fileName); }

}  // namespace vimbrel
