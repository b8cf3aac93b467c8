// Send as Email as a command: which file goes with the mail, the Outlook path, a system
// without Simple MAPI, and the hotkeys off for as long as the command runs.
#include <gtest/gtest.h>

#include "mail/mail_commands.h"
#include "command_fakes.h"
#include "workspace/file_names.h"
#include "workspace/image_file.h"

namespace vimbrel {
namespace {

using namespace fakes;

struct FakeMailUi : MailUi {
    TSysHotKey* hotKeys = nullptr;
    std::vector<std::string> log;
    std::vector<std::string> attachments;  // the dialog's items when it was shown
    bool outlookFails = false;

    void ShowSendDialog(TEmailSend& dialog) override {
        log.push_back(std::string("send dialog, hotkeys ") + (hotKeys->Active() ? "on" : "off") +
                      (dialog.controls.encryptImagesShown ? ", Encrypt Images shown" : ""));
        for (const std::string& item : dialog.controls.attachments) attachments.push_back(ItemPath(item));
    }
    void SendWithOutlook(const std::optional<std::string>& attachment) override {
        log.push_back("outlook " + attachment.value_or("(nothing)") + ", hotkeys " + (hotKeys->Active() ? "on" : "off"));
        if (outlookFails) throw std::runtime_error("Invalid class string");
    }
    NumberFormat LocaleNumberFormat() override { return {}; }
};

class MailCommandsTest : public FileCommandsTest {
protected:
    void SetUp() override {
        FileCommandsTest::SetUp();
        fs::create_directories(work);
        commands.SetEnabled(cmd::PrintSetup1, true);  // a printer is installed
        hotKeys.SetActive(true);
        mailUi.hotKeys = &hotKeys;
        mail.BindTo(router);
    }
    void ShowPicture() {
        image.imgMain = Filled(12, 9, 3);
        image.RenderShownImage(image.imgMain, 1.0);
        image.EnableImageCommands(true);
    }

    std::string work = Path("work/");
    mapi::MapiFunctions library;  // never called: the fake dialog does not run
    FakeMailUi mailUi;
    MailCommands mail{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, folder, folder},
                      mailUi, cmd, &library, work};
};

TEST_F(MailCommandsTest, AnUnsavedPictureGoesAsAJpegInTheWorkFolderASavedOneAsItsFile) {
    ShowPicture();
    ASSERT_TRUE(router.Route(handler::SendMail));
    EXPECT_EQ(mailUi.log, std::vector<std::string>{"send dialog, hotkeys off, Encrypt Images shown"});
    ASSERT_EQ(mailUi.attachments, std::vector<std::string>{EmailTempPath(work)});
    auto sent = LoadImageFile(EmailTempPath(work));
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->Width(), 12);
    EXPECT_TRUE(image.CurrentFileName.empty()) << "the mail copy is no file of the user's";
    EXPECT_TRUE(hotKeys.Active());

    image.CurrentFileName = Path("saved.bmp");
    mailUi.attachments.clear();
    mail.mnuSendMailClick();
    EXPECT_EQ(mailUi.attachments, std::vector<std::string>{Path("saved.bmp")});
}

TEST_F(MailCommandsTest, WithoutPrintThereIsNoAttachment) {
    mail.mnuSendMailClick();  // no picture
    ShowPicture();
    commands.SetEnabled(cmd::Print1, false);
    mail.mnuSendMailClick();
    EXPECT_EQ(mailUi.log.size(), 2u);
    EXPECT_TRUE(mailUi.attachments.empty());
    EXPECT_FALSE(fs::exists(EmailTempPath(work)));
}

TEST_F(MailCommandsTest, UseOutlookHandsThePictureToOutlookAndAFailureStillRestoresTheHotkeys) {
    flags.UseOutlook = true;
    ShowPicture();
    image.CurrentFileName = Path("saved.jpg");
    mail.mnuSendMailClick();
    EXPECT_EQ(mailUi.log, std::vector<std::string>{"outlook " + Path("saved.jpg") + ", hotkeys off"});
    mailUi.outlookFails = true;
    EXPECT_THROW(mail.mnuSendMailClick(), std::runtime_error);
    EXPECT_TRUE(hotKeys.Active());
}

TEST_F(MailCommandsTest, WithoutSimpleMapiTheUserIsToldAndTheMenuItemAndButtonGoOffUntilTheNextUpdate) {
    MailCommands none{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, folder, folder},
                      mailUi, cmd, nullptr, work};
    ShowPicture();
    none.mnuSendMailClick();
    EXPECT_EQ(ui.log.back(),
              "warning Your system is not configured for MAPI Mail.\r\nMAPI mail is required for Vimbrel Send Mail");
    EXPECT_TRUE(mailUi.log.empty());
    EXPECT_FALSE(commands.Enabled(cmd::mnuSendMail));
    EXPECT_FALSE(commands.Enabled(cmd::btnEmail));
    EXPECT_TRUE(commands.Enabled(cmd::popEmail));
    EXPECT_TRUE(hotKeys.Active());
    image.EnableImageCommands(true);
    EXPECT_TRUE(commands.Enabled(cmd::mnuSendMail));
    EXPECT_TRUE(commands.Enabled(cmd::btnEmail));
}

TEST_F(MailCommandsTest, SimpleMapiLoadsOnTheFirstSendAndABrokenLibraryIsReportedThenMailStaysOff) {
    int loads = 0;
    bool broken = true;
    MailCommands lazy{CommandDeps{image, flags, commands, store, files, ui, ui, ui, ui, hotKeys, router, folder, folder},
                      mailUi, cmd,
                      [&]() -> const mapi::MapiFunctions* {
                          ++loads;
                          if (broken) {
                              broken = false;
                              throw EMapiDllError();
                          }
                          return nullptr;
                      },
                      work};
    EXPECT_EQ(loads, 0) << "nothing is loaded before mail is sent";
    ShowPicture();
    lazy.mnuSendMailClick();
    EXPECT_EQ(loads, 1);
    ASSERT_GE(ui.log.size(), 2u);
    EXPECT_EQ(ui.log[ui.log.size() - 2], std::string("warning ") + kMapiDllErrorText);
    EXPECT_EQ(ui.log.back(),
              "warning Your system is not configured for MAPI Mail.\r\nMAPI mail is required for Vimbrel Send Mail");
    EXPECT_FALSE(commands.Enabled(cmd::btnEmail));
    EXPECT_TRUE(mailUi.log.empty());
    EXPECT_TRUE(hotKeys.Active());
}

}  // namespace
}  // namespace vimbrel
