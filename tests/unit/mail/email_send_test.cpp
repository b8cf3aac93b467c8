// TEmailSend without its window: the recipients' texts, the attachment items, the
// encryption choices and the send over a fake Simple MAPI library and real files.
#include <gtest/gtest.h>

#include <filesystem>

#include "crypto/encrypted_names.h"
#include "fake_mapi.h"
#include "crypto/enciphered_file.h"
#include "mail/email_send.h"
#include "fake_ports.h"
#include "scratch_folder.h"
#include "whole_files.h"

namespace vimbrel {
namespace {

namespace fs = std::filesystem;
using namespace testing;
using Texts = std::vector<std::string>;

TEST(SendEmailTexts, AddressesSplitOnSemicolonsOnlyAndJoinWithoutBlanks) {
    Texts list{"old"};
    SplitAddresses("ann; bob ;;carol", list);
    EXPECT_EQ(list, (Texts{"ann", "bob", "carol"}));
    SplitAddresses("ann, bob", list);
    EXPECT_EQ(list, (Texts{"ann, bob"}));
    SplitAddresses(" ; ;", list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(JoinAddresses({"Ann A", "bob", "c"}), "Ann A;bob;c");
    EXPECT_EQ(JoinAddresses({}), "");
}

TEST(SendEmailTexts, AnAttachmentItemIsThePathANoBreakSpaceAndTheSizeInKilobytes) {
    const NumberFormat english;
    EXPECT_EQ(AttachmentItemText("C:\\a.bmp", 2560, english), "C:\\a.bmp\xC2\xA0   (2.5 kb)");
    EXPECT_EQ(AttachmentItemText("C:\\big.bmp", 1264179, english), "C:\\big.bmp\xC2\xA0   (1,234.5 kb)");
    EXPECT_EQ(AttachmentItemText("C:\\gone", std::nullopt, english), "C:\\gone\xC2\xA0   (0.0 kb)");
    EXPECT_EQ(FormatOneDecimal(1234567.89, NumberFormat{".", ","}), "1.234.567,9");
    EXPECT_EQ(FormatOneDecimal(999.96, english), "1,000.0");
    EXPECT_EQ(ItemPath("C:\\a b.bmp\xC2\xA0   (2.5 kb)"), "C:\\a b.bmp");
    EXPECT_EQ(ItemPath("no separator"), "no separator");
    EXPECT_EQ(ItemPath("C:\\voil\xC3\xA0.bmp\xC2\xA0   (2.5 kb)"), "C:\\voil\xC3\xA0.bmp") << "a name holding U+00E0";
}

TEST(SendEmailTexts, ImagesOrAllFilesButEncryptedOnesAreEnciphered) {
    for (const char* name : {"a.bmp", "B.JPEG", "c.jpg", "d.png", "E.PNG"}) {
        EXPECT_TRUE(ShouldEncipher(name, false, true)) << name;
        EXPECT_TRUE(ShouldEncipher(name, true, false)) << name;
    }
    EXPECT_FALSE(ShouldEncipher("c.txt", false, true));
    EXPECT_TRUE(ShouldEncipher("c.txt", true, false));
    EXPECT_FALSE(ShouldEncipher("d.jpg.vrx", true, true));
    EXPECT_FALSE(ShouldEncipher("C:\\scanJPEG", false, true)) << "a tail is not an extension";
    EXPECT_TRUE(ShouldEncipher("d.jpgx", true, false)) << "only our own .vrx copies go as they are";
    EXPECT_FALSE(ShouldEncipher("a.bmp", false, false));
    EXPECT_EQ(EncipheredCopyPath("C:\\Work\\", "D:\\pics\\a.bmp"), "C:\\Work\\a.bmp.vrx");
    EXPECT_EQ(EncipheredCopyPath("C:\\Work\\", "E:\\a.bmp", 2), "C:\\Work\\2\\a.bmp.vrx");
    EXPECT_FALSE(ShouldEncipher("d.jpg.VRS", true, true)) << "nor strong ones";
    EXPECT_EQ(EncipheredCopyPath("C:\\Work\\", "E:\\a.bmp", 2, FileCipher::Strong), "C:\\Work\\2\\a.bmp.vrs");
}

struct FakeSendWindow : EmailSendWindow {
    std::vector<std::string> log;
    std::optional<std::string> key = std::string("secret key");
    std::optional<std::string> attachment;
    std::function<void()> whilePending;
    bool closed = false;

    void SetStatus(const std::string& text) override { log.push_back("status " + text); }
    bool LetPendingMessagesRun() override {
        if (whilePending) whilePending();
        return true;
    }
    void Close(bool cancelled) override {
        log.push_back(cancelled ? "close cancelled" : "close");
        closed = true;
    }
    std::optional<KeyText> AskKey() override {
        log.push_back("key dialog");
        return key ? std::optional<KeyText>(KeyText(*key)) : std::nullopt;
    }
    std::optional<std::string> AskAttachment(const std::string& folder) override {
        log.push_back("open dialog " + folder);
        return attachment;
    }
    void Warning(const std::string& text) override { log.push_back("warning " + text); }
    void ErrorBox(const std::string& text) override { log.push_back("error " + text); }
};

class EmailSendTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "work");
        dialog.FormCreate(window);
    }

