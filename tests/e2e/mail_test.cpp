// Send as Email under Wine: the send dialog driven through its controls over a stand-in
// Simple MAPI library that records every call, enciphered attachments, a system without a
// usable library, and Outlook through a stand-in automation server.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <thread>

#include "app/main_commands.h"
#include "crypto/des.h"
#include "crypto/enciphered_file.h"
#include "crypto/encrypted_names.h"
#include "dialog_layout.h"
#include "saved_picture.h"
#include "util/utf8_text.h"
#include "vimbrel_process.h"
#include "whole_files.h"
#include "workspace/image_file.h"

namespace e2e {
namespace {

using vimbrel::testing::ReadAll;

constexpr const char* kAppTitle = "  Vimbrel   ";
constexpr const char* kSendTitle = "Vimbrel -- Send Email";
constexpr const char* kKeyDialogTitle = "Vimbrel - Enter Encryption Key";
constexpr const char* kKey = "mail key 2026";

std::string StandIn(const std::string& name) {
    char path[MAX_PATH] = {};
    DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, n);
    self.erase(self.find_last_of('\\'));
    return self.substr(0, self.find_last_of('\\') + 1) + "standins\\" + name;
}

vimbrel::Bitmap Picture() {
    vimbrel::Bitmap b(40, 30, 24);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) b.SetPixelColour(x, y, vimbrel::RgbQuad{std::uint8_t(x * 6), std::uint8_t(y * 8), 77, 0});
    return b;
}

std::string Text(HWND control) {
    char text[2048] = {};
    ::GetWindowTextA(control, text, sizeof text);
    return text;
}

