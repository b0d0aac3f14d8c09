#include "ReleaseArchive.hpp"

#include "TemporaryFolder.hpp"

#include <archive.h>
#include <archive_entry.h>
#include <sodium.h>

#include <memory>
#include <stdexcept>

namespace orrelith::testing {

namespace {

std::string base64(const std::string& bytes) {
    std::string text(sodium_base64_encoded_len(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(text.data(), text.size(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    text.resize(text.size() - 1);
    return text;
}

void addEntry(archive* writer, const ReleaseArchive::Entry& entry) {
    std::unique_ptr<archive_entry, decltype(&archive_entry_free)> header(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname(header.get(), entry.path.c_str());
    archive_entry_set_perm(header.get(), 0755);
    using Kind = ReleaseArchive::Kind;
    const unsigned types[] = {AE_IFREG, AE_IFDIR, AE_IFLNK, AE_IFREG, AE_IFCHR};
    archive_entry_set_filetype(header.get(), types[static_cast<int>(entry.kind)]);
    if (entry.kind == Kind::symlink)
        archive_entry_set_symlink(header.get(), entry.contents.c_str());
    if (entry.kind == Kind::hardlink)
        archive_entry_set_hardlink(header.get(), entry.contents.c_str());
    if (entry.kind == Kind::file)
        archive_entry_set_size(header.get(), static_cast<la_int64_t>(entry.contents.size()));
    archive_write_header(writer, header.get());
    if (entry.kind == Kind::file)
        archive_write_data(writer, entry.contents.data(), entry.contents.size());
}

} // namespace

std::vector<ReleaseArchive::Entry> ReleaseArchive::bundle(const std::string& bundle, const std::string& identifier,
                                                          const std::string& version, const std::string& shortVersion,
                                                          const std::string& moreInfo) {
    std::string plist = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                        "<key>CFBundleIdentifier</key><string>" + identifier + "</string>"
                        "<key>CFBundleVersion</key><string>" + version + "</string>"
                        "<key>CFBundleShortVersionString</key><string>" + shortVersion + "</string>" + moreInfo + "</dict></plist>\n";
    return {{bundle, Kind::folder, ""},
            {bundle + "/Contents", Kind::folder, ""},
            {bundle + "/Contents/Info.plist", Kind::file, plist},
            {bundle + "/Contents/Linux", Kind::folder, ""},
            {bundle + "/Contents/Linux/Quorvane Options", Kind::file, "#!/bin/sh\necho " + shortVersion + "\n"},
            {bundle + "/Contents/Current", Kind::symlink, "Linux"}};
}

std::vector<ReleaseArchive::Entry> ReleaseArchive::folder(const std::filesystem::path& root, const std::string& name) {
    std::vector<Entry> entries{{name, Kind::folder, ""}};
    // A folder comes before what it holds, as the unpacker needs.
    for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
        auto path = name + "/" + item.path().lexically_relative(root).string();
        if (item.is_symlink())
            entries.push_back({path, Kind::symlink, std::filesystem::read_symlink(item.path()).string()});
        else if (item.is_directory())
            entries.push_back({path, Kind::folder, ""});
        else
            entries.push_back({path, Kind::file, TemporaryFolder::read(item.path())});
    }
    return entries;
}

std::string ReleaseArchive::make(const std::vector<Entry>& entries) {
    // Room for every entry stored as it is, should xz gain nothing.
    std::size_t room = 1 << 20;
    for (const auto& entry : entries)
        room += entry.contents.size() + 4096;
    std::string bytes(room, '\0');
    std::size_t used = 0;
    std::unique_ptr<archive, decltype(&archive_write_free)> writer(archive_write_new(), archive_write_free);
    archive_write_set_format_pax_restricted(writer.get());
    archive_write_add_filter_xz(writer.get());
    // A whole real application is large: speed matters here, size does not.
    archive_write_set_filter_option(writer.get(), "xz", "compression-level", "0");
    archive_write_set_bytes_in_last_block(writer.get(), 1);
    if (archive_write_open_memory(writer.get(), bytes.data(), bytes.size(), &used) != ARCHIVE_OK)
        throw std::runtime_error("cannot make an archive");
    for (const auto& entry : entries)
        addEntry(writer.get(), entry);
    archive_write_close(writer.get());
    bytes.resize(used);
    return bytes;
}

ReleaseArchive::ReleaseArchive() {
    if (sodium_init() < 0)
        throw std::runtime_error("no libsodium");
    publicKey_.resize(crypto_sign_PUBLICKEYBYTES);
    secretKey_.resize(crypto_sign_SECRETKEYBYTES);
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(publicKey_.data()),
                        reinterpret_cast<unsigned char*>(secretKey_.data()));
}

std::string ReleaseArchive::publicKey() const { return base64(publicKey_); }

std::string ReleaseArchive::sign(const std::string& bytes) const {
    std::string signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr,
                         reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                         reinterpret_cast<const unsigned char*>(secretKey_.data()));
    return base64(signature);
}

AppcastItem ReleaseArchive::item(const std::string& archive, const std::string& version, const std::string& url) const {
    return {"Version " + version, version, version, url, archive.size(), sign(archive), "<p>Better.</p>"};
}

std::string feedOf(const AppcastItem& item) {
    return "<?xml version=\"1.0\"?><rss version=\"2.0\" xmlns:sparkle=\"http://example.org/s\"><channel>"
           "<item><title>" + item.title + "</title><description><![CDATA[" + item.releaseNotes + "]]></description>"
           "<enclosure url=\"" + item.url + "\" length=\"" + std::to_string(item.length) + "\" sparkle:version=\"" +
           item.version + "\" sparkle:edSignature=\"" + item.edSignature + "\"/></item></channel></rss>";
}

std::set<std::string> listing(const std::filesystem::path& folder) {
    std::set<std::string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        paths.insert(entry.path().string());
    return paths;
}

} // namespace orrelith::testing
