#include "PageReferences.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <regex>

#include "Saver/BundleSchemeHandler.hpp"

namespace orrelith::collection {

namespace {

// Each pattern captures the reference in group 2.
const std::array<std::regex, 4>& patterns() {
    static const std::array<std::regex, 4> list{
        std::regex(R"re(\b(src|href)\s*=\s*(?:"([^"]*)"|'([^']*)'))re", std::regex::icase),
        std::regex(R"re(url\(\s*(["']?)([^"')]*)\1\s*\))re", std::regex::icase),
        std::regex(R"re(@import\s+(["'])([^"']*)\1)re", std::regex::icase),
        std::regex(R"re(\bfetch\(\s*(["'`])([^"'`]*)\1)re")};
    return list;
}

struct Found {
    std::size_t at;
    std::string text;
};

std::string captured(const std::smatch& match) {
    // The attribute pattern has a group per quote style; the others keep the reference in group 2.
    if (match.size() > 3 && match[3].matched) {
        return match[3].str();
    }
    return match[2].str();
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<std::string> PageReferences::extract(std::string_view text) {
    const std::string subject(text);
    std::vector<Found> found;
    for (const auto& pattern : patterns()) {
        for (auto it = std::sregex_iterator(subject.begin(), subject.end(), pattern); it != std::sregex_iterator();
             ++it) {
            found.push_back({static_cast<std::size_t>(it->position()), captured(*it)});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.at < b.at; });
    std::vector<std::string> references;
    for (auto& f : found) {
        references.push_back(std::move(f.text));
    }
    return references;
}

std::string PageReferences::filePart(std::string_view reference) {
    for (std::string_view scheme : {"data:", "javascript:", "about:", "blob:"}) {
        if (startsWithIgnoringCase(reference, scheme)) {
            return {};
        }
    }
    const auto end = reference.find_first_of("?#");
    const auto file = reference.substr(0, end);
    return BundleSchemeHandler::percentDecoded(file).value_or(std::string(file));
}

} // namespace orrelith::collection
