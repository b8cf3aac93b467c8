#pragma once
// Special-folder tokens ("%APPDATA%", "%MYPICTURES%", ...) and the folder table that
// turns them into this machine's folders. The table is filled from a FolderSource, whole
// or one folder at a time as it is asked; TPBPathList objects only read it.
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vimbrel {

// Token of each special-folder number (its position); "%%" marks unused numbers.
inline constexpr int kFolderTokenCount = 62;
extern const std::array<const char*, kFolderTokenCount> kFolderTokens;
// Tokens whose display name is kept when they have no file-system path.
extern const char* const kVirtualFolderTokens;

// What the system knows about the special folders.
class FolderSource {
public:
    virtual ~FolderSource() = default;
    // False when the folder query itself is unavailable; then only %TEMP% is known.
    virtual bool CanQueryFolders() = 0;
    // The folder's path, empty when it has none.
    virtual std::string FolderPath(int folderNumber) = 0;
    // The display name of a folder without a path, when the system has one.
    virtual std::optional<std::string> DisplayName(int folderNumber) = 0;
    virtual std::string TempFolder() = 0;
    virtual std::string CurrentFolder() = 0;
};

// Sorted "TOKEN=value" entries.
struct FolderTable {
    std::vector<std::string> List;
    std::vector<std::string> VirtualNames;
};

FolderTable FillFolderLists(FolderSource& source);

// The table of a source, asked of it only as far as it is read: one folder costs one query
// until something wants the whole table, which is then filled once. (A start needs two
// folders of sixty, and the shell is slow to answer.) The source must outlive it.
class LazyFolderTable {
public:
    explicit LazyFolderTable(FolderSource& source) : source_(source) {}
    // The token's value as the whole table holds it, in any letter case; "" when it has none.
    std::string Value(std::string_view token);
    const FolderTable& Table();

private:
    FolderSource& source_;
    std::vector<std::pair<std::string, std::string>> asked_;  // token, value
    std::unique_ptr<FolderTable> table_;
};

// "C:" gets its backslash, a drive root keeps it, any other path loses one trailing one.
std::string NormalizeFolderPath(std::string_view path);
// Letter case of single bytes. The default changes ASCII letters only; the Windows side
// supplies the system's locale rules.
struct CaseMap {
    char (*Upper)(char);
    char (*Lower)(char);
};
CaseMap AsciiCaseMap();

// Name case: first letter and every letter after a separator upper case, the rest lower
// case, the extension lower case; texts holding ":/" (addresses) stay as they are.
std::string TitleCasePath(std::string_view path, const CaseMap& caseMap = AsciiCaseMap());

enum class TPathCase { pcDontCare = 0, pcLower = 1, pcUpper = 2, pcUpperName = 3 };

std::string ApplyPathCase(std::string_view path, TPathCase pathCase, const CaseMap& caseMap = AsciiCaseMap());

class TPBPathList {
public:
    explicit TPBPathList(const FolderTable& table) : table_(&table) {}
    explicit TPBPathList(LazyFolderTable& table) : lazy_(&table) {}

    // The token's folder cased by PathCase; empty when unknown on this machine. Tokens
    // without an entry fall back to a related folder while SimulateNotFound is set.
    std::string GetPath(const std::string& token) const;

    int Count() const { return static_cast<int>(Table().List.size()); }
    const std::vector<std::string>& List() const { return Table().List; }
    const std::vector<std::string>& VirtualNames() const { return Table().VirtualNames; }
    static std::string Version() { return "4.00.00.00"; }

    TPathCase PathCase = TPathCase::pcUpperName;
    bool SimulateNotFound = true;
    CaseMap Case = AsciiCaseMap();

private:
    const FolderTable& Table() const { return lazy_ ? lazy_->Table() : *table_; }
    const FolderTable* table_ = nullptr;
    LazyFolderTable* lazy_ = nullptr;
};

}  // namespace vimbrel
