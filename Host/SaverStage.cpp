#include "Host/SaverStage.hpp"

#include "Host/HostError.hpp"
#include "Platform/Views/Button.hpp"

namespace orrelith::host {

using platform::Rect;
using platform::WindowStyle;

namespace {

constexpr WindowStyle titledClosable =
    static_cast<WindowStyle>(static_cast<unsigned>(WindowStyle::Titled) | static_cast<unsigned>(WindowStyle::Closable));

std::shared_ptr<platform::ScreenSaverView> makeView(const platform::ClassRegistry::Entry& principal, const Rect& frame,
                                                    platform::SaverMode mode) {
    auto view = principal.withFrame(frame, mode);
    if (!view)
        throw HostError(HostError::Kind::Failure, "the screen saver's principal class made no view");
    return view;
}

std::shared_ptr<platform::Button> optionsButton(const std::weak_ptr<platform::Window>& window,
                                                const std::weak_ptr<platform::ScreenSaverView>& view) {
    auto button = platform::Button::create(SaverStage::optionsTitle, [window, view] {
        auto host = window.lock();
        auto saver = view.lock();
        if (host && saver)
            SaverStage::presentConfigureSheet(*host, *saver);
    });
    button->sizeToFit();
    auto size = button->frame().size;
    double margin = (SaverStage::buttonBarHeight - size.height) / 2;
    button->setFrame(Rect::make(SaverStage::previewWidth - size.width - 12, margin, size.width, size.height));
    return button;
}

} // namespace

SaverStage SaverStage::fullScreen(const platform::ClassRegistry::Entry& principal,
                                  const std::shared_ptr<platform::Screen>& screen) {
    auto frame = screen->frame();
    SaverStage stage{platform::Window::create(frame, WindowStyle::Borderless),
                     makeView(principal, Rect{{0, 0}, frame.size}, platform::SaverMode::FullScreen), screen};
    stage.window->setContentView(stage.view);
    stage.window->makeFullScreen(*screen);
    return stage;
}

SaverStage SaverStage::preview(const platform::ClassRegistry::Entry& principal, const std::string& title) {
    auto frame = Rect::make(0, 0, previewWidth, previewHeight);
    SaverStage stage{platform::Window::create(frame, titledClosable),
                     makeView(principal, frame, platform::SaverMode::Preview), nullptr};
    stage.window->setTitle(title);
    stage.window->setContentView(stage.view);
    return stage;
}

SaverStage SaverStage::settings(const platform::ClassRegistry::Entry& principal, const std::string& title) {
    auto frame = Rect::make(0, 0, previewWidth, previewHeight + buttonBarHeight);
    SaverStage stage{platform::Window::create(frame, titledClosable),
                     makeView(principal, Rect::make(0, buttonBarHeight, previewWidth, previewHeight),
                              platform::SaverMode::Preview),
                     nullptr};
    stage.window->setTitle(title);
    auto root = platform::View::create(Rect{{0, 0}, frame.size});
    root->addSubview(stage.view);
    root->addSubview(optionsButton(stage.window, stage.view));
    stage.window->setContentView(root);
    return stage;
}

void SaverStage::presentConfigureSheet(platform::Window& window, platform::ScreenSaverView& view) {
    if (window.attachedSheet() || !view.hasConfigureSheet())
        return;
    if (auto sheet = view.configureSheet())
        window.beginSheet(std::move(sheet));
}

} // namespace orrelith::host
