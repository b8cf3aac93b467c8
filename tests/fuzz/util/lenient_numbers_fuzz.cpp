// Feeds arbitrary bytes to the lenient number and field readers. Besides crashes, it
// checks that a parsed number agrees with the head of the text it came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const char delim = static_cast<char>(data[0]);
    std::string s(reinterpret_cast<const char*>(data) + 1, size - 1);

    std::int64_t whole = vimbrel::LeadingInt(s);
    (void)vimbrel::LeadingInt32(s);
    // Appending junk never changes the reading of a text that parses as a whole.
    if (whole != 0 && vimbrel::LeadingInt(s + "x") != whole)
        std::abort();

    int count = vimbrel::CountFields(s, delim);
    std::string rebuilt;
    for (int n = 1; n <= count; ++n) {
        if (n > 1)
            rebuilt += delim;
        rebuilt += vimbrel::GetField(s, delim, n);
    }
    if (rebuilt != s || !vimbrel::GetField(s, delim, count + 1).empty())
        std::abort();
    (void)vimbrel::IsDigits(s);
    (void)vimbrel::RightStr(s, static_cast<int>(delim));
    return 0;
}
