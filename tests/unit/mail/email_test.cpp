// TEmail over a fake Simple MAPI library: what it hands the library, in which order, and
// what it makes of the answers.
#include <gtest/gtest.h>

#include <set>

#include "fake_mapi.h"
#include "mail/email.h"
#include "util/file_system_port.h"

namespace vimbrel {
namespace {

using namespace testing;
using Calls = std::vector<std::string>;

struct SomeFiles : FileQueries {
    std::set<std::string> present;
    bool FileExists(const std::string& path) const override { return present.count(path) != 0; }
};

class EmailTest : public ::testing::Test {
protected:
    EmailTest() {
        email.OnMapiError = [this](ULONG code) { errors.push_back(code); };
    }
    FakeMapi mapi;
    SomeFiles files;
    TEmail email{mapi.Table(), files};
    std::vector<ULONG> errors;
};

TEST_F(EmailTest, LogonRetriesWithTheClientsLogonWindowAndIsPairedWithLogoff) {
    mapi.logonAnswers = {MAPI_E_LOGIN_FAILURE, 0};
    std::vector<std::string> hooks;
    email.OnBeforeLogon = [&] { hooks.push_back("before logon"); };
    email.OnAfterLogon = [&] { hooks.push_back("after logon"); };
    email.OnAfterLogoff = [&] { hooks.push_back("after logoff"); };
    EXPECT_EQ(email.Logon(), 0u);
    EXPECT_EQ(email.Session(), 0x51u);
    EXPECT_EQ(email.Logon(), 0u);  // a session exists: the library is not asked again
    EXPECT_EQ(email.Logoff(), 0u);
    EXPECT_EQ(email.Session(), 0u);
    EXPECT_EQ(email.Logoff(), 0u);  // no session: nothing to do
    EXPECT_EQ(mapi.calls, (Calls{"logon 0", "logon 1", "logoff 81"}));
    EXPECT_EQ(hooks, (Calls{"before logon", "after logon", "after logoff"}));
    EXPECT_TRUE(errors.empty());
}

TEST_F(EmailTest, FailedLogonLeavesNoSessionAndReportsTheCode) {
    mapi.logonAnswers = {MAPI_E_LOGIN_FAILURE, 1};
    EXPECT_EQ(email.Logon(), 1u);
    EXPECT_EQ(email.Session(), 0u);
    EXPECT_EQ(errors, std::vector<ULONG>{1});
}

TEST_F(EmailTest, WithoutTheLibraryEveryOperationThrowsTheUnavailableError) {
    TEmail none(nullptr, files);
    EXPECT_FALSE(none.MapiAvail());
    try {
        none.SendMail();
        FAIL() << "no exception";
    } catch (const EMapiUnavailable& e) {
        EXPECT_STREQ(e.what(), "MAPI services are not available on this system");
    }
    EXPECT_THROW(none.Logon(), EMapiUnavailable);
    EXPECT_THROW(none.Logoff(), EMapiUnavailable);
    EXPECT_THROW(none.Address(), EMapiUnavailable);
}

TEST_F(EmailTest, ResolutionRetriesAmbiguousAndUnknownNamesWithTheDialogAndDropsTheRest) {
    mapi.names[{"amb", false}] = Fails(MAPI_E_AMBIGUOUS_RECIPIENT);
    mapi.names[{"amb", true}] = {0, "Ambrose", "SMTP:amb@x", "A1"};
    mapi.names[{"who", false}] = Fails(MAPI_E_UNKNOWN_RECIPIENT);
    mapi.names[{"who", true}] = Fails(1);  // the user cancelled the client's dialog
    mapi.names[{"bad", false}] = Fails(2);  // any other failure is not retried
    std::vector<std::string> list{"amb", "", "who", "bad", "ann"};
    RecipientArray recips(5);
    std::size_t index = 1;
    EXPECT_EQ(email.ResolveList(list, MAPI_CC, index, recips), 2u);  // the last failure
    EXPECT_EQ(index, 3u);
    EXPECT_EQ(errors, (std::vector<ULONG>{1, 2}));
    EXPECT_EQ(mapi.calls, (Calls{"resolve amb in 0", "resolve amb dialog in 0", "resolve who in 0",
                                 "resolve who dialog in 0", "resolve bad in 0", "resolve ann in 0"}));
    // Resolved entries take the client's names; the others stay as typed.
    EXPECT_EQ(list, (std::vector<std::string>{"Ambrose", "", "who", "bad", "ann Name"}));
    EXPECT_EQ(recips[0].lpszName, nullptr);  // slots before Index are left alone
    EXPECT_EQ(recips[1].ulRecipClass, MAPI_CC);
    EXPECT_STREQ(recips[1].lpszName, "Ambrose");
    EXPECT_STREQ(recips[1].lpszAddress, "SMTP:amb@x");
    ASSERT_EQ(recips[1].ulEIDSize, 2u);
    EXPECT_EQ(std::string(static_cast<const char*>(recips[1].lpEntryID), 2), "A1");
    EXPECT_STREQ(recips[2].lpszName, "ann Name");
    EXPECT_EQ(mapi.outstanding, 0);  // every resolved record went back to the library
}

TEST_F(EmailTest, BracketedAddressesAreSentAsTypedWithoutTheirBrackets) {
    mapi.names[{"Ann [ann@x.org]", false}] = {0, "Ann ann@x.org", "SMTP:?", "E"};
    mapi.names[{"Bob [bob@x.org]", false}] = {0, "Bob [bob@x.org]", "SMTP:bob@x.org", "F"};
    mapi.names[{"Cy [c] [d]", false}] = {0, "", "", "", true, true};
    std::vector<std::string> list{"Ann [ann@x.org]", "Bob [bob@x.org]", "Cy [c] [d]", "[only"};
    RecipientArray recips(4);
    std::size_t index = 0;
    EXPECT_EQ(email.ResolveList(list, MAPI_TO, index, recips), 0u);
    ASSERT_EQ(index, 4u);
    EXPECT_STREQ(recips[0].lpszName, "Ann ann@x.org");
    EXPECT_STREQ(recips[0].lpszAddress, "Ann ann@x.org");
    EXPECT_EQ(recips[0].ulEIDSize, 0u);
    EXPECT_EQ(recips[0].lpEntryID, nullptr);
    // The client's name keeps a bracket: the client's record is used.
    EXPECT_STREQ(recips[1].lpszName, "Bob [bob@x.org]");
    EXPECT_STREQ(recips[1].lpszAddress, "SMTP:bob@x.org");
    // Only the first "[" and the first "]" go; a record without a name counts as bracket-free.
    EXPECT_STREQ(recips[2].lpszName, "Cy c [d]");
    // Without both brackets the rule does not apply; a missing address is the name.
    EXPECT_STREQ(recips[3].lpszName, "[only Name");
    EXPECT_EQ(list, (std::vector<std::string>{"Ann [ann@x.org]", "Bob [bob@x.org]", "Cy [c] [d]", "[only Name"}));
    EXPECT_EQ(mapi.outstanding, 0);
}

TEST_F(EmailTest, SendLogsOnResolvesTheThreeListsAndLogsOffAgain) {
    files.present = {"C:\\pics\\a.jpg", "D:\\b.txt"};
    email.Recipient = {"ann", "bob"};
    email.CC = {"carol"};
    email.Bcc = {"dan"};
    email.Attachment = {"C:\\pics\\a.jpg", "D:\\b.txt"};
    email.SetSubject("Picture");
    email.SetText("short");
    EXPECT_EQ(email.SetLongText(std::string("the long body")), 13u);
    EXPECT_EQ(email.Text(), "");
    EXPECT_EQ(email.SendMail(), 0u);
    EXPECT_EQ(email.Session(), 0u);
    EXPECT_EQ(mapi.calls, (Calls{"logon 0", "resolve ann in 81", "resolve bob in 81", "resolve carol in 81",
                                 "resolve dan in 81", "send in 81", "logoff 81"}));
    ASSERT_EQ(mapi.sent.size(), 1u);
    const SentMessage& m = mapi.sent[0];
    EXPECT_EQ(m.subject, "Picture");
    EXPECT_EQ(m.note, "the long body");
    EXPECT_EQ(m.sendFlags, 0u);
    EXPECT_EQ(m.messageFlags, 0u);
    ASSERT_EQ(m.recips.size(), 4u);
    EXPECT_EQ(m.recips[0], (SentRecipient{MAPI_TO, "ann Name", "SMTP:ann@example.org", "id-ann"}));
    EXPECT_EQ(m.recips[2].recipClass, MAPI_CC);
    EXPECT_EQ(m.recips[3].recipClass, MAPI_BCC);
    EXPECT_EQ(m.files, (std::vector<SentFile>{{"C:\\pics\\a.jpg", "a.jpg", 0xFFFFFFFFu}, {"D:\\b.txt", "b.txt", 0xFFFFFFFFu}}));
    EXPECT_EQ(mapi.outstanding, 0);
}

TEST_F(EmailTest, SendInAnOpenSessionKeepsItAndHonoursDialogAndReceipt) {
    email.Logon();
    email.Recipient = {"ann"};
    email.ShowDialog = true;
    email.Acknowledge = true;
    email.SetText("hi");
    EXPECT_EQ(email.SendMail(), 0u);
    EXPECT_EQ(email.Session(), 0x51u);
    EXPECT_EQ(mapi.calls, (Calls{"logon 0", "resolve ann in 81", "send in 81"}));
    EXPECT_EQ(mapi.sent[0].sendFlags, MAPI_DIALOG);
    EXPECT_EQ(mapi.sent[0].messageFlags, MAPI_RECEIPT_REQUESTED);
    EXPECT_TRUE(mapi.sent[0].noSubject);  // an empty subject is none
    EXPECT_EQ(mapi.sent[0].note, "hi");
}

TEST_F(EmailTest, WithNoResolvableRecipientTheComposeDialogOpensWithTextAndAttachments) {
    mapi.names[{"x", false}] = Fails(MAPI_E_UNKNOWN_RECIPIENT);
    mapi.names[{"x", true}] = Fails(1);
    files.present = {"C:\\a.bmp"};
    email.Recipient = {"x"};
    email.Attachment = {"C:\\a.bmp"};
    email.SetText("body");
    EXPECT_EQ(email.SendMail(), 0u);
    ASSERT_EQ(mapi.sent.size(), 1u);
    EXPECT_EQ(mapi.sent[0].sendFlags, MAPI_DIALOG);
    EXPECT_TRUE(mapi.sent[0].recipsNone);
    EXPECT_EQ(mapi.sent[0].note, "body");
    EXPECT_EQ(mapi.sent[0].files.size(), 1u);
}

TEST_F(EmailTest, AMissingAttachmentReturns11BeforeAnythingIsSent) {
    files.present = {"C:\\a.bmp", "C:\\c.bmp"};
    email.Recipient = {"ann"};
    email.Attachment = {"C:\\a.bmp", "C:\\gone.bmp", "C:\\c.bmp"};
    EXPECT_EQ(email.SendMail(), MAPI_E_ATTACHMENT_NOT_FOUND);
    EXPECT_TRUE(mapi.sent.empty());
    EXPECT_EQ(errors, std::vector<ULONG>{MAPI_E_ATTACHMENT_NOT_FOUND});
    EXPECT_EQ(mapi.calls.back(), "logoff 81");  // the session it opened is closed again
    EXPECT_EQ(mapi.outstanding, 0);
}

TEST_F(EmailTest, AFailedLogonStopsTheSendWithLoginFailure) {
    mapi.logonAnswers = {MAPI_E_LOGIN_FAILURE, MAPI_E_LOGIN_FAILURE};
    email.Recipient = {"ann"};
    EXPECT_EQ(email.SendMail(), MAPI_E_LOGIN_FAILURE);
    EXPECT_EQ(mapi.calls, (Calls{"logon 0", "logon 1"}));
    EXPECT_EQ(errors, (std::vector<ULONG>{3, 3}));
}

TEST_F(EmailTest, AFailedSendIsReportedAndReturned) {
    mapi.sendAnswer = 2;
    email.Recipient = {"ann"};
    EXPECT_EQ(email.SendMail(), 2u);
    EXPECT_EQ(errors, std::vector<ULONG>{2});
    EXPECT_EQ(mapi.calls.back(), "logoff 81");
}

TEST(EmailBounds, RecipientsAndFilesAreBoundedSoTheRecordArraysStayBelowTwoGigabytes) {
    EXPECT_EQ(TEmail::CountLimitCode(0x5555555, 0x5555555), 0u);
    EXPECT_EQ(TEmail::CountLimitCode(0x5555556, 0), MAPI_E_TOO_MANY_RECIPIENTS);
    EXPECT_EQ(TEmail::CountLimitCode(0, 0x5555556), MAPI_E_TOO_MANY_FILES);
    EXPECT_EQ(TEmail::CountLimitCode(0x5555556, 0x5555556), MAPI_E_TOO_MANY_RECIPIENTS);
    EXPECT_LT(TEmail::MaxRecords * 24, std::size_t(1) << 31);
}

TEST_F(EmailTest, AddressRewritesTheListsWithTheChosenNamesInTheClientsOrder) {
    email.Recipient = {"ann", ""};
    email.CC = {"who"};
    email.Bcc = {"bob"};
    mapi.names[{"who", false}] = Fails(MAPI_E_UNKNOWN_RECIPIENT);
    mapi.names[{"who", true}] = Fails(1);
    mapi.chosen = {{MAPI_CC, "Zed"}, {MAPI_TO, "Ann A"}, {MAPI_ORIG, "Me"}, {MAPI_BCC, "Bob B"}, {MAPI_TO, "Al"}};
    EXPECT_EQ(email.Address(), 0u);
    EXPECT_EQ(email.Recipient, (std::vector<std::string>{"Ann A", "Al"}));
    EXPECT_EQ(email.CC, (std::vector<std::string>{"Zed"}));
    EXPECT_EQ(email.Bcc, (std::vector<std::string>{"Bob B"}));
    EXPECT_EQ(mapi.calls.back(), "logoff 81");
    EXPECT_EQ(mapi.calls[mapi.calls.size() - 2], "address in 81 fields 4 caption '' labels ''");
    // The book opens with the resolved entries, each in its list's class.
    ASSERT_EQ(mapi.addressedWith.size(), 2u);
    EXPECT_EQ(mapi.addressedWith[0].recipClass, MAPI_TO);
    EXPECT_EQ(mapi.addressedWith[1], (SentRecipient{MAPI_BCC, "bob Name", "SMTP:bob@example.org", "id-bob"}));
    EXPECT_EQ(mapi.outstanding, 0);
}

TEST_F(EmailTest, AFailedAddressBookLeavesTheListsAsResolved) {
    email.Recipient = {"ann"};
    mapi.addressAnswer = 1;
    EXPECT_EQ(email.Address(), 1u);
    EXPECT_EQ(email.Recipient, std::vector<std::string>{"ann Name"});
    EXPECT_EQ(errors, std::vector<ULONG>{1});
    EXPECT_EQ(mapi.calls.back(), "logoff 81");
}

TEST_F(EmailTest, DestroyingTheComponentLogsOff) {
    {
        TEmail other(mapi.Table(), files);
        other.Logon();
    }
    EXPECT_EQ(mapi.calls, (Calls{"logon 0", "logoff 81"}));
}

}  // namespace
}  // namespace vimbrel
