#include "desktop/path_list.h"

#include <algorithm>
#include <utility>

#include "util/text.h"

namespace vimbrel {

const std::array<const char*, kFolderTokenCount> kFolderTokens = {
    "%DESKTOP%",          "%INTERNET%",          "%PROGRAMS%",
    "%CONTROLS%",         "%PRINTERS%",          "%PERSONAL%",
    "%FAVORITES%",        "%STARTUP%",           "%RECENT%",
    "%SENDTO%",           "%BITBUCKET%",         "%STARTMENU%",
    "%MYDOCUMENTS%",      "%MYMUSIC%",           "%MYVIDEO%",
    "%%",                 "%DESKTOPDIRECTORY%",  "%DRIVES%",
    "%NETWORK%",          "%NETHOOD%",           "%FONTS%",
    "%TEMPLATES%",        "%COMMON_STARTMENU%",  "%COMMON_PROGRAMS%",
    "%COMMON_STARTUP%",   "%COMMON_DESKTOPDIRECTORY%", "%APPDATA%",
    "%PRINTHOOD%",        "%LOCAL_APPDATA%",     "%ALTSTARTUP%",
    "%COMMON_ALTSTARTUP%", "%COMMON_FAVORITES%", "%INTERNET_CACHE%",
    "%COOKIES%",          "%HISTORY%",           "%COMMON_APPDATA%",
    "%WINDOWS%",          "%SYSTEM%",            "%PROGRAM_FILES%",
    "%MYPICTURES%",       "%PROFILE%",           "%SYSTEMX86%",
    "%PROGRAM_FILESX86%", "%PROGRAM_FILES_COMMON%", "%PROGRAM_FILES_COMMONX86%",
    "%COMMON_TEMPLATES%", "%COMMON_DOCUMENTS%",  "%COMMON_ADMINTOOLS%",
    "%ADMINTOOLS%",       "%CONNECTIONS%",       "%%",
    "%%",                 "%%",                  "%COMMON_MUSIC%",
    "%COMMON_PICTURES%",  "%COMMON_VIDEO%",      "%RESOURCES%",
    "%RESOURCES_LOCALIZED%", "%COMMON_OEM_LINKS%", "%CDBURN_AREA%",
    "%%",                 "%COMPUTERSNEARME%",
};

const char* const kVirtualFolderTokens =
    "%DESKTOP%%INTERNET%%CONTROLS%%PRINTERS%%BITBUCKET%%MYDOCUMENTS%%DRIVES%%NETWORK%%FONTS%"
    "%PRINTHOOD%%CONNECTIONS%%COMPUTERSNEARME%";

namespace {

constexpr std::pair<const char*, const char*> kFallbacks[] = {
    {"%MYDOCUMENTS%", "%PERSONAL%"},
    {"%MYMUSIC%", "%PERSONAL%"},
    {"%MYVIDEO%", "%PERSONAL%"},
    {"%MYPICTURES%", "%PERSONAL%"},
    {"%COMMON_DOCUMENTS%", "%PERSONAL%"},
    {"%COMMON_STARTMENU%", "%STARTMENU%"},
    {"%COMMON_PROGRAMS%", "%PROGRAMS%"},
    {"%COMMON_STARTUP%", "%STARTUP%"},
    {"%ALTSTARTUP%", "%STARTUP%"},
    {"%COMMON_DESKTOPDIRECTORY%", "%DESKTOPDIRECTORY%"},
    {"%COMMON_ALTSTARTUP%", "%ALTSTARTUP%"},
    {"%COMMON_FAVORITES%", "%FAVORITES%"},
    {"%COMMON_APPDATA%", "%APPDATA%"},
    {"%PROGRAM_FILES_COMMON%", "%PROGRAM_FILES%"},
    {"%PROGRAM_FILES_COMMONX86%", "%PROGRAM_FILESX86%"},
    {"%COMMON_TEMPLATES%", "%TEMPLATES%"},
    {"%COMMON_ADMINTOOLS%", "%ADMINTOOLS%"},
    {"%COMMON_MUSIC%", "%MYMUSIC%"},
    {"%COMMON_PICTURES%", "%MYPICTURES%"},
    {"%COMMON_VIDEO%", "%MYVIDEO%"},
    {"%RESOURCES_LOCALIZED%", "%RESOURCES%"},
};

// Entries compare by name without regard to case, as the sorted list is searched.
bool LessNoCase(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return AsciiUpper(x) < AsciiUpper(y); });
}

std::string ValueOf(const std::vector<std::string>& list, std::string_view name) {
    for (const auto& entry : list) {
        std::size_t eq = entry.find('=');
        if (eq != std::string::npos && EqualsNoCase(std::string_view(entry).substr(0, eq), name))
            return entry.substr(eq + 1);
    }
    return {};
}

