// The updater's windows for real on GTK, libadwaita and WebKitGTK under Xvfb, answered through their buttons.
#include "LoopbackServer.hpp"
#include "MainLoopSupport.hpp"
#include "WidgetSearch.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Linux/System/GlibMainQueue.hpp"
#include "Platform/Linux/Update/AdwUpdateUserInterface.hpp"
#include "Platform/Linux/Web/GtkWebEngine.hpp"
#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace orrelith::platform {
namespace {

GtkWidget* button(GtkWindow* window, const std::string& label) {
    return orrelith::testing::find(GTK_WIDGET(window), label, GTK_TYPE_BUTTON);
}

// Every way a page could reach the server, in notes that can also hold a link.
std::string notesReaching(const std::string& base) {
    return "<html><head><title>Notes 1.10</title><link rel=stylesheet href='" + base + "style.css'>"
           "<script src='" + base + "script.js'></script>"
           "<script>fetch('" + base + "fetch'); location.href = '" + base + "navigate';</script></head>"
           "<body><h3>What's new</h3><p>Calmer scenes and a quieter night sky.</p>"
           "<img src='" + base + "image.png'><iframe src='" + base + "frame'></iframe></body></html>";
}

TEST(UpdateWindows, TheOfferShowsItsNotesOffTheNetworkAndItsButtonsAnswer) {
    gtk_init();
    FakePlatform fake;
    orrelith::testing::TemporaryFolder folder{"orrelith-update-windows"};
    auto services = installed();
    services.mainQueue = std::make_shared<GlibMainQueue>();
    services.web = std::make_shared<GtkWebEngine>(folder / "rules");
    install(services);
    testing::LoopbackServer server;
    auto ui = AdwUpdateUserInterface::create();

    std::optional<UpdateOfferAnswer> answer;
    ui->showOffer({"Quorvane Options", "1.10", "1.9", notesReaching(server.base())}, [&](auto given) { answer = given; });
    auto* view = WEBKIT_WEB_VIEW(testing::findType(GTK_WIDGET(ui->offerWindow()), WEBKIT_TYPE_WEB_VIEW));
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(pumpUntil([&] {
        const char* title = webkit_web_view_get_title(view);
        return title && std::string(title) == "Notes 1.10" && !webkit_web_view_is_loading(view);
    }, 30));
    EXPECT_EQ(server.total(), 0);
    EXPECT_STREQ(webkit_web_view_get_uri(view), "about:blank");
    if (const char* png = std::getenv("ORRELITH_UPDATE_OFFER_PNG")) {
        pumpFor(2); // the web process paints on frames of its own
        EXPECT_EQ(std::system(("import -window root '" + std::string(png) + "'").c_str()), 0);
    }
    gtk_widget_activate(button(ui->offerWindow(), "Skip This Version"));
    ASSERT_TRUE(pumpUntil([&] { return answer.has_value(); }));
    EXPECT_EQ(*answer, UpdateOfferAnswer::skipThisVersion);
    EXPECT_EQ(ui->offerWindow(), nullptr);

    answer.reset();
    ui->showOffer({"Quorvane Options", "1.10", "1.9", ""}, [&](auto given) { answer = given; });
    EXPECT_EQ(gtk_window_get_default_widget(ui->offerWindow()), button(ui->offerWindow(), "Install Update"));
    gtk_window_close(ui->offerWindow());
    ASSERT_TRUE(pumpUntil([&] { return answer.has_value(); }));
    EXPECT_EQ(*answer, UpdateOfferAnswer::remindMeLater);

    bool cancelled = false;
    ui->showDownload("Quorvane Options", [&] { cancelled = true; });
    ui->setDownloadProgress(1 << 20, 4 << 20);
    auto* bar = testing::findType(GTK_WIDGET(ui->downloadWindow()), GTK_TYPE_PROGRESS_BAR);
    EXPECT_DOUBLE_EQ(gtk_progress_bar_get_fraction(GTK_PROGRESS_BAR(bar)), 0.25);
    gtk_widget_activate(button(ui->downloadWindow(), "Cancel"));
    ASSERT_TRUE(pumpUntil([&] { return cancelled; }));
    EXPECT_EQ(ui->downloadWindow(), nullptr);
    EXPECT_EQ(server.total(), 0);
}

} // namespace
} // namespace orrelith::platform