    std::string Make(const std::string& name, const std::string& content) {
        WriteText(folder + name, content);
        return folder + name;
    }
    std::vector<std::string> WorkFiles() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(work)) names.push_back(e.path().filename().string());
        return names;
    }

    ScratchFolder dir{"vimbrel-mail"};
    std::string folder = dir.Slashed();
    std::string work = folder + "work/";
    FakeMapi mapi;
    DiskFiles files;
    FakeWindow cursor;
    TEmail email{mapi.Table(), files};
    TEmailSend dialog{email, files, cursor, work, NumberFormat{}};
    FakeSendWindow window;
};

TEST_F(EmailSendTest, SendsTheTypedRecipientsSubjectBodyAndAttachmentAndCloses) {
    const std::string picture = Make("pic.jpg", std::string(3000, 'p'));
    dialog.AddAttachment(picture);
    dialog.controls.to = "ann; bob ;;carol";
    dialog.controls.cc = "dan";
    dialog.controls.subject = std::string(300, 's');
    dialog.controls.body = "line one\r\nline two";
    dialog.txtEmailToChange();
    ASSERT_TRUE(dialog.controls.sendEnabled);
    dialog.btnSendClick();
    EXPECT_EQ(window.log, (Texts{"status ", "status Preparing message", "status Sending message", "close"}));
    ASSERT_EQ(mapi.sent.size(), 1u);
    const SentMessage& m = mapi.sent[0];
    ASSERT_EQ(m.recips.size(), 4u);
    EXPECT_EQ(m.recips[2].name, "carol Name");
    EXPECT_EQ(m.recips[3].recipClass, MAPI_CC);
    EXPECT_EQ(m.subject, std::string(255, 's'));
    EXPECT_EQ(m.note, "line one\r\nline two");
    EXPECT_EQ(m.files, (std::vector<SentFile>{{picture, "pic.jpg", 0xFFFFFFFFu}}));
    EXPECT_FALSE(dialog.controls.sendEnabled);  // a dialog sends once
    EXPECT_FALSE(cursor.busy);
}

// A mail program may return at once and read its attachments later: the copies stay in the
// work folder, which is emptied at exit.
TEST_F(EmailSendTest, EncryptImagesSendsEncipheredCopiesOfEveryImageThatOutlastTheSend) {
    const std::string a = Make("a.bmp", "bitmap bytes"), b = Make("b.jpeg", "jpeg bytes"), c = Make("c.txt", "text"),
                      d = Make("d.png", "png bytes");
    for (const auto& p : {a, b, c, d}) dialog.AddAttachment(p);
    dialog.controls.to = "ann";
    dialog.controls.encryptImages = true;
    dialog.btnSendClick();
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(mapi.sent[0].files, (std::vector<SentFile>{{work + "a.bmp.vrx", "a.bmp.vrx", 0xFFFFFFFFu},
                                                         {work + "b.jpeg.vrx", "b.jpeg.vrx", 0xFFFFFFFFu},
                                                         {c, "c.txt", 0xFFFFFFFFu},
                                                         {work + "d.png.vrx", "d.png.vrx", 0xFFFFFFFFu}}));
    Texts deciphered;
    for (const SentFile& f : mapi.sent[0].files) {
        if (!f.name.ends_with(".vrx")) continue;
        TDES des;
        DecryptFileWithKey(des, EncryptedFileIVText, "secret key", f.path, folder + "plain");
        deciphered.push_back(ReadAll(folder + "plain"));
    }
    EXPECT_EQ(deciphered, (Texts{"bitmap bytes", "jpeg bytes", "png bytes"}));
    EXPECT_EQ(window.log.front(), "key dialog");
    EXPECT_EQ(window.log[2], "status Encrypting Attachments");
}

