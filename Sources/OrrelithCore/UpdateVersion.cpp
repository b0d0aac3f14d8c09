#include "OrrelithCore/UpdateVersion.hpp"

#include <cctype>
#include <string>
#include <vector>

namespace orrelith {

namespace {

struct Part {
    bool number = false;
    std::string text; // digits without leading zeros for numbers
};

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool isSeparator(char c) { return c == '.' || c == '-' || c == '_' || c == '+' || c == ' '; }

std::vector<Part> partsOf(std::string_view version) {
    std::vector<Part> parts;
    for (std::size_t i = 0; i < version.size();) {
        if (isSeparator(version[i])) {
            ++i;
            continue;
        }
        Part part{isDigit(version[i]), {}};
        while (i < version.size() && !isSeparator(version[i]) && isDigit(version[i]) == part.number)
            part.text += static_cast<char>(std::tolower(static_cast<unsigned char>(version[i++])));
        if (part.number) {
            part.text.erase(0, part.text.find_first_not_of('0'));
        }
        parts.push_back(std::move(part));
    }
    return parts;
}

std::weak_ordering compareParts(const Part& left, const Part& right) {
    if (left.number != right.number)
        return left.number ? std::weak_ordering::greater : std::weak_ordering::less;
    if (left.number && left.text.size() != right.text.size())
        return left.text.size() <=> right.text.size();
    return left.text <=> right.text;
}

// How the longer version's remaining parts rank it against the shorter: zeros count for nothing, a number
// makes it newer, text makes it a pre-release of the shorter.
std::weak_ordering rankOfRest(const std::vector<Part>& parts, std::size_t from) {
    for (std::size_t i = from; i < parts.size(); ++i) {
        if (!parts[i].number)
            return std::weak_ordering::less;
        if (!parts[i].text.empty())
            return std::weak_ordering::greater;
    }
    return std::weak_ordering::equivalent;
}

} // namespace

std::weak_ordering UpdateVersion::compare(std::string_view left, std::string_view right) {
    auto a = partsOf(left), b = partsOf(right);
    std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i)
        if (auto order = compareParts(a[i], b[i]); order != 0)
            return order;
    if (a.size() > common)
        return rankOfRest(a, common);
    if (b.size() > common)
        return 0 <=> rankOfRest(b, common);
    return std::weak_ordering::equivalent;
}

} // namespace orrelith
