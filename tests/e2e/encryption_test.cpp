// The Encryption menu and encrypted files under Wine: the key dialog driven through its
// controls, files enciphered beside their source, wrong keys, the strong format chosen in
// the settings, and (through encrypted_files_openssl.cmake and encrypted_files_vrx.cmake)
// files the program and openssl or the native vrx make for each other.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <fstream>

#include "crypto/des.h"
#include "crypto/enciphered_file.h"
#include "crypto/encrypted_names.h"
#include "crypto/strong_file.h"
#include "test_pictures.h"
#include "util/utf8_text.h"
#include "vimbrel_process.h"
#include "saved_picture.h"
#include "whole_files.h"
#include "workspace/image_file.h"

namespace e2e {
namespace {

constexpr const char* kKeyDialogTitle = "Vimbrel - Enter Encryption Key";
constexpr const char* kAppTitle = "  Vimbrel   ";
// Folds to the key bytes "26key 20" that encrypted_files_openssl.cmake gives openssl.
constexpr const char* kOpensslKey = "my secret key 2026";

using vimbrel::testing::Pattern;
using vimbrel::testing::ReadAll;

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Decipher(const std::string& file, const std::string& key) {
    vimbrel::TDES des;
    vimbrel::DecryptFileWithKey(des, vimbrel::EncryptedFileIVText, key, file, file + ".check");
    std::string plain = ReadAll(file + ".check");
    ::DeleteFileA((file + ".check").c_str());
    return plain;
}

std::vector<std::string> ChildTexts(HWND parent, const char* className) {
    struct S {
        const char* className;
        std::vector<std::string> texts;
    } s{className, {}};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* st = reinterpret_cast<S*>(lp);
            char cls[64] = {}, text[512] = {};
            ::GetClassNameA(child, cls, sizeof cls);
            ::GetWindowTextA(child, text, sizeof text);
            if (std::string(cls) == st->className) st->texts.push_back(text);
            return TRUE;
        },
        LPARAM(&s));
    return s.texts;
}

// Answers the key dialog as a user would: OK follows the key's length while typing (off at
// 7 characters, on at 8, off again at 7), then the key and OK, or Cancel when there is none.
// The dialog's note lines go to `note`.
::testing::AssertionResult AnswerKeyDialog(DWORD processId, const std::optional<std::string>& key,
                                           std::string* note = nullptr) {
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindProcessWindow(processId, "#32770", kKeyDialogTitle)) != nullptr; }))
        return ::testing::AssertionFailure() << "no key dialog";
    WaitFor([&] { return ::IsWindowVisible(dialog) != FALSE; });
    HWND edit = FindDescendantOfClass(dialog, "Edit");
    HWND ok = FindChildByText(dialog, "OK");
    HWND cancel = FindChildByText(dialog, "Cancel");
    if (!edit || !ok || !cancel) return ::testing::AssertionFailure() << "the key box, OK or Cancel is missing";
    std::vector<std::string> labels = ChildTexts(dialog, "Static");
    if (note) *note = labels.empty() ? "" : labels.back();
    if (labels.empty() || labels.front() != "Key:") return ::testing::AssertionFailure() << "no \"Key:\" label";
    auto okAt = [&](const char* text) {
        ::SendMessageA(edit, WM_SETTEXT, 0, LPARAM(text));
        return ::IsWindowEnabled(ok) != FALSE;
    };
    if (::IsWindowEnabled(ok)) return ::testing::AssertionFailure() << "OK enabled before any key";
    if (okAt("1234567")) return ::testing::AssertionFailure() << "OK enabled at 7 characters";
    if (!okAt("12345678")) return ::testing::AssertionFailure() << "OK disabled at 8 characters";
    if (okAt("1234567")) return ::testing::AssertionFailure() << "OK still enabled back at 7 characters";
    if (key) {
        okAt(key->c_str());
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(ok));
    } else {
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(cancel));
    }
    if (!WaitFor([&] { return !::IsWindow(dialog); })) return ::testing::AssertionFailure() << "the dialog stayed";
    return ::testing::AssertionSuccess();
}

class EncryptedFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");
    }

    // A picture opened through a second start, as a double click on it would.
    void OpenPicture(VimbrelProcess& app, const std::string& file) {
        ASSERT_TRUE(app.RunSecondInstance("\"" + file + "\"").has_value());
        ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find(file) != std::string::npos; }))
            << StatusText(app.MainWindow());
    }

    // Where encrypted_files_openssl.cmake and these tests hand files to each other.
    static std::optional<std::string> OpensslExchange() {
        const char* unix = std::getenv("VIMBREL_OPENSSL_EXCHANGE");
        if (!unix || !*unix) return std::nullopt;
        std::string folder = std::string("Z:") + unix + "/";
        for (char& c : folder)
            if (c == '/') c = '\\';
        return folder;
    }
};

TEST_F(EncryptedFilesTest, EncryptAFileWritesTheVrxBesideTheSourceAndLeavesTheSourceAlone) {
    VimbrelProcess app("encrypt-file");
    const std::string source = app.Folder() + "report.doc";
    const std::string content(5000, 'r');
    std::ofstream(source, std::ios::binary) << content;
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.RunSecondInstance("").has_value());

    ASSERT_TRUE(app.PostMenuCommand("&Encrypt a File with VRL"));
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), "report key 1"));
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Select File to Encrypt", source));
    const std::string encrypted = app.Folder() + "report.doc.VRX";
    ASSERT_TRUE(WaitFor([&] { return ReadAll(encrypted).size() == 5008; })) << ReadAll(encrypted).size();
    EXPECT_EQ(Decipher(encrypted, "report key 1"), content);
    EXPECT_EQ(ReadAll(source), content) << "the source is left as it was";
    ASSERT_TRUE(app.Exit());
}

TEST_F(EncryptedFilesTest, AWrongKeyEndsInTheMessageAndTheProgramRunsOnWithItsPicture) {
    VimbrelProcess app("wrong-key");
    const std::string good = app.Folder() + "good.bmp";
    vimbrel::WriteImageFile(Pattern(16, 12, 24), good);
    const std::string encrypted = app.Folder() + "photo.bmp.vrx";
    {
        vimbrel::TDES des;
        vimbrel::EncryptFileWithKey(des, vimbrel::EncryptedFileIVText, "the right key", good, encrypted);
        // This key's last block does not end in a pad count, which is how most wrong keys end.
        EXPECT_THROW(vimbrel::DecryptFileWithKey(des, vimbrel::EncryptedFileIVText, "the wrong key", encrypted,
                                                 app.Folder() + "probe"),
                     vimbrel::ECipherTextError);
    }
    ASSERT_TRUE(app.Start());
    OpenPicture(app, good);

    // The second start ends once the first asks for the key: the user answers the first.
    EXPECT_TRUE(app.RunSecondInstance("\"" + encrypted + "\"", 3s).has_value());
    std::string note;
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), "the wrong key", &note));
    EXPECT_EQ(note, "\r\nFile: photo.bmp.vrx");
    ASSERT_TRUE(AnswerMessageBox(app.ProcessId(), kAppTitle, "Unable to Decrypt the File"));
    EXPECT_TRUE(WaitFor([&] { return FindProcessWindow(app.ProcessId(), "#32770", kAppTitle) == nullptr; }));
    EXPECT_TRUE(app.Running());
    EXPECT_EQ(StatusText(app.MainWindow()), "(16x 12) - " + good) << "the current picture stays";
    EXPECT_FALSE(Exists(WorkFolder() + "photo.bmp")) << "nothing deciphered stays behind";

    // Cancelled: nothing is said and nothing changes.
    EXPECT_TRUE(app.RunSecondInstance("\"" + encrypted + "\"", 3s).has_value());
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), std::nullopt));
    EXPECT_FALSE(WaitFor([&] { return FindProcessWindow(app.ProcessId(), "#32770", kAppTitle) != nullptr; }, 1s));
    EXPECT_EQ(StatusText(app.MainWindow()), "(16x 12) - " + good);
    ASSERT_TRUE(app.Exit());
}