TEST_F(EmailSendTest, WithTheStrongCipherTheCopiesAreStrongFiles) {
    const std::string a = Make("a.bmp", "bitmap bytes"), c = Make("c.txt", "text");
    dialog.AddAttachment(a);
    dialog.AddAttachment(c);
    dialog.controls.to = "ann";
    dialog.controls.encryptImages = true;
    dialog.cipher = FileCipher::Strong;
    dialog.btnSendClick();
    ASSERT_EQ(mapi.sent.size(), 1u);
    ASSERT_EQ(mapi.sent[0].files.size(), 2u);
    EXPECT_EQ(mapi.sent[0].files[0].path, work + "a.bmp.vrs");
    EXPECT_EQ(mapi.sent[0].files[1].path, c);
    TDES des;
    DecipherFile(des, "secret key", work + "a.bmp.vrs", folder + "plain");
    EXPECT_EQ(ReadAll(folder + "plain"), "bitmap bytes");
    EXPECT_EQ(CipherOfFile(work + "a.bmp.vrs"), FileCipher::Strong);
}

TEST_F(EmailSendTest, EncryptAllSkipsFilesAlreadyEncryptedAndAFailedSendIsReported) {
    const std::string c = Make("c.txt", "text"), d = Make("d.jpg.vrx", "cipher");
    dialog.AddAttachment(c);
    dialog.AddAttachment(d);
    dialog.controls.to = "ann";
    dialog.controls.encryptAll = true;
    mapi.sendAnswer = 2;
    dialog.btnSendClick();
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(mapi.sent[0].files[0].path, work + "c.txt.vrx");
    EXPECT_EQ(mapi.sent[0].files[1].path, d);
    EXPECT_EQ(window.log.back(), "close");
    EXPECT_EQ(window.log[window.log.size() - 2], "warning MAPI Sendmail failed.");
}

TEST_F(EmailSendTest, TwoAttachmentsOfOneNameEachSendTheirOwnContent) {
    fs::create_directories(dir / "other");
    dialog.AddAttachment(Make("a.bmp", "first"));
    dialog.AddAttachment(Make("other/a.bmp", "second"));
    dialog.controls.to = "ann";
    dialog.controls.encryptImages = true;
    std::vector<std::string> deciphered;
    mapi.onSend = [&](const SentMessage& m) {
        for (const SentFile& f : m.files) {
            TDES des;
            DecryptFileWithKey(des, EncryptedFileIVText, "secret key", f.path, folder + "plain");
            deciphered.push_back(f.name + " " + ReadAll(folder + "plain"));
        }
    };
    dialog.btnSendClick();
    EXPECT_EQ(deciphered, (Texts{"a.bmp.vrx first", "a.bmp.vrx second"}));

    // A later send leaves the copies an earlier mail may still be reading.
    TEmail email2(mapi.Table(), files);
    TEmailSend later(email2, files, cursor, work, NumberFormat{});
    FakeSendWindow window2;
    later.FormCreate(window2);
    later.AddAttachment(Make("a.bmp", "third"));
    later.controls.to = "ann";
    later.controls.encryptImages = true;
    deciphered.clear();
    later.btnSendClick();
    EXPECT_EQ(deciphered, (Texts{"a.bmp.vrx third"}));
    EXPECT_EQ(mapi.sent.back().files[0].path, work + "3\\a.bmp.vrx");
    for (const auto& [copy, content] : {std::pair{work + "a.bmp.vrx", "first"}, {work + "2\\a.bmp.vrx", "second"}}) {
        TDES des;
        DecryptFileWithKey(des, EncryptedFileIVText, "secret key", copy, folder + "plain");
        EXPECT_EQ(ReadAll(folder + "plain"), content) << copy;
    }
}

TEST_F(EmailSendTest, CancellingTheKeyDialogSendsNothingAndTheDialogStaysOpen) {
    dialog.controls.to = "ann";
    dialog.txtEmailToChange();
    dialog.controls.encryptImages = true;  // no attachment: the key is still asked for
    window.key.reset();
    dialog.btnSendClick();
    EXPECT_EQ(window.log, Texts{"key dialog"});
    EXPECT_TRUE(mapi.sent.empty());
    EXPECT_TRUE(dialog.controls.sendEnabled);
    EXPECT_FALSE(window.closed);
}

