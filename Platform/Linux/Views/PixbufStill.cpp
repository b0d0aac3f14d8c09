#include "Platform/Linux/Views/PixbufStill.hpp"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <fstream>

namespace orrelith::platform {

namespace {

std::string taken(GError* error) {
    std::string message = error ? error->message : "unknown failure";
    g_clear_error(&error);
    return message;
}

// Whether the file's last two bytes are a JPEG end-of-image marker (FF D9).
bool endsWithEndOfImage(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    if (!in || in.tellg() < 2)
        return false;
    in.seekg(-2, std::ios::end);
    char tail[2] = {};
    in.read(tail, 2);
    return in && static_cast<unsigned char>(tail[0]) == 0xFF && static_cast<unsigned char>(tail[1]) == 0xD9;
}

} // namespace

std::optional<PixbufStill> PixbufStill::read(const std::filesystem::path& file, std::string& problem) {
    GError* error = nullptr;
    GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(file.c_str(), &error);
    if (!pixbuf) {
        problem = taken(error);
        return std::nullopt;
    }
    PixbufStill still{"", gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf)};
    g_object_unref(pixbuf);
    if (GdkPixbufFormat* format = gdk_pixbuf_get_file_info(file.c_str(), nullptr, nullptr)) {
        gchar* name = gdk_pixbuf_format_get_name(format);
        still.format = name ? name : "";
        g_free(name);
    }
    if (still.format == "jpeg" && !endsWithEndOfImage(file)) {
        problem = "JPEG data ends before its end-of-image marker (cut short?)";
        return std::nullopt;
    }
    return still;
}

std::optional<std::string> PixbufStill::writeJpeg(const std::filesystem::path& source,
                                                  const std::filesystem::path& jpeg, int width, int height,
                                                  int quality) {
    GError* error = nullptr;
    GdkPixbuf* picture = gdk_pixbuf_new_from_file(source.c_str(), &error);
    if (!picture)
        return taken(error);
    GdkPixbuf* scaled = gdk_pixbuf_scale_simple(picture, width, height, GDK_INTERP_HYPER);
    g_object_unref(picture);
    if (!scaled)
        return "cannot scale to " + std::to_string(width) + "x" + std::to_string(height);
    std::string level = std::to_string(quality);
    bool saved = gdk_pixbuf_save(scaled, jpeg.c_str(), "jpeg", &error, "quality", level.c_str(), nullptr);
    g_object_unref(scaled);
    if (!saved)
        return taken(error);
    return std::nullopt;
}

} // namespace orrelith::platform
