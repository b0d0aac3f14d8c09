#include "Platform/Linux/Update/AppcastXml.hpp"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <charconv>
#include <cstring>
#include <memory>
#include <string>

namespace orrelith::platform {

namespace {

struct DocumentDeleter {
    void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

bool named(const xmlNode* node, const char* name, const char* prefix = nullptr) {
    if (node->type != XML_ELEMENT_NODE || std::strcmp(reinterpret_cast<const char*>(node->name), name) != 0)
        return false;
    const char* actual = node->ns && node->ns->prefix ? reinterpret_cast<const char*>(node->ns->prefix) : nullptr;
    return prefix ? actual && std::strcmp(actual, prefix) == 0 : actual == nullptr;
}

const xmlNode* child(const xmlNode* parent, const char* name, const char* prefix = nullptr) {
    for (auto* node = parent->children; node; node = node->next)
        if (named(node, name, prefix))
            return node;
    return nullptr;
}

std::string text(const xmlNode* node) {
    if (!node)
        return {};
    std::unique_ptr<xmlChar, decltype(xmlFree)> content(xmlNodeGetContent(node), xmlFree);
    return content ? reinterpret_cast<const char*>(content.get()) : "";
}

// An attribute of the enclosure, with or without the sparkle prefix.
std::string attribute(const xmlNode* node, const char* name, const char* prefix = nullptr) {
    for (auto* property = node->properties; property; property = property->next) {
        if (std::strcmp(reinterpret_cast<const char*>(property->name), name) != 0)
            continue;
        const char* actual = property->ns && property->ns->prefix ? reinterpret_cast<const char*>(property->ns->prefix) : nullptr;
        if (prefix ? actual && std::strcmp(actual, prefix) == 0 : actual == nullptr)
            return text(reinterpret_cast<const xmlNode*>(property));
    }
    return {};
}

std::uint64_t lengthOf(const std::string& digits) {
    std::uint64_t length = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), length);
    return error == std::errc{} && end == digits.data() + digits.size() ? length : 0;
}

AppcastItem itemOf(const xmlNode* item) {
    AppcastItem parsed;
    parsed.title = text(child(item, "title"));
    parsed.releaseNotes = text(child(item, "description"));
    parsed.version = text(child(item, "version", "sparkle"));
    parsed.shortVersion = text(child(item, "shortVersionString", "sparkle"));
    if (auto* enclosure = child(item, "enclosure")) {
        parsed.url = attribute(enclosure, "url");
        parsed.length = lengthOf(attribute(enclosure, "length"));
        parsed.edSignature = attribute(enclosure, "edSignature", "sparkle");
        if (auto version = attribute(enclosure, "version", "sparkle"); !version.empty())
            parsed.version = version;
        if (auto version = attribute(enclosure, "shortVersionString", "sparkle"); !version.empty())
            parsed.shortVersion = version;
    }
    return parsed;
}

} // namespace

std::optional<Appcast> AppcastXml::parse(std::string_view bytes) {
    if (bytes.size() > 16 * 1024 * 1024)
        return std::nullopt;
    // No NOENT (entities stay unexpanded), no DTD loading, no network.
    int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    std::unique_ptr<xmlDoc, DocumentDeleter> document(
        xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), "feed.xml", nullptr, options));
    // A feed has no use for a document type; refusing one keeps entity tricks out altogether.
    if (!document || document->intSubset || document->extSubset)
        return std::nullopt;
    auto* root = xmlDocGetRootElement(document.get());
    const xmlNode* channel = root && named(root, "rss") ? child(root, "channel") : nullptr;
    if (!channel)
        return std::nullopt;
    Appcast appcast;
    for (auto* node = channel->children; node; node = node->next)
        if (named(node, "item"))
            appcast.items.push_back(itemOf(node));
    return appcast;
}

} // namespace orrelith::platform
