#include "Platform/Linux/App/LaunchAgentPlist.hpp"

#include "Platform/Linux/System/PlistFile.hpp"

#include <cstdlib>

namespace orrelith::platform {

namespace {

std::string stringOf(plist_t node) {
    if (!node || plist_get_node_type(node) != PLIST_STRING)
        return {};
    char* text = nullptr;
    plist_get_string_val(node, &text);
    std::string value = text ? text : "";
    std::free(text);
    return value;
}

std::vector<std::string> stringsOf(plist_t node) {
    std::vector<std::string> values;
    if (!node || plist_get_node_type(node) != PLIST_ARRAY)
        return values;
    for (uint32_t index = 0; index < plist_array_get_size(node); ++index)
        values.push_back(stringOf(plist_array_get_item(node, index)));
    return values;
}

std::optional<int> integerOf(plist_t node) {
    if (!node || plist_get_node_type(node) != PLIST_UINT)
        return std::nullopt;
    uint64_t value = 0;
    plist_get_uint_val(node, &value);
    return value > 59 ? std::nullopt : std::optional<int>(static_cast<int>(value));
}

plist_t stringArray(const std::vector<std::string>& values) {
    plist_t array = plist_new_array();
    for (const auto& value : values)
        plist_array_append_item(array, plist_new_string(value.c_str()));
    return array;
}

} // namespace

LaunchAgentJob LaunchAgentPlist::read(const std::filesystem::path& file) {
    auto dictionary = plistfile::readDictionary(file);
    if (!dictionary)
        return {};
    plist_t root = dictionary.get();
    plist_t calendar = plist_dict_get_item(root, "StartCalendarInterval");
    bool hasCalendar = calendar && plist_get_node_type(calendar) == PLIST_DICT;
    return {stringOf(plist_dict_get_item(root, "Label")),
            stringsOf(plist_dict_get_item(root, "ProgramArguments")),
            hasCalendar ? integerOf(plist_dict_get_item(calendar, "Hour")) : std::nullopt,
            hasCalendar ? integerOf(plist_dict_get_item(calendar, "Minute")) : std::nullopt,
            stringsOf(plist_dict_get_item(root, "WatchPaths")),
            stringOf(plist_dict_get_item(root, "LimitLoadToSessionType")),
            stringOf(plist_dict_get_item(root, "ProcessType"))};
}

bool LaunchAgentPlist::write(const std::filesystem::path& file, const LaunchAgentJob& job) {
    plistfile::Node root(plist_new_dict());
    plist_dict_set_item(root.get(), "Label", plist_new_string(job.label.c_str()));
    plist_dict_set_item(root.get(), "ProgramArguments", stringArray(job.programArguments));
    if (job.hour || job.minute) {
        plist_t calendar = plist_new_dict();
        if (job.hour)
            plist_dict_set_item(calendar, "Hour", plist_new_uint(static_cast<uint64_t>(*job.hour)));
        if (job.minute)
            plist_dict_set_item(calendar, "Minute", plist_new_uint(static_cast<uint64_t>(*job.minute)));
        plist_dict_set_item(root.get(), "StartCalendarInterval", calendar);
    }
    plist_dict_set_item(root.get(), "WatchPaths", stringArray(job.watchPaths));
    plist_dict_set_item(root.get(), "LimitLoadToSessionType", plist_new_string(job.limitLoadToSessionType.c_str()));
    plist_dict_set_item(root.get(), "ProcessType", plist_new_string(job.processType.c_str()));
    return plistfile::writeAtomically(file, root.get());
}

} // namespace orrelith::platform
