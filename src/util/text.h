#pragma once
// Text fields, lenient numbers and short string helpers. Texts are byte strings in the
// ANSI code page; field numbers count from 1. None of these fail: out-of-range positions
// give empty or whole texts and unreadable numbers give 0.
#include <cstdint>
#include <string>
#include <string_view>

namespace vimbrel {

// Field n of s, fields separated by delim; empty when there is no such field.
std::string GetField(std::string_view s, char delim, int n);
// 0 for an empty text, else the number of delimiters plus 1.
int CountFields(std::string_view s, char delim);
// The number at the start of s: decimal, or hex after "$", "0x", "0X", with an optional
// sign after leading spaces. Reads as much as parses; 0 when nothing does.
std::int64_t LeadingInt(std::string_view s);
// The low 32 bits of LeadingInt, for callers that hold 32-bit numbers.
std::int32_t LeadingInt32(std::string_view s);

std::string RightStr(std::string_view s, int n);
// Not empty, and only the digits 0 to 9 and spaces.
bool IsDigits(std::string_view s);
// Empty stays empty; otherwise ends in exactly one added backslash.
std::string AddBackslash(std::string_view s);
void TrimAtNul(std::string& s);

// Case changes of the ASCII letters only; every other byte stays as it is.
char AsciiUpper(char c);
char AsciiLower(char c);
std::string AsciiUpperCase(std::string_view s);
std::string AsciiLowerCase(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);

}  // namespace vimbrel
