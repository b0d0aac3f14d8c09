#include "Saver/LaunchSheet.hpp"

#include "Platform/Platform.hpp"
#include "Platform/Views/WindowSystem.hpp"

namespace orrelith {

using namespace platform;

namespace {

constexpr const char* appName = "Quorvane Options";
constexpr const char* productName = "Quorvane";
constexpr double padding = 20;
constexpr double spacing = 10;

} // namespace

std::shared_ptr<LaunchSheet> LaunchSheet::create(std::shared_ptr<LaunchState> state, std::function<void()> dismiss) {
    auto sheet = std::shared_ptr<LaunchSheet>(new LaunchSheet(std::move(state), std::move(dismiss)));
    sheet->build();
    return sheet;
}

LaunchSheet::LaunchSheet(std::shared_ptr<LaunchState> state, std::function<void()> dismiss)
    : View(Rect::make(0, 0, width, height), windows().makeViewBackend()), state_(std::move(state)),
      dismiss_(std::move(dismiss)) {}

// Top to bottom: headline, detail, flexible space, then "OK" at the trailing edge; y grows upward.
void LaunchSheet::build() {
    headline_ = TextLabel::create("");
    headline_->setFont(Font::systemFont(13, Font::Weight::Bold));
    headline_->setTextColor(Color::white(0.1));
    detail_ = TextLabel::create("");
    detail_->setFont(Font::systemFont(11, Font::Weight::Regular));
    detail_->setTextColor(Color::white(0.45));
    auto dismiss = dismiss_;
    ok_ = Button::create("OK", [dismiss] { dismiss(); });
    ok_->setKeyEquivalent(KeyEquivalent::Return);
    ok_->sizeToFit();
    ok_->setFrame(Rect{{width - padding - ok_->frame().width(), padding}, ok_->frame().size});
    addSubview(headline_);
    addSubview(detail_);
    addSubview(ok_);
    std::weak_ptr<LaunchSheet> weak = std::static_pointer_cast<LaunchSheet>(shared_from_this());
    state_->observe([weak] {
        if (auto self = weak.lock())
            self->showTexts();
    });
    showTexts();
}

void LaunchSheet::showTexts() {
    if (state_->failed()) {
        headline_->setText(std::string("Couldn't open ") + appName);
        detail_->setText("Open it from your Applications folder.");
    } else {
        headline_->setText(std::string("Opening ") + appName + "\u2026");
        detail_->setText(std::string(productName) + "'s options open in their own window.");
    }
    headline_->sizeToFit();
    double top = height - padding;
    headline_->setFrame(Rect{{padding, top - headline_->frame().height()}, headline_->frame().size});
    detail_->sizeToFit();
    double below = headline_->frame().minY() - spacing;
    detail_->setFrame(Rect{{padding, below - detail_->frame().height()}, detail_->frame().size});
}

} // namespace orrelith