// Another process's list items come across only in their wide form.
std::string ComboItem(HWND list, int index) {
    wchar_t wide[1024] = {};
    if (::SendMessageW(list, CB_GETLBTEXT, WPARAM(index), LPARAM(wide)) == CB_ERR) return "(none)";
    char text[1024] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) c = char(::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Whether this process can take the full-screen hotkey, that is whether Vimbrel has let it go.
bool PrintScreenFree() {
    if (!::RegisterHotKey(nullptr, 0x7001, 0, VK_SNAPSHOT)) return false;
    ::UnregisterHotKey(nullptr, 0x7001);
    return true;
}

// Wine's settings for Vimbrel.exe alone: a mapi32.dll beside it is loaded before Wine's own.
constexpr const char* kVimbrelDllOverrides = "Software\\Wine\\AppDefaults\\Vimbrel.exe\\DllOverrides";

class MailTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSetting("CheckClose", "N");
        HKEY key;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kVimbrelDllOverrides, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                    nullptr),
                  ERROR_SUCCESS);
        const char order[] = "native,builtin";
        ::RegSetValueExA(key, "mapi32", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
        ::RegCloseKey(key);
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kVimbrelDllOverrides); }

    // The program with `library` beside it as mapi32.dll.
    void StartWithMapi(const std::string& library, const std::string& arguments = "") {
        ASSERT_TRUE(::CopyFileA(StandIn(library).c_str(), (app.Folder() + "mapi32.dll").c_str(), FALSE))
            << StandIn(library);
        ASSERT_TRUE(app.Start(arguments));
    }

    // Shows a picture opened from a file, which the mail then attaches.
    std::string OpenPicture(const std::string& name = "pic.bmp") {
        const std::string file = app.Folder() + name;
        vimbrel::WriteImageFile(Picture(), file);
        EXPECT_TRUE(app.RunSecondInstance("\"" + file + "\"").has_value());
        EXPECT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find(file) != std::string::npos; }))
            << StatusText(app.MainWindow());
        return file;
    }

    HWND OpenSendDialog() {
        EXPECT_TRUE(app.PostMenuCommand("Send as Email"));
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindProcessWindow(app.ProcessId(), "#32770", kSendTitle)) != nullptr; });
        if (dialog) WaitFor([&] { return ::IsWindowVisible(dialog) != FALSE; });
        return dialog;
    }

    void Click(HWND dialog, int id) {
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(::GetDlgItem(dialog, id)));
    }

    std::string Calls() { return ReadAll(app.Folder() + "mapi-calls.txt"); }

    // Send as Email to "ann" with "Encrypt Images", the key typed: true once the dialog is gone.
    ::testing::AssertionResult SendToAnnWithEncryptImages() {
        HWND dialog = OpenSendDialog();
        if (!dialog) return ::testing::AssertionFailure() << "no send dialog";
        ::SendDlgItemMessageA(dialog, 401, WM_SETTEXT, 0, LPARAM("ann"));
        ::CheckDlgButton(dialog, 410, BST_CHECKED);
        Click(dialog, IDOK);
        HWND key = nullptr;
        if (!WaitFor([&] { return (key = FindProcessWindow(app.ProcessId(), "#32770", kKeyDialogTitle)) != nullptr; }))
            return ::testing::AssertionFailure() << "no key dialog";
        WaitFor([&] { return ::IsWindowVisible(key) != FALSE; });
        ::SendMessageA(FindDescendantOfClass(key, "Edit"), WM_SETTEXT, 0, LPARAM(kKey));
        ::PostMessageA(key, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        // A strong copy's key takes a moment to derive.
        if (!WaitFor([&] { return !::IsWindow(dialog); }, 20s)) return ::testing::AssertionFailure() << "still open";
        return ::testing::AssertionSuccess();
    }

    VimbrelProcess app{"mail-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name())};
};

TEST_F(MailTest, TheDialogSendsItsRecipientsSubjectBodyAndThePictureThroughSimpleMapi) {
    StartWithMapi("mapi32.dll");
    const std::string file = OpenPicture();
    ASSERT_FALSE(PrintScreenFree()) << "Vimbrel holds its hotkey";
    HWND dialog = OpenSendDialog();
    ASSERT_TRUE(dialog) << "no send dialog";
    EXPECT_TRUE(PrintScreenFree()) << "the hotkeys are off while the dialog is open";
    EXPECT_TRUE(WaitFor([&] { return Calls().find("MAPILogon profile=(none) password=(none) flags=0") == 0; }))
        << Calls();

    HWND to = ::GetDlgItem(dialog, 401), send = ::GetDlgItem(dialog, IDOK);
    HWND list = FindDescendantOfClass(dialog, "ComboBox");
    ASSERT_TRUE(to && send && list);
    EXPECT_EQ(Text(send), "  &Send");
    EXPECT_FALSE(::IsWindowEnabled(send)) << "nothing to send to yet";
    EXPECT_EQ(ComboItem(list, 0), file + "\xC2\xA0   (3.6 kb)");
    EXPECT_EQ(::SendMessageA(list, CB_GETCURSEL, 0, 0), 0) << "the picture is the selected attachment";
    EXPECT_TRUE(FindChildByText(dialog, "Encrypt Images") && ::IsWindowVisible(FindChildByText(dialog, "Encrypt Images")));

    ::SendMessageA(to, WM_SETTEXT, 0, LPARAM("ann; bob ;;carol"));
    EXPECT_TRUE(::IsWindowEnabled(send));
    ::SendDlgItemMessageA(dialog, 407, WM_SETTEXT, 0, LPARAM("Our picture"));
    ::SendDlgItemMessageA(dialog, 408, WM_SETTEXT, 0, LPARAM("First line\r\nsecond line"));
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); })) << "the dialog closes after the send";

    const std::string calls = Calls();
    const std::string sent = "MAPISendMail session=4660 flags=0 subject=Our picture note=First line\\r\\nsecond line"
                             " recip=1|ann|SMTP:ann recip=1|bob|SMTP:bob recip=1|carol|SMTP:carol file=" +
                             file + "|pic.bmp|-1";
    EXPECT_NE(calls.find("MAPIResolveName session=4660 name=ann flags=0\r\nMAPIFreeBuffer\r\n"
                         "MAPIResolveName session=4660 name=bob flags=0\r\nMAPIFreeBuffer\r\n"
                         "MAPIResolveName session=4660 name=carol flags=0\r\nMAPIFreeBuffer\r\n" + sent + "\r\n"),
              std::string::npos)
        << calls;
    EXPECT_TRUE(ReadAll(app.Folder() + "mapi-attachment-0") == ReadAll(file)) << "the picture was sent";
    EXPECT_NE(calls.find("MAPILogoff session=4660"), std::string::npos) << "the dialog's session ends with it";
    EXPECT_TRUE(WaitFor([] { return !PrintScreenFree(); })) << "the hotkeys are on again";
}

