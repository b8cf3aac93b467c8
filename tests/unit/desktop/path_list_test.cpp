#include "desktop/path_list.h"

#include <gtest/gtest.h>

#include <map>

namespace vimbrel {
namespace {

class FakeFolderSource : public FolderSource {
public:
    bool available = true;
    std::map<int, std::string> paths;
    std::map<int, std::string> names;
    std::string temp = "C:\\Temp\\";
    std::string current = "C:\\Work";
    std::vector<int> asked;

    bool CanQueryFolders() override { return available; }
    std::string FolderPath(int n) override {
        asked.push_back(n);
        auto it = paths.find(n);
        return it == paths.end() ? std::string() : it->second;
    }
    std::optional<std::string> DisplayName(int n) override {
        auto it = names.find(n);
        return it == names.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    std::string TempFolder() override { return temp; }
    std::string CurrentFolder() override { return current; }
};

TEST(FolderTokens, NumbersMatchTheSystemFolderNumbers) {
    EXPECT_STREQ(kFolderTokens[5], "%PERSONAL%");
    EXPECT_STREQ(kFolderTokens[0x1A], "%APPDATA%");
    EXPECT_STREQ(kFolderTokens[0x27], "%MYPICTURES%");
    EXPECT_STREQ(kFolderTokens[61], "%COMPUTERSNEARME%");
    EXPECT_STREQ(kFolderTokens[15], "%%");
}

TEST(NormalizeFolderPath, DrivesKeepTheirRootOthersLoseOneBackslash) {
    EXPECT_EQ(NormalizeFolderPath(""), "");
    EXPECT_EQ(NormalizeFolderPath("C:"), "C:\\");
    EXPECT_EQ(NormalizeFolderPath("C:\\"), "C:\\");
    EXPECT_EQ(NormalizeFolderPath("C:\\Users\\Someone\\"), "C:\\Users\\Someone");
    EXPECT_EQ(NormalizeFolderPath("C:\\Users\\Someone"), "C:\\Users\\Someone");
}

TEST(TitleCasePath, NameCase) {
    EXPECT_EQ(TitleCasePath("C:\\DOCUMENTS AND SETTINGS\\USER\\MY DOCUMENTS\\MY PICTURES"),
              "C:\\Documents And Settings\\User\\My Documents\\My Pictures");
    EXPECT_EQ(TitleCasePath("D:\\DATA\\OLD.FILES"), "D:\\Data\\Old.files");
    EXPECT_EQ(TitleCasePath("c:\\my_stuff\\a-b(c)"), "C:\\My_Stuff\\A-B(C)");
    EXPECT_EQ(TitleCasePath("http://Some.Host/A"), "http://Some.Host/A");
    // The extension is that of the last path element only.
    EXPECT_EQ(TitleCasePath("C:\\A.B\\CD"), "C:\\A.B\\Cd");
}

TEST(FillFolderLists, RecordsPathsAndVirtualNamesSorted) {
    FakeFolderSource source;
    source.paths = {{26, "C:\\Users\\Me\\AppData\\Roaming\\"}, {5, "C:\\Users\\Me\\Documents"}, {36, "C:"}};
    source.names = {{10, "Recycle Bin"}, {13, "My Music"}};  // 13 is not a virtual folder
    FolderTable table = FillFolderLists(source);
    EXPECT_EQ(table.List, (std::vector<std::string>{"%APPDATA%=C:\\Users\\Me\\AppData\\Roaming",
                                                    "%PERSONAL%=C:\\Users\\Me\\Documents", "%TEMP%=C:\\Temp",
                                                    "%WINDOWS%=C:\\"}));
    EXPECT_EQ(table.VirtualNames, (std::vector<std::string>{"%BITBUCKET%=Recycle Bin"}));
    for (int n : source.asked)
        EXPECT_STRNE(kFolderTokens[std::size_t(n)], "%%") << n;
}

TEST(FillFolderLists, TempIsLeftOutWhenItIsTheCurrentFolder) {
    FakeFolderSource source;
    source.current = "C:\\Temp";
    EXPECT_TRUE(FillFolderLists(source).List.empty());
}

TEST(FillFolderLists, WithoutTheFolderQueryOnlyTempIsKnown) {
    FakeFolderSource source;
    source.available = false;
    source.paths = {{5, "C:\\Docs"}};
    FolderTable table = FillFolderLists(source);
    EXPECT_EQ(table.List, (std::vector<std::string>{"%TEMP%=C:\\Temp"}));
    EXPECT_TRUE(source.asked.empty());
    TPBPathList list(table);
    EXPECT_EQ(list.GetPath("%MYPICTURES%"), "");
}

TEST(LazyFolderTable, AsksOneFolderATokenAndAnswersAsTheWholeTable) {
    FakeFolderSource source;
    source.paths = {{26, "C:\\Users\\Me\\AppData\\Roaming\\"}, {39, "D:"}, {5, "C:\\Docs"}};
    const FolderTable whole = FillFolderLists(source);
    source.asked.clear();
    LazyFolderTable lazy(source);
    EXPECT_EQ(lazy.Value("%appdata%"), "C:\\Users\\Me\\AppData\\Roaming");
    EXPECT_EQ(lazy.Value("%APPDATA%"), "C:\\Users\\Me\\AppData\\Roaming");
    EXPECT_EQ(source.asked, std::vector<int>{26}) << "once, and that folder alone";
    TPBPathList list(lazy);
    EXPECT_EQ(list.GetPath("%MYPICTURES%"), "D:\\");
    EXPECT_EQ(list.GetPath("%COMMON_PICTURES%"), "D:\\") << "the fallbacks as with the whole table";
    // Every token, one at a time, as the whole table answers it.
    LazyFolderTable fresh(source);
    TPBPathList exact(whole), lazyExact(fresh);
    for (TPBPathList* l : {&exact, &lazyExact}) {
        l->SimulateNotFound = false;
        l->PathCase = TPathCase::pcDontCare;
    }
    std::vector<std::string> tokens(kFolderTokens.begin(), kFolderTokens.end());
    tokens.insert(tokens.end(), {"%TEMP%", "%NOSUCH%"});
    for (const std::string& token : tokens) EXPECT_EQ(lazyExact.GetPath(token), exact.GetPath(token)) << token;
    EXPECT_EQ(list.List(), whole.List) << "the whole table when it is asked for";
    source.current = "C:\\Temp";
    EXPECT_EQ(LazyFolderTable(source).Value("%TEMP%"), "") << "not where the program runs";
}

FolderTable Table(std::vector<std::string> entries) { return FolderTable{std::move(entries), {}}; }

TEST(TPBPathList, LooksUpTokensInAnyCaseAndAppliesPathCase) {
    FolderTable table = Table({"%MYPICTURES%=C:\\USERS\\ME\\PICTURES", "%PERSONAL%=C:\\Users\\Me\\Docs"});
    TPBPathList list(table);
    EXPECT_EQ(list.GetPath("%MYPICTURES%"), "C:\\Users\\Me\\Pictures");
    EXPECT_EQ(list.GetPath("%mypictures%"), "C:\\Users\\Me\\Pictures");
    list.PathCase = TPathCase::pcDontCare;
    EXPECT_EQ(list.GetPath("%MYPICTURES%"), "C:\\USERS\\ME\\PICTURES");
    list.PathCase = TPathCase::pcLower;
    EXPECT_EQ(list.GetPath("%PERSONAL%"), "c:\\users\\me\\docs");
    list.PathCase = TPathCase::pcUpper;
    EXPECT_EQ(list.GetPath("%PERSONAL%"), "C:\\USERS\\ME\\DOCS");
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(TPBPathList::Version(), "4.00.00.00");
}

TEST(TPBPathList, FallsBackOnlyForTokensWrittenAsTheTableHasThem) {
    FolderTable table = Table({"%PERSONAL%=C:\\Docs"});
    TPBPathList list(table);
    EXPECT_EQ(list.GetPath("%MYPICTURES%"), "C:\\Docs");
    EXPECT_EQ(list.GetPath("%COMMON_PICTURES%"), "C:\\Docs");  // via %MYPICTURES%
    EXPECT_EQ(list.GetPath("%mypictures%"), "");
    EXPECT_EQ(list.GetPath("%%"), "");
    EXPECT_EQ(list.GetPath("%NOSUCH%"), "");
    list.SimulateNotFound = false;
    EXPECT_EQ(list.GetPath("%MYPICTURES%"), "");
}

}  // namespace
}  // namespace vimbrel
