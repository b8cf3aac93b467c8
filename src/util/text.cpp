#include "util/text.h"

#include <limits>
#include <optional>

namespace vimbrel {

std::string GetField(std::string_view s, char delim, int n) {
    if (n < 1)
        return {};
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) {
        std::size_t next = s.find(delim, start);
        if (next == std::string_view::npos)
            return {};
        start = next + 1;
    }
    std::size_t end = s.find(delim, start);
    return std::string(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

int CountFields(std::string_view s, char delim) {
    if (s.empty())
        return 0;
    int count = 1;
    for (char c : s)
        if (c == delim)
            ++count;
    return count;
}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads all of s as one number. On failure, failPos is the 1-based position of the
// character that stopped it (one past the end when the text ended too early).
std::optional<std::int64_t> ParseWhole(std::string_view s, std::size_t& failPos) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && s[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= s.size()) {
        failPos = s.size() + 1;
        return std::nullopt;
    }
    std::uint64_t value = 0;
    // Decimal magnitude may reach 2^63 for the most negative number.
    const std::uint64_t decimalLimit =
        negative ? std::uint64_t(std::numeric_limits<std::int64_t>::max()) + 1
                 : std::uint64_t(std::numeric_limits<std::int64_t>::max());
    for (; i < s.size(); ++i) {
        if (hex) {
            int d = HexValue(s[i]);
            if (d < 0 || value > (std::numeric_limits<std::uint64_t>::max() >> 4)) {
                failPos = i + 1;
                return std::nullopt;
            }
            value = (value << 4) | std::uint64_t(d);
        } else {
            if (s[i] < '0' || s[i] > '9') {
                failPos = i + 1;
                return std::nullopt;
            }
            std::uint64_t d = std::uint64_t(s[i] - '0');
            if (value > (decimalLimit - d) / 10) {
                failPos = i + 1;
                return std::nullopt;
            }
            value = value * 10 + d;
        }
    }
    // Hex texts fill all 64 bits, so "$FFFFFFFFFFFFFFFF" is -1.
    std::int64_t result = static_cast<std::int64_t>(value);
    if (negative)
        result = static_cast<std::int64_t>(0 - value);
    return result;
}

}  // namespace

std::int64_t LeadingInt(std::string_view s) {
    if (s.empty())
        return 0;
    std::size_t failPos = 0;
    if (auto whole = ParseWhole(s, failPos))
        return *whole;
    if (failPos < 2)
        return 0;
    std::size_t ignored = 0;
    if (auto head = ParseWhole(s.substr(0, failPos - 1), ignored))
        return *head;
    return 0;
}

std::int32_t LeadingInt32(std::string_view s) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(LeadingInt(s))));
}

std::string RightStr(std::string_view s, int n) {
    if (n <= 0)
        return {};
    if (std::size_t(n) >= s.size())
        return std::string(s);
    return std::string(s.substr(s.size() - std::size_t(n)));
}

bool IsDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || c == ' '))
            return false;
    return true;
}

std::string AddBackslash(std::string_view s) {
    std::string result(s);
    if (!result.empty() && result.back() != '\\')
        result += '\\';
    return result;
}

void TrimAtNul(std::string& s) {
    std::size_t nul = s.find('\0');
    if (nul != std::string::npos)
        s.resize(nul);
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

std::string AsciiUpperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = AsciiUpper(c);
    return r;
}

std::string AsciiLowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        c = AsciiLower(c);
    return r;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

}  // namespace vimbrel