// A mail program may hand the message on and read the files later: what it was given is
// still there after the send, a second send keeps it, and both are gone once the program
// has ended.
TEST_F(MailTest, EncryptImagesSendsAnEncipheredPngThatTheMailProgramCanReadUntilTheProgramEnds) {
    StartWithMapi("mapi32.dll");
    const std::string file = OpenPicture("pic.png");
    const std::string copies[] = {WorkFolder() + "pic.png.vrx", WorkFolder() + "2\\pic.png.vrx"};
    for (const std::string& copy : copies) {
        ASSERT_TRUE(SendToAnnWithEncryptImages());
        EXPECT_NE(Lower(Calls()).find(Lower(" recip=1|ann|SMTP:ann file=" + copy + "|pic.png.vrx|-1")),
                  std::string::npos)
            << Calls();
    }
    for (const std::string& copy : copies) {
        ASSERT_NE(::GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << copy << " is there after the sends";
        const std::string plain = app.Folder() + "read-later.png";
        vimbrel::TDES des;
        vimbrel::DecryptFileWithKey(des, vimbrel::EncryptedFileIVText, kKey, copy, plain);
        EXPECT_TRUE(ReadAll(plain) == ReadAll(file)) << "the key deciphers the picture from " << copy;
    }

    ASSERT_TRUE(app.Exit());
    for (const std::string& copy : copies)
        EXPECT_EQ(::GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES) << copy << " outlives the program";
    EXPECT_EQ(::GetFileAttributesA((WorkFolder() + "2").c_str()), INVALID_FILE_ATTRIBUTES) << "its folder too";
}

// With "Cipher" on "Strong", "Encrypt Images" sends strong files only, which the key opens.
TEST_F(MailTest, EncryptImagesWithTheStrongCipherSendsOnlyStrongFiles) {
    WriteSetting("Cipher", "Strong");
    StartWithMapi("mapi32.dll");
    const std::string file = OpenPicture("pic.bmp");
    ASSERT_TRUE(SendToAnnWithEncryptImages());
    const std::string copy = WorkFolder() + "pic.bmp.vrs";
    EXPECT_NE(Lower(Calls()).find(Lower(" file=" + copy + "|pic.bmp.vrs|-1")), std::string::npos) << Calls();
    EXPECT_EQ(Lower(Calls()).find(".vrx"), std::string::npos) << "no DES file goes out";
    EXPECT_EQ(::GetFileAttributesA((app.Folder() + "mapi-attachment-1").c_str()), INVALID_FILE_ATTRIBUTES)
        << "one attachment only";

    // What the mail program read is a strong file, and the key gives the picture back.
    const std::string sent = app.Folder() + "mapi-attachment-0";
    ASSERT_EQ(vimbrel::CipherOfFile(sent), vimbrel::FileCipher::Strong);
    vimbrel::TDES des;
    vimbrel::DecipherFile(des, kKey, sent, app.Folder() + "read.bmp");
    EXPECT_TRUE(ReadAll(app.Folder() + "read.bmp") == ReadAll(file));
    ASSERT_TRUE(app.Exit());
}

TEST_F(MailTest, TheSendDialogShowsItsButtonsWholeAtTheScreensDensity) {
    StartWithMapi("mapi32.dll");
    OpenPicture();
    HWND dialog = OpenSendDialog();
    ASSERT_TRUE(dialog);
    const std::vector<std::string> clipped = ClippedButtons(dialog, int(::GetDpiForSystem()));
    EXPECT_TRUE(clipped.empty()) << ::testing::PrintToString(clipped);
    Click(dialog, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
}

TEST_F(MailTest, ALibraryLackingAnEntryPointIsReportedAndMailStaysOffUntilTheImageCommandsUpdate) {
    // The library loads when mail is first sent, not at start: the start asks nothing.
    StartWithMapi("broken\\mapi32.dll");
    EXPECT_FALSE(FindProcessWindow(app.ProcessId(), "#32770", kAppTitle));
    OpenPicture();
    ASSERT_TRUE(app.PostMenuCommand("Send as Email"));
    ASSERT_TRUE(AnswerMessageBox(app.ProcessId(), kAppTitle, "GetProcAddress for MAPI.DLL function(s) failed"));
    ASSERT_TRUE(AnswerMessageBox(app.ProcessId(), kAppTitle,
                                 "Your system is not configured for MAPI Mail.\r\nMAPI mail is required for Vimbrel Send Mail"));
    HWND bar = FindDescendantOfClass(app.MainWindow(), "ToolbarWindow32");
    ASSERT_TRUE(bar);
    EXPECT_TRUE(WaitFor([&] {
        return ::SendMessageA(bar, TB_ISBUTTONENABLED, WPARAM(vimbrel::MainCommandTable().Id(vimbrel::cmd::btnEmail)), 0) == 0;
    }));
    // The menu item is off as well: asking again brings no message.
    ASSERT_TRUE(app.PostMenuCommand("Send as Email"));
    WaitFor([] { return false; }, 1500ms);
    EXPECT_FALSE(FindProcessWindow(app.ProcessId(), "#32770", kAppTitle));
    EXPECT_TRUE(app.Running());
}

// "Outlook.Application" served by the stand-in library, and an Outlook installed as far as the
// program can tell; all of it taken away again afterwards.
class OutlookTest : public MailTest {
protected:
    static constexpr const char* kProgId = "Outlook.Application";
    static constexpr const char* kClsid = "{5B0D3C1E-7A42-4F19-9C2D-6E8B1A7F3D20}";
    static constexpr const char* kAppPath = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OUTLOOK.EXE";

    void SetUp() override {
        MailTest::SetUp();
        WriteSetting("UseOutlook", "Yes");
        SetDefault(HKEY_LOCAL_MACHINE, kAppPath, app.ExePath());
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgId);
        ::RegDeleteTreeA(HKEY_CLASSES_ROOT, (std::string("CLSID\\") + kClsid).c_str());
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kAppPath);
        MailTest::TearDown();
    }

    void RegisterServer() {
        const std::string server = app.Folder() + "outlook.dll";
        ASSERT_TRUE(::CopyFileA(StandIn("outlook.dll").c_str(), server.c_str(), FALSE)) << StandIn("outlook.dll");
        SetDefault(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\CLSID", kClsid);
        const std::string inproc = std::string("CLSID\\") + kClsid + "\\InprocServer32";
        SetDefault(HKEY_CLASSES_ROOT, inproc, server);
        HKEY key;
        ::RegOpenKeyExA(HKEY_CLASSES_ROOT, inproc.c_str(), 0, KEY_SET_VALUE, &key);
        ::RegSetValueExA(key, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>("Apartment"), 10);
        ::RegCloseKey(key);
    }

    static void SetDefault(HKEY root, const std::string& path, const std::string& value) {
        HKEY key;
        ASSERT_EQ(::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), DWORD(value.size() + 1));
        ::RegCloseKey(key);
    }
};

