#include "Platform/Linux/Views/GdkScreenList.hpp"
#include "Platform/Linux/System/LinuxSystem.hpp"
#include "Platform/Linux/System/PlistFile.hpp"

#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace orrelith::platform;

TEST(GdkScreenListGeometry, FlipsToGlobalPointsWithThePrimaryAtTheOrigin) {
    GdkRectangle primary{0, 0, 1280, 800};
    struct Case {
        GdkRectangle gdk;
        Rect global;
    } cases[] = {
        {{0, 0, 1280, 800}, Rect::make(0, 0, 1280, 800)},
        {{1280, 0, 1024, 768}, Rect::make(1280, 32, 1024, 768)},    // top-aligned, shorter: raised
        {{-1920, 0, 1920, 1080}, Rect::make(-1920, -280, 1920, 1080)}, // taller, to the left: reaches lower
        {{0, -1440, 2560, 1440}, Rect::make(0, 800, 2560, 1440)},   // above the primary
        {{0, 800, 1280, 800}, Rect::make(0, -800, 1280, 800)},      // below it
    };
    for (const auto& c : cases)
        EXPECT_EQ(GdkScreenList::toGlobal(c.gdk, primary), c.global) << c.gdk.x << "," << c.gdk.y;
    EXPECT_EQ(GdkScreenList::toGlobal({100, 50, 10, 10}, {100, 50, 10, 10}), Rect::make(0, 0, 10, 10));
}

TEST(LinuxSystem, FindsTheBundleFolderAboveContentsAndSplitsTheCommandLine) {
    orrelith::testing::TemporaryFolder root;
    auto bundle = root / "Quorvane.saver";
    root.write("Quorvane.saver/Contents/Info.plist", "<plist version=\"1.0\"><dict/></plist>");
    EXPECT_EQ(LinuxSystem::bundleFolderHolding(bundle / "Contents" / "Linux" / "Quorvane.so"), bundle);
    EXPECT_FALSE(LinuxSystem::bundleFolderHolding(root / "elsewhere" / "lib.so"));
    EXPECT_FALSE(LinuxSystem::bundleFolderHolding("/usr/lib/libc.so.6"));
    using namespace std::string_literals;
    EXPECT_EQ(LinuxSystem::splitCommandLine("app\0--import\0e30=\0"s),
              (std::vector<std::string>{"app", "--import", "e30="}));
    EXPECT_EQ(LinuxSystem::splitCommandLine("app\0\0x\0"s), (std::vector<std::string>{"app", "", "x"}));
    EXPECT_TRUE(LinuxSystem::splitCommandLine("").empty());
}

TEST(LinuxSystem, TheDownloadFolderIsTheOneTheUserDirsFileNames) {
    std::filesystem::path home = "/home/u";
    struct Case {
        const char* file;
        std::optional<std::filesystem::path> folder;
    } cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOWNLOAD_DIR=\"$HOME/T\\\"el\\\"\u00e9chargements\"\n",
         "/home/u/T\"el\"\u00e9chargements"},
        {"# written by hand\nXDG_DOWNLOAD_DIR=\"/data/incoming/\"\n", "/data/incoming"},
        {"XDG_DOWNLOAD_DIR=\"$HOME/\"\n", std::nullopt},         // downloads land in home itself
        {"XDG_DOWNLOAD_DIR=\"incoming\"\n", std::nullopt},      // not a place the format allows
        {"XDG_MUSIC_DIR=\"$HOME/Music\"\n", "/home/u/Downloads"}, // none named: the usual folder
        {"", "/home/u/Downloads"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LinuxSystem::downloadsFolderIn(c.file, home), c.folder) << c.file;
}

TEST(PlistFile, ReadsStringMembersOfXmlAndBinaryListsAndWritesAtomicallyOrFailsQuietly) {
    orrelith::testing::TemporaryFolder folder;
    folder.write("Info.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0"><dict>
<key>CFBundleIdentifier</key><string>org.kestrin.orvex.options</string>
<key>LSMinimumSystemVersion</key><integer>14</integer>
</dict></plist>)");
    auto xml = plistfile::readDictionary(folder / "Info.plist");
    ASSERT_TRUE(xml);
    EXPECT_EQ(plistfile::stringMembers(xml.get()),
              (std::map<std::string, std::string>{{"CFBundleIdentifier", "org.kestrin.orvex.options"}}));

    char* binary = nullptr;
    uint32_t length = 0;
    plist_to_bin(xml.get(), &binary, &length);
    std::ofstream(folder / "Binary.plist", std::ios::binary).write(binary, length);
    plist_to_bin_free(binary);
    auto fromBinary = plistfile::readDictionary(folder / "Binary.plist");
    ASSERT_TRUE(fromBinary);
    EXPECT_EQ(plistfile::stringMembers(fromBinary.get()).at("CFBundleIdentifier"), "org.kestrin.orvex.options");

    folder.write("Broken.plist", "<plist><dict><key>x</key>");
    EXPECT_FALSE(plistfile::readDictionary(folder / "Broken.plist"));
    EXPECT_FALSE(plistfile::readDictionary(folder / "Missing.plist"));

    plistfile::Node dictionary(plist_new_dict());
    plist_dict_set_item(dictionary.get(), "flag", plist_new_bool(1));
    ASSERT_TRUE(plistfile::writeAtomically(folder / "ByHost" / "x.plist", dictionary.get()));
    EXPECT_TRUE(plistfile::readDictionary(folder / "ByHost" / "x.plist"));
    EXPECT_FALSE(plistfile::writeAtomically("/proc/orrelith/x.plist", dictionary.get()));
}
