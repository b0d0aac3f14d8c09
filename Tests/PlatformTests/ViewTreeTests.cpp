#include "Platform/Views/AnimationContext.hpp"
#include "Platform/Fake/FakePlatform.hpp"
#include "Platform/Views/TextLabel.hpp"
#include "Platform/Views/View.hpp"
#include "Platform/Views/Window.hpp"

#include <gtest/gtest.h>

using namespace orrelith::platform;

namespace {

// A view that counts how often it was told it moved to a window.
class Probe : public View {
public:
    static std::shared_ptr<Probe> make(const Rect& frame = Rect::make(0, 0, 100, 100)) {
        return std::shared_ptr<Probe>(new Probe(frame));
    }
    void viewDidMoveToWindow() override {
        ++moves;
        hadWindow = window() != nullptr;
    }
    int moves = 0;
    bool hadWindow = false;

private:
    explicit Probe(const Rect& frame) : View(frame, windows().makeViewBackend()) {}
};

std::vector<const ViewBackend*> backendsOf(const std::vector<std::shared_ptr<View>>& views) {
    std::vector<const ViewBackend*> result;
    for (auto& view : views)
        result.push_back(&view->backend());
    return result;
}

void fadeIn(View& view, double duration, std::function<void()> completion) {
    AnimationContext::runAnimationGroup(
        [&](AnimationContext& context) {
            context.setDuration(duration);
            view.animator().setAlphaValue(1);
        },
        std::move(completion));
}

class ViewTree : public ::testing::Test {
protected:
    FakePlatform fake;
    std::shared_ptr<View> root = View::create(Rect::make(0, 0, 800, 600));
};

} // namespace

TEST_F(ViewTree, SubviewsStackInOrderAboveOrBelowASiblingAndAtTheEndsForAStranger) {
    auto bottom = View::create({});
    auto top = View::create({});
    auto middle = View::create({});
    root->addSubview(bottom);
    root->addSubview(top);
    root->addSubview(middle, Ordering::Above, bottom.get());
    EXPECT_EQ(root->subviews(), (std::vector<std::shared_ptr<View>>{bottom, middle, top}));
    EXPECT_EQ(FakeBackendBase::of(*root).state.children, backendsOf(root->subviews()));

    auto stranger = View::create({});
    auto above = View::create({});
    auto below = View::create({});
    root->addSubview(above, Ordering::Above, stranger.get());
    root->addSubview(below, Ordering::Below, stranger.get());
    EXPECT_EQ(root->subviews(), (std::vector<std::shared_ptr<View>>{below, bottom, middle, top, above}));
}

TEST_F(ViewTree, AViewLeavesItsSuperviewWhenAddedElsewhereOrRemovedAndHearsOfEachWindowMove) {
    auto other = View::create({});
    auto child = View::create({});
    other->addSubview(child);
    root->addSubview(child);
    EXPECT_TRUE(other->subviews().empty());
    EXPECT_TRUE(FakeBackendBase::of(*other).state.children.empty());
    EXPECT_EQ(child->superview(), root);
    child->removeFromSuperview();
    EXPECT_TRUE(root->subviews().empty());
    EXPECT_FALSE(child->superview());
    EXPECT_TRUE(FakeBackendBase::of(*root).state.children.empty());
    child->removeFromSuperview();

    // Window moves reach every view below the content view; reordering is no move.
    auto window = Window::create(Rect::make(0, 0, 800, 600), WindowStyle::Borderless);
    auto probe = Probe::make();
    auto grandchild = Probe::make();
    probe->addSubview(grandchild);
    root->addSubview(probe);
    EXPECT_EQ(probe->moves, 0);

    window->setContentView(root);
    EXPECT_EQ(probe->moves, 1);
    EXPECT_EQ(grandchild->moves, 1);
    EXPECT_TRUE(grandchild->hadWindow);
    EXPECT_EQ(grandchild->window(), window);
    root->addSubview(probe, Ordering::Below, nullptr);
    EXPECT_EQ(probe->moves, 1) << "within the same window";

    probe->removeFromSuperview();
    EXPECT_EQ(probe->moves, 2);
    EXPECT_FALSE(grandchild->hadWindow);
    EXPECT_FALSE(grandchild->window());
}

TEST_F(ViewTree, AutoresizingFollowsTheSuperviewsSizeAsAContentViewTheWindowsAndInFullScreenTheScreens) {
    auto fills = View::create(Rect::make(0, 0, 800, 600));
    fills->setAutoresizingMask(AutoresizingMask::WidthSizable | AutoresizingMask::HeightSizable);
    auto fixed = View::create(Rect::make(10, 20, 30, 40));
    root->addSubview(fills);
    root->addSubview(fixed);
    root->setFrame(Rect::make(0, 0, 1920, 1080));
    EXPECT_EQ(fills->frame(), Rect::make(0, 0, 1920, 1080));
    EXPECT_EQ(FakeBackendBase::of(*fills).state.frame, Rect::make(0, 0, 1920, 1080));
    EXPECT_EQ(fixed->frame(), Rect::make(10, 20, 30, 40));

    auto screen = fake.screens->add(Rect::make(-2560, 0, 2560, 1440), "Studio Display", 2);
    auto window = Window::create(Rect::make(0, 0, 400, 300), WindowStyle::Borderless);
    root->setAutoresizingMask(AutoresizingMask::WidthSizable | AutoresizingMask::HeightSizable);
    window->setContentView(root);
    EXPECT_EQ(root->frame(), Rect::make(0, 0, 400, 300));
    window->makeFullScreen(*screen);
    EXPECT_EQ(window->frame(), Rect::make(-2560, 0, 2560, 1440));
    EXPECT_EQ(root->frame(), Rect::make(0, 0, 2560, 1440));
    EXPECT_EQ(window->screen(), screen);
}

TEST_F(ViewTree, AnimationCompletesExactlyAtItsDurationAndDrawsTheWay) {
    auto view = View::create({});
    view->setAlphaValue(0);
    int completions = 0;
    fadeIn(*view, 1.6, [&] { ++completions; });
    EXPECT_EQ(view->alphaValue(), 1) << "the model takes the target at once";
    auto& drawn = FakeBackendBase::of(*view);
    EXPECT_EQ(drawn.drawnAlpha(), 0);
    fake.advanceBy(0.8);
    EXPECT_DOUBLE_EQ(drawn.drawnAlpha(), 0.5);
    fake.advanceBy(0.799999999);
    EXPECT_EQ(completions, 0);
    fake.advanceBy(0.000000001);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(drawn.drawnAlpha(), 1);
    fake.advanceBy(10);
    EXPECT_EQ(completions, 1);

    auto gone = View::create({});
    fadeIn(*gone, 1.2, [&] { ++completions; });
    gone.reset();
    fake.advanceBy(1.2);
    EXPECT_EQ(completions, 2) << "the animation of a view that went away still completes";
}