TEST_F(EmailSendTest, AFailedEncipheringSendsNothingLeavesNoCopyAndNeedsTwoCancels) {
    dialog.AddAttachment(Make("a.bmp", "bitmap"));
    dialog.AddAttachment(folder + "gone.bmp");
    dialog.controls.to = "ann";
    dialog.controls.encryptImages = true;
    EXPECT_THROW(dialog.btnSendClick(), EFileError);
    EXPECT_TRUE(mapi.sent.empty());
    EXPECT_TRUE(WorkFiles().empty());
    EXPECT_FALSE(dialog.controls.sendEnabled);
    EXPECT_TRUE(dialog.Sending());
    dialog.btnCancelClick();
    EXPECT_EQ(dialog.controls.status, "Cancelled");
    EXPECT_FALSE(window.closed);
    dialog.btnCancelClick();
    EXPECT_EQ(window.log.back(), "close cancelled");
}

TEST_F(EmailSendTest, CancelWhileTheSendLetsMessagesRunOnlyClearsTheFlag) {
    dialog.controls.to = "ann";
    window.whilePending = [&] {
        window.whilePending = nullptr;
        dialog.btnCancelClick();
    };
    dialog.btnSendClick();
    EXPECT_EQ(mapi.sent.size(), 1u);  // a send under way runs to its end
    EXPECT_EQ(window.log[1], "status Cancelled");
    EXPECT_EQ(window.log.back(), "close");
}

TEST_F(EmailSendTest, ControlRulesOfSendEncryptAndTheAttachmentList) {
    dialog.controls.cc = "carol";
    dialog.txtEmailToChange();
    EXPECT_FALSE(dialog.controls.sendEnabled);  // CC and BCC alone do not make a send
    dialog.controls.encryptImages = true;
    dialog.controls.encryptAll = true;
    dialog.chkEncAllClick();
    EXPECT_FALSE(dialog.controls.encryptImagesEnabled);
    EXPECT_TRUE(dialog.controls.encryptImages);
    dialog.controls.encryptAll = false;
    dialog.chkEncAllClick();
    EXPECT_TRUE(dialog.controls.encryptImagesEnabled);

    dialog.btnRemoveClick();  // nothing to remove
    window.attachment = Make("x.bmp", std::string(1024, 'x'));
    dialog.btnAddClick();
    window.attachment = Make("y.txt", "y");
    dialog.btnAddClick();
    EXPECT_EQ(window.log, (Texts{"open dialog ", "open dialog " + folder}));
    EXPECT_EQ(dialog.controls.attachments,
              (Texts{folder + "x.bmp\xC2\xA0   (1.0 kb)", folder + "y.txt\xC2\xA0   (0.0 kb)"}));
    EXPECT_EQ(dialog.controls.selected, 1);
    EXPECT_TRUE(dialog.controls.removeEnabled);
    dialog.btnRemoveClick();
    EXPECT_EQ(dialog.controls.selected, 0);
    EXPECT_TRUE(dialog.controls.removeEnabled);
    dialog.btnRemoveClick();
    EXPECT_EQ(dialog.controls.selected, -1);
    EXPECT_FALSE(dialog.controls.removeEnabled);
}

TEST_F(EmailSendTest, TheAddressBookRewritesTheThreeEdits) {
    dialog.controls.to = "ann; who";
    dialog.controls.bcc = "bob";
    mapi.names[{"who", false}] = Fails(MAPI_E_UNKNOWN_RECIPIENT);
    mapi.names[{"who", true}] = Fails(1);
    mapi.addressAnswer = 1;  // closed without choosing: the resolved names still show
    dialog.btnToClick();
    EXPECT_EQ(dialog.controls.to, "ann Name;who");
    EXPECT_EQ(dialog.controls.bcc, "bob Name");
    EXPECT_TRUE(dialog.controls.sendEnabled);
    mapi.addressAnswer = 0;
    mapi.chosen = {{MAPI_CC, "Carol C"}};
    dialog.btnToClick();
    EXPECT_EQ(dialog.controls.to, "");
    EXPECT_EQ(dialog.controls.cc, "Carol C");
    EXPECT_FALSE(dialog.controls.sendEnabled);
}

TEST_F(EmailSendTest, AFailedLogonAtCreationIsReportedAndTheDialogStillWorks) {
    mapi.logonAnswers = {3, 3};
    TEmail other(mapi.Table(), files);
    TEmailSend second(other, files, cursor, work, NumberFormat{});
    FakeSendWindow w;
    cursor.busy = true;
    second.FormCreate(w);
    EXPECT_EQ(w.log, Texts{"error MAPI Logon failed."});
    EXPECT_FALSE(cursor.busy);
    second.controls.to = "ann";
    second.btnSendClick();  // the send logs on again by itself
    EXPECT_EQ(mapi.sent.size(), 1u);
}

}  // namespace
}  // namespace vimbrel
