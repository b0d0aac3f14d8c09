#include "Host/InstalledSavers.hpp"
#include "TestBundle.hpp"

#include <gtest/gtest.h>

using namespace orrelith::host;

TEST(InstalledSavers, TheUsersAndTheSystemsBundlesByNameWithTheUsersCopyHidingTheSystemsOne) {
    TemporaryFolder root;
    for (const auto* folder : {"user/Quorvane.saver/Contents", "user/Aurora.saver", "system/Quorvane.saver",
                               "system/Tides.saver", "system/notes.saver.txt/x", "system/.saver"})
        std::filesystem::create_directories(root / folder);
    root.write("user/Plain.saver", "a file, not a bundle");
    using Scope = InstalledSaver::Scope;
    EXPECT_EQ(InstalledSavers::list(root / "user", root / "system"),
              (std::vector<InstalledSaver>{{"Aurora", root / "user/Aurora.saver", Scope::User},
                                           {"Quorvane", root / "user/Quorvane.saver", Scope::User},
                                           {"Tides", root / "system/Tides.saver", Scope::System}}));
    EXPECT_TRUE(InstalledSavers::list(root / "none", root / "neither").empty());
}