TEST_F(OutlookTest, WithUseOutlookANewMailItemGetsThePictureAndIsDisplayed) {
    RegisterServer();
    ASSERT_TRUE(app.Start());
    const std::string file = OpenPicture();
    ASSERT_TRUE(app.PostMenuCommand("Send as Email"));
    const std::string expected = "CreateItem 0\r\nAttachments.Add " + file + "\r\nDisplay -1\r\n";
    EXPECT_TRUE(WaitFor([&] { return ReadAll(app.Folder() + "outlook-calls.txt") == expected; }))
        << ReadAll(app.Folder() + "outlook-calls.txt");
    EXPECT_FALSE(FindProcessWindow(app.ProcessId(), "#32770", kSendTitle)) << "no send dialog of our own";
    EXPECT_TRUE(WaitFor([] { return !PrintScreenFree(); })) << "the hotkeys are on again";
}

TEST_F(OutlookTest, AnOutlookThatCannotStartIsReportedAndTheProgramRunsOn) {
    ASSERT_TRUE(app.Start());
    OpenPicture();
    ASSERT_TRUE(app.PostMenuCommand("Send as Email"));
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindProcessWindow(app.ProcessId(), "#32770", kAppTitle)) != nullptr; }))
        << "the failure is reported";
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(box); }));
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(WaitFor([] { return !PrintScreenFree(); })) << "the hotkeys are on again";
}

}  // namespace
}  // namespace e2e

namespace e2e {
namespace {

// Names in no legacy code page all the way: a picture named so opens from the command
// line, numbered saves land in a folder named so, and the mail attaches the last of them.
TEST_F(MailTest, APictureWithANonLatinNameOpensSavesNumberedIntoSuchAFolderAndMails) {
    const std::string name = "Gr\xC3\xB6\xC3\x9F" "e-\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
    const std::string folder = app.Folder() + "\xD0\x9A\xD0\xB0\xD0\xB4\xD1\x80\xD1\x8B-" + name;  // Кадры-...
    ASSERT_TRUE(::CreateDirectoryA(folder.c_str(), nullptr));
    WriteSetting("AutoSavePath", folder);
    WriteSetting("AutoPrefix", name);
    WriteSetting("AutoExt", ".png");
    const std::string file = app.Folder() + name + ".bmp";
    vimbrel::WriteImageFile(Picture(), file);
    StartWithMapi("mapi32.dll", "\"" + file + "\"");
    ASSERT_TRUE(WaitFor([&] { return StatusText(app.MainWindow()).find(file) != std::string::npos; }))
        << "opened from the command line: " << StatusText(app.MainWindow());

    ::SetForegroundWindow(app.MainWindow());
    PressKeys({VK_CONTROL, VK_F2});
    PressKeys({VK_CONTROL, VK_F2});
    const std::string second = folder + "\\" + name + "-00002.png";
    for (const std::string& saved : {folder + "\\" + name + "-00001.png", second}) {
        const std::optional<vimbrel::Bitmap> picture = WaitForPicture(saved);
        ASSERT_TRUE(picture) << saved;
        EXPECT_EQ(*picture, Picture());
    }

    HWND dialog = OpenSendDialog();
    ASSERT_TRUE(dialog);
    ::SendDlgItemMessageA(dialog, 401, WM_SETTEXT, 0, LPARAM("ann"));
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
    EXPECT_NE(Calls().find(" file=" + second + "|" + name + "-00002.png|-1"), std::string::npos) << Calls();
    const std::string sent = ReadAll(app.Folder() + "mapi-attachment-0");
    EXPECT_TRUE(!sent.empty() && sent == ReadAll(vimbrel::PathFromUtf8(second))) << "the saved picture was sent";
}

}  // namespace
}  // namespace e2e
