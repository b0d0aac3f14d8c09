#include "Host/AutostartEntry.hpp"
#include "TestBundle.hpp"

#include <gtest/gtest.h>

using namespace orrelith::host;

TEST(AutostartEntry, GoesToTheAbsoluteXdgConfigHomeElseDotConfigAndStartsTheDaemonOfTheProgramGivenWhateverItsPath) {
    EXPECT_EQ(AutostartEntry::file("/home/a", nullptr), "/home/a/.config/autostart/quorvane-host.desktop");
    EXPECT_EQ(AutostartEntry::file("/home/a", "relative/config"), "/home/a/.config/autostart/quorvane-host.desktop");
    EXPECT_EQ(AutostartEntry::file("/home/a", "/elsewhere"), "/elsewhere/autostart/quorvane-host.desktop");

    TemporaryFolder folder;
    auto file = folder / "config/autostart/quorvane-host.desktop";
    AutostartEntry::install(file, "/opt/my \"saver\" $HOME 100%/quorvane-host");
    auto text = TemporaryFolder::read(file);
    EXPECT_TRUE(text.starts_with("[Desktop Entry]\nType=Application\n")) << text;
    // Quoted for Exec (\" \$ %%), then the backslashes escaped once more for the file.
    EXPECT_NE(text.find("\nExec=\"/opt/my \\\\\"saver\\\\\" \\\\$HOME 100%%/quorvane-host\" --daemon\n"),
              std::string::npos)
        << text;
    AutostartEntry::remove(file);
    EXPECT_FALSE(std::filesystem::exists(file));
    AutostartEntry::remove(file);
}