// First half of encrypted_files_openssl.cmake: leaves shot.bmp.vrx and the bitmap it must
// decipher to for openssl.
TEST_F(EncryptedFilesTest, SaveImageEncryptedWritesWhatOpensslDeciphers) {
    auto exchange = OpensslExchange();
    if (!exchange) GTEST_SKIP() << "run by encrypted_files_openssl, which checks the file with openssl";
    VimbrelProcess app("save-encrypted");
    const std::string source = app.Folder() + "source.bmp";
    vimbrel::WriteImageFile(Pattern(40, 30, 24), source);
    ASSERT_TRUE(app.Start());
    OpenPicture(app, source);

    ASSERT_TRUE(app.PostMenuCommand("&Save Image Encrypted"));
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), kOpensslKey));
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Save As", app.Folder() + "shot"));
    const std::string saved = app.Folder() + "shot.bmp.vrx";
    const std::size_t size = ReadAll(source).size() / 8 * 8 + 8;
    ASSERT_TRUE(WaitFor([&] { return ReadAll(saved).size() == size; })) << ReadAll(saved).size();
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    EXPECT_TRUE(WaitFor([&] { return !Exists(std::string(temp) + "shot.bmp"); })) << "the plain picture is removed";
    ASSERT_TRUE(app.Exit());
    ASSERT_TRUE(::CopyFileA(saved.c_str(), (*exchange + "shot.bmp.vrx").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA(source.c_str(), (*exchange + "expected.bmp").c_str(), FALSE));
}

// Second half: openssl has enciphered expected.bmp into photo.bmp.vrx.
TEST_F(EncryptedFilesTest, AFileOpensslEncipheredOpensThroughASecondStart) {
    auto exchange = OpensslExchange();
    if (!exchange || !Exists(*exchange + "photo.bmp.vrx"))
        GTEST_SKIP() << "run by encrypted_files_openssl, which makes the file with openssl";
    VimbrelProcess app("open-encrypted");
    const std::string encrypted = app.Folder() + "photo.bmp.vrx";
    ASSERT_TRUE(::CopyFileA((*exchange + "photo.bmp.vrx").c_str(), encrypted.c_str(), FALSE));
    ASSERT_TRUE(app.Start());

    EXPECT_TRUE(app.RunSecondInstance("\"" + encrypted + "\"", 3s).has_value());
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), kOpensslKey));
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(40x 30) - Encrypted Image"; }))
        << StatusText(app.MainWindow());
    EXPECT_TRUE(::IsWindowVisible(app.MainWindow()));
    EXPECT_FALSE(Exists(WorkFolder() + "photo.bmp")) << "no plain copy once it is shown";
    ASSERT_TRUE(app.Exit());
}

// With "Cipher" on "Strong", set as the settings dialog stores it.
class StrongFilesTest : public EncryptedFilesTest {
protected:
    void SetUp() override {
        EncryptedFilesTest::SetUp();
        WriteSetting("Cipher", "Strong");
    }

    // A picture the program shows, saved again as a plain bitmap through Save Image As, so
    // its pixels can be read from outside.
    std::optional<vimbrel::Bitmap> ShownPicture(VimbrelProcess& app, const std::string& name) {
        if (!app.PostMenuCommand("Save Image &As...")) return std::nullopt;
        if (!AnswerFileDialog(app.ProcessId(), "Save As", app.Folder() + name)) return std::nullopt;
        return WaitForPicture(app.Folder() + name + ".bmp");
    }

    // Where encrypted_files_vrx.cmake and these tests hand files to each other.
    static std::optional<std::string> VrxExchange() {
        const char* unix = std::getenv("VIMBREL_VRX_EXCHANGE");
        if (!unix || !*unix) return std::nullopt;
        return WindowsPath(unix) + "\\";
    }
};