bool IsSeparator(char c) {
    static constexpr std::string_view kSeparators = " \".,;-+*/?=()&!\\<>:_{|}[]%";
    return kSeparators.find(c) != std::string_view::npos;
}

}  // namespace

FolderTable FillFolderLists(FolderSource& source) {
    FolderTable table;
    if (source.CanQueryFolders()) {
        const std::string_view virtualTokens = kVirtualFolderTokens;
        for (int i = 0; i < kFolderTokenCount; ++i) {
            const std::string token = kFolderTokens[std::size_t(i)];
            if (token == "%%")
                continue;
            std::string path = source.FolderPath(i);
            if (!path.empty()) {
                table.List.push_back(token + "=" + NormalizeFolderPath(path));
            } else if (virtualTokens.find(token) != std::string_view::npos) {
                if (auto name = source.DisplayName(i))
                    table.VirtualNames.push_back(token + "=" + *name);
            }
        }
    }
    std::string temp = NormalizeFolderPath(source.TempFolder());
    std::string current = NormalizeFolderPath(source.CurrentFolder());
    if (temp != current)
        table.List.push_back("%TEMP%=" + temp);
    std::sort(table.List.begin(), table.List.end(), LessNoCase);
    std::sort(table.VirtualNames.begin(), table.VirtualNames.end(), LessNoCase);
    return table;
}

std::string LazyFolderTable::Value(std::string_view token) {
    if (table_) return ValueOf(table_->List, token);
    for (const auto& [name, value] : asked_)
        if (EqualsNoCase(name, token)) return value;
    // What FillFolderLists would put in the table for this one token.
    std::string value;
    if (EqualsNoCase(token, "%TEMP%")) {
        std::string temp = NormalizeFolderPath(source_.TempFolder());
        if (temp != NormalizeFolderPath(source_.CurrentFolder())) value = std::move(temp);
    } else if (token != "%%" && source_.CanQueryFolders()) {
        for (int i = 0; i < kFolderTokenCount; ++i)
            if (EqualsNoCase(kFolderTokens[std::size_t(i)], token)) {
                value = NormalizeFolderPath(source_.FolderPath(i));
                break;
            }
    }
    asked_.emplace_back(std::string(token), value);
    return value;
}

const FolderTable& LazyFolderTable::Table() {
    if (!table_) table_ = std::make_unique<FolderTable>(FillFolderLists(source_));
    return *table_;
}

std::string NormalizeFolderPath(std::string_view path) {
    std::string p(path);
    if (p.empty())
        return p;
    if (p.size() == 2 && p[1] == ':')
        return p + "\\";
    if (p.size() == 3 && p[1] == ':' && p[2] == '\\')
        return p;
    if (p.back() == '\\')
        p.pop_back();
    return p;
}

CaseMap AsciiCaseMap() { return CaseMap{AsciiUpper, AsciiLower}; }

std::string TitleCasePath(std::string_view path, const CaseMap& caseMap) {
    std::string r(path);
    if (r.find(":/") != std::string::npos)
        return r;
    for (std::size_t i = 0; i < r.size(); ++i)
        r[i] = (i == 0 || IsSeparator(r[i - 1])) ? caseMap.Upper(r[i]) : caseMap.Lower(r[i]);
    std::size_t dot = r.find_last_of(".\\:");
    if (dot != std::string::npos && r[dot] == '.')
        for (std::size_t i = dot; i < r.size(); ++i)
            r[i] = caseMap.Lower(r[i]);
    return r;
}

std::string ApplyPathCase(std::string_view path, TPathCase pathCase, const CaseMap& caseMap) {
    std::string r(path);
    switch (pathCase) {
    case TPathCase::pcLower:
        for (char& c : r)
            c = caseMap.Lower(c);
        return r;
    case TPathCase::pcUpper:
        for (char& c : r)
            c = caseMap.Upper(c);
        return r;
    case TPathCase::pcUpperName:
        return TitleCasePath(path, caseMap);
    case TPathCase::pcDontCare:
        break;
    }
    return r;
}

std::string TPBPathList::GetPath(const std::string& token) const {
    const std::string upper = AsciiUpperCase(token);
    std::string result = ApplyPathCase(lazy_ ? lazy_->Value(upper) : ValueOf(table_->List, upper), PathCase, Case);
    if (!result.empty() || !SimulateNotFound)
        return result;
    // The fallbacks answer only for tokens written exactly as the table has them.
    for (const auto& [from, to] : kFallbacks)
        if (token == from)
            return GetPath(to);
    return result;
}

}  // namespace vimbrel
