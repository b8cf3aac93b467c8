#pragma once
// A name that identifies something by its text and nothing else: a command control, a
// command handler. Each kind is its own type (the tag), so a handler cannot stand where a
// control is meant, and the names are constants declared beside the code that owns them,
// so a misspelt one does not compile. The default value is no name.
#include <compare>
#include <ostream>
#include <string_view>

namespace vimbrel {

template <class Tag>
class NamedConstant {
public:
    constexpr NamedConstant() = default;
    constexpr explicit NamedConstant(std::string_view text) : text_(text) {}

    constexpr std::string_view Text() const { return text_; }
    constexpr bool Empty() const { return text_.empty(); }
    friend constexpr bool operator==(NamedConstant a, NamedConstant b) { return a.text_ == b.text_; }
    friend constexpr auto operator<=>(NamedConstant a, NamedConstant b) { return a.text_ <=> b.text_; }
    friend std::ostream& operator<<(std::ostream& out, NamedConstant name) { return out << name.text_; }

private:
    std::string_view text_;
};

}  // namespace vimbrel