TEST_F(StrongFilesTest, ACaptureSavedEncryptedReopensExactlyAndAWrongKeyIsRefused) {
    VimbrelProcess app("strong-capture");
    ASSERT_TRUE(app.Start());
    ASSERT_TRUE(app.RunSecondInstance("\\F").has_value());
    const std::string size =
        "(" + std::to_string(::GetSystemMetrics(SM_CXSCREEN)) + "x " + std::to_string(::GetSystemMetrics(SM_CYSCREEN)) + ")";
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).starts_with(size); })) << StatusText(app.MainWindow());

    ASSERT_TRUE(app.PostMenuCommand("&Save Image Encrypted"));
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), "the strong key"));
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Save As", app.Folder() + "shot"));
    const std::string saved = app.Folder() + "shot.bmp.vrs";
    // Once the file is whole, the key opens it here too: the capture, as a bitmap.
    const std::string outside = app.Folder() + "outside.bmp";
    ASSERT_TRUE(WaitFor(
        [&] {
            try {
                vimbrel::TDES des;
                vimbrel::DecipherFile(des, "the strong key", saved, outside);
                return true;
            } catch (const std::exception&) {
                return false;
            }
        },
        20s));
    EXPECT_TRUE(vimbrel::ReadStrongHeader(saved).has_value()) << "a strong file, by its header";
    const auto captured = WaitForPicture(outside);
    ASSERT_TRUE(captured.has_value());
    EXPECT_EQ(captured->Width(), ::GetSystemMetrics(SM_CXSCREEN));

    // Reopened through a second start with the right key: the same pixels, exactly.
    EXPECT_TRUE(app.RunSecondInstance("\"" + saved + "\"", 3s).has_value());
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), "the strong key"));
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == size + " - Encrypted Image"; }, 20s))
        << StatusText(app.MainWindow());
    const auto reopened = ShownPicture(app, "reopened");
    ASSERT_TRUE(reopened.has_value());
    EXPECT_TRUE(*reopened == *captured) << "every pixel as captured";

    // A wrong key: the program's message, and no plain byte in the work folder.
    EXPECT_TRUE(app.RunSecondInstance("\"" + saved + "\"", 3s).has_value());
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), "the strong kez"));
    ASSERT_TRUE(AnswerMessageBox(app.ProcessId(), kAppTitle, "Unable to Decrypt the File"));
    EXPECT_FALSE(Exists(WorkFolder() + "shot.bmp")) << "nothing deciphered stays behind";
    EXPECT_EQ(StatusText(app.MainWindow()), size + " - " + app.Folder() + "reopened.bmp") << "the picture stays";

    // DES files written before still open, whatever the setting.
    const std::string old = app.Folder() + "old.bmp.vrx";
    vimbrel::WriteImageFile(Pattern(16, 12, 24), app.Folder() + "old.bmp");
    {
        vimbrel::TDES des;
        vimbrel::EncryptFileWithKey(des, vimbrel::EncryptedFileIVText, "the older key", app.Folder() + "old.bmp", old);
    }
    EXPECT_TRUE(app.RunSecondInstance("\"" + old + "\"", 3s).has_value());
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), "the older key"));
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(16x 12) - Encrypted Image"; }))
        << StatusText(app.MainWindow());
    ASSERT_TRUE(app.Exit());
}

// First half of encrypted_files_vrx.cmake: a strong file of each picture kind, for the
// native vrx to decipher.
TEST_F(StrongFilesTest, SavedPicturesOfEveryKindForVrx) {
    auto exchange = VrxExchange();
    if (!exchange) GTEST_SKIP() << "run by encrypted_files_vrx, which deciphers the files with the native vrx";
    VimbrelProcess app("strong-for-vrx");
    const std::string source = app.Folder() + "source.bmp";
    vimbrel::WriteImageFile(Pattern(40, 30, 24), source);
    ASSERT_TRUE(app.Start());
    OpenPicture(app, source);
    // Each name says its kind, as a user typing the whole name would have it.
    for (const std::string name : {"shot.bmp.vrs", "shot.jpg.vrs", "shot.png.vrs"}) {
        ASSERT_TRUE(app.PostMenuCommand("&Save Image Encrypted"));
        ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), kOpensslKey));
        ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Save As", app.Folder() + name));
        const std::string saved = app.Folder() + name;
        ASSERT_TRUE(WaitFor([&] { return Exists(saved) && vimbrel::CipherOfFile(saved) == vimbrel::FileCipher::Strong; }, 20s));
        // The file is written in one go once the key is derived; give it time to close.
        ASSERT_TRUE(WaitFor([&] {
            try {
                vimbrel::TDES des;
                vimbrel::DecipherFile(des, kOpensslKey, saved, saved + ".check");
                ::DeleteFileA((saved + ".check").c_str());
                return true;
            } catch (const std::exception&) {
                return false;
            }
        }, 20s));
        ASSERT_TRUE(::CopyFileA(saved.c_str(), (*exchange + name).c_str(), FALSE));
    }
    ASSERT_TRUE(app.Exit());
    ASSERT_TRUE(::CopyFileA(source.c_str(), (*exchange + "expected.bmp").c_str(), FALSE));
}

// Second half: the native vrx has enciphered a picture of each kind; each opens here.
TEST_F(StrongFilesTest, PicturesVrxEncipheredOpenExactly) {
    auto exchange = VrxExchange();
    if (!exchange || !Exists(*exchange + "vrx.png.VRS"))
        GTEST_SKIP() << "run by encrypted_files_vrx, which makes the files with the native vrx";
    VimbrelProcess app("strong-from-vrx");
    ASSERT_TRUE(app.Start());
    const auto expected = vimbrel::LoadImageFile(*exchange + "expected.bmp");
    ASSERT_TRUE(expected.has_value());
    for (const char* name : {"vrx.bmp.VRS", "vrx.png.VRS", "vrx.jpg.VRS"}) {
        SCOPED_TRACE(name);
        const std::string file = app.Folder() + name;
        ASSERT_TRUE(::CopyFileA((*exchange + name).c_str(), file.c_str(), FALSE));
        EXPECT_TRUE(app.RunSecondInstance("\"" + file + "\"", 3s).has_value());
        ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), kOpensslKey));
        ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(40x 30) - Encrypted Image"; }, 20s))
            << StatusText(app.MainWindow());
        if (std::string(name) != "vrx.jpg.VRS") {  // lossless kinds: the very pixels
            const auto shown = ShownPicture(app, std::string("shown-") + name[4] + name[5] + name[6]);
            ASSERT_TRUE(shown.has_value());
            EXPECT_TRUE(*shown == *expected) << "the picture vrx enciphered, exactly";
        }
    }
    ASSERT_TRUE(app.Exit());
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// A name in no legacy code page through the save dialog, the encrypted file and a second
// start's hand-over: the picture goes out enciphered and comes back whole.
TEST_F(EncryptedFilesTest, APictureSavedEncryptedUnderANonLatinNameOpensAgainThroughASecondStart) {
    VimbrelProcess app("encrypted-names");
    const std::string folder = app.Folder() + "Gr\xC3\xB6\xC3\x9F" "e-\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\\";
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    const std::string source = folder + "\xD0\xA1\xD0\xBD\xD0\xB8\xD0\xBC\xD0\xBE\xD0\xBA.bmp";  // Снимок.bmp
    vimbrel::WriteImageFile(Pattern(40, 30, 24), source);
    ASSERT_TRUE(app.Start());
    OpenPicture(app, source);

    ASSERT_TRUE(app.PostMenuCommand("&Save Image Encrypted"));
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), "names key 2026"));
    ASSERT_TRUE(AnswerFileDialog(app.ProcessId(), "Save As", folder + "\xE5\x86\x99\xE7\x9C\x9F"));  // 写真
    const std::string saved = folder + "\xE5\x86\x99\xE7\x9C\x9F.bmp.vrx";
    const std::size_t size = ReadAll(vimbrel::PathFromUtf8(source)).size() / 8 * 8 + 8;
    ASSERT_TRUE(WaitFor([&] { return ReadAll(vimbrel::PathFromUtf8(saved)).size() == size; })) << saved;

    ASSERT_TRUE(app.PostMenuCommand("Clea&r Capture"));
    EXPECT_TRUE(app.RunSecondInstance("\"" + saved + "\"", 3s).has_value());
    ASSERT_TRUE(AnswerKeyDialog(app.ProcessId(), "names key 2026"));
    EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()) == "(40x 30) - Encrypted Image"; }))
        << StatusText(app.MainWindow());
    ASSERT_TRUE(app.Exit());
}

// The cipher's own checks on names in no legacy code page (this suite runs in UTF-8, as
// the program does): a file enciphered onto itself is refused before it is truncated, and
// a cipher text of the wrong length is refused before anything is written.
TEST(EncryptedFileNames, TheCiphersChecksSeeFilesWithNonLatinNames) {
    VimbrelProcess scratch("encrypted-checks");
    const std::string file = scratch.Folder() + "\xE5\x86\x99\xE7\x9C\x9F-Gr\xC3\xB6\xC3\x9F" "e.bmp";
    ASSERT_TRUE(vimbrel::testing::WriteText(vimbrel::PathFromUtf8(file), "thirteen byte"));
    vimbrel::TDES des;
    EXPECT_THROW(vimbrel::EncryptFileWithKey(des, vimbrel::EncryptedFileIVText, "names key 2026", file, file),
                 vimbrel::EFileError);
    EXPECT_EQ(ReadAll(vimbrel::PathFromUtf8(file)), "thirteen byte") << "the file enciphered onto itself is kept";
    const std::string plain = scratch.Folder() + "\xE5\x86\x99\xE7\x9C\x9F-plain.bmp";
    EXPECT_THROW(vimbrel::DecryptFileWithKey(des, vimbrel::EncryptedFileIVText, "names key 2026", file, plain),
                 vimbrel::ECipherTextError);
    EXPECT_FALSE(Exists(plain)) << "refused before the output was made";
}

}  // namespace
}  // namespace e2e
