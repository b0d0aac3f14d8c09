#include "MainLoopSupport.hpp"
#include "Platform/Views/AnimationContext.hpp"
#include "Platform/Views/Button.hpp"
#include "Platform/Views/ImageView.hpp"
#include "Platform/Linux/Views/GtkLabelBackend.hpp"
#include "Platform/Linux/Views/GtkWidgetBackend.hpp"
#include "Platform/Linux/LinuxPlatform.hpp"
#include "Platform/Views/Screen.hpp"
#include "Platform/Views/TextLabel.hpp"
#include "Platform/Views/Window.hpp"
#include "Platform/Views/WindowSystem.hpp"
#include "Saver/Displays.hpp"

#include "TemporaryFolder.hpp"

#include <gtest/gtest.h>

#include <cmath>

using namespace orrelith;
using namespace orrelith::platform;

namespace {

class Gtk : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!installed().windows)
            install(linuxServices());
    }
};

GtkWidget* widgetOf(const View& view) { return dynamic_cast<GtkWidgetBackend&>(view.backend()).widget(); }

std::shared_ptr<Window> showWindow(const std::shared_ptr<View>& content, Size size) {
    auto window = Window::create(Rect{{0, 0}, size}, WindowStyle::Borderless);
    window->setContentView(content);
    window->orderFront();
    EXPECT_TRUE(pumpUntil([&] {
        return gtk_widget_get_mapped(widgetOf(*content)) && gtk_widget_get_width(widgetOf(*content)) == size.width &&
               gtk_widget_get_height(widgetOf(*content)) == size.height;
    })) << "the window is shown at its size";
    return window;
}

graphene_rect_t boundsIn(const View& view, const View& ancestor) {
    graphene_rect_t bounds;
    EXPECT_TRUE(gtk_widget_compute_bounds(widgetOf(view), widgetOf(ancestor), &bounds));
    return bounds;
}

const GskRenderNode* findShadow(GskRenderNode* node) {
    switch (gsk_render_node_get_node_type(node)) {
    case GSK_SHADOW_NODE:
        return node;
    case GSK_CONTAINER_NODE:
        for (guint i = 0; i < gsk_container_node_get_n_children(node); ++i)
            if (auto* found = findShadow(gsk_container_node_get_child(node, i)))
                return found;
        return nullptr;
    case GSK_TRANSFORM_NODE:
        return findShadow(gsk_transform_node_get_child(node));
    case GSK_OPACITY_NODE:
        return findShadow(gsk_opacity_node_get_child(node));
    case GSK_CLIP_NODE:
        return findShadow(gsk_clip_node_get_child(node));
    case GSK_DEBUG_NODE:
        return findShadow(gsk_debug_node_get_child(node));
    default:
        return nullptr;
    }
}

std::optional<double> shadowRadius(GtkWidget* widget) {
    GdkPaintable* paintable = gtk_widget_paintable_new(widget);
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(paintable, GDK_SNAPSHOT(snapshot), gtk_widget_get_width(widget), gtk_widget_get_height(widget));
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
    std::optional<double> radius;
    if (auto* shadow = node ? findShadow(node) : nullptr)
        radius = gsk_shadow_node_get_shadow(shadow, 0)->radius;
    if (node)
        gsk_render_node_unref(node);
    g_object_unref(paintable);
    return radius;
}

} // namespace

TEST_F(Gtk, SubviewsArePlacedAtTheirFramesFlippedAndStackedInOrderAndAButtonAmongThemRuns) {
    auto root = View::create(Rect::make(0, 0, 400, 300));
    auto lower = View::create(Rect::make(10, 20, 100, 50));
    auto upper = View::create(Rect::make(0, 0, 400, 300));
    root->addSubview(upper);
    root->addSubview(lower, Ordering::Below, upper.get());
    auto window = showWindow(root, {400, 300});

    auto bounds = boundsIn(*lower, *root);
    EXPECT_EQ(bounds.origin.x, 10);
    EXPECT_EQ(bounds.origin.y, 300 - 20 - 50) << "y-up frames are flipped with the superview's height";
    EXPECT_EQ(bounds.size.width, 100);
    EXPECT_EQ(bounds.size.height, 50);
    EXPECT_EQ(gtk_widget_get_next_sibling(widgetOf(*lower)), widgetOf(*upper));

    lower->setFrame(Rect::make(200.5, 0, 50, 25));
    EXPECT_TRUE(pumpUntil([&] { return boundsIn(*lower, *root).origin.y == 275; }));
    EXPECT_FLOAT_EQ(boundsIn(*lower, *root).origin.x, 200.5f);
    upper->removeFromSuperview();
    EXPECT_FALSE(gtk_widget_get_parent(widgetOf(*upper)));

    // A button in the tree runs its action when activated.
    int clicks = 0;
    auto button = Button::create("OK", [&] { ++clicks; });
    button->setKeyEquivalent(KeyEquivalent::Return);
    button->sizeToFit();
    EXPECT_GT(button->frame().width(), 0);
    root->addSubview(button);
    GtkWidget* gtkButton = gtk_widget_get_first_child(widgetOf(*button));
    ASSERT_TRUE(GTK_IS_BUTTON(gtkButton));
    gtk_widget_activate(gtkButton);
    EXPECT_TRUE(pumpUntil([&] { return clicks == 1; }));
    window->close();
}

TEST_F(Gtk, LabelFontColourAndShadowAreAppliedMonospacedReallyIsMonospacedAndImagesAreDecodedOrRefused) {
    auto label = TextLabel::create("CH 07 \xC2\xB7 Bridge");
    label->setFont(Font::monospacedSystemFont(20.57, Font::Weight::Medium));
    label->setTextColor(Color::white(0.85));
    label->setShadow(Shadow{Color::black(), 6, {}});
    label->setFrame(Rect::make(48, 48, 0, 0));
    label->sizeToFit();
    auto root = View::create(Rect::make(0, 0, 600, 200));
    root->setLayerBackgroundColor(Color::black());
    root->addSubview(label);
    auto window = showWindow(root, {600, 200});

    auto* gtkLabel = dynamic_cast<GtkLabelBackend&>(label->backend()).label();
    GSList* attributes = pango_attr_list_get_attributes(gtk_label_get_attributes(gtkLabel));
    std::map<PangoAttrType, PangoAttribute*> byType;
    for (GSList* item = attributes; item; item = item->next)
        byType[static_cast<PangoAttribute*>(item->data)->klass->type] = static_cast<PangoAttribute*>(item->data);
    ASSERT_TRUE(byType.count(PANGO_ATTR_FAMILY));
    EXPECT_STREQ(reinterpret_cast<PangoAttrString*>(byType[PANGO_ATTR_FAMILY])->value, "monospace");
    EXPECT_EQ(reinterpret_cast<PangoAttrInt*>(byType[PANGO_ATTR_WEIGHT])->value, PANGO_WEIGHT_MEDIUM);
    EXPECT_EQ(reinterpret_cast<PangoAttrSize*>(byType[PANGO_ATTR_ABSOLUTE_SIZE])->size, std::lround(20.57 * PANGO_SCALE));
    EXPECT_EQ(reinterpret_cast<PangoAttrColor*>(byType[PANGO_ATTR_FOREGROUND])->color.red, std::lround(0.85 * 65535));
    g_slist_free_full(attributes, reinterpret_cast<GDestroyNotify>(pango_attribute_destroy));

    EXPECT_GT(label->frame().width(), 100);
    EXPECT_GT(label->frame().height(), 20);
    EXPECT_EQ(shadowRadius(widgetOf(*label)), 6.0) << "the shadow is drawn";
    label->setShadow(std::nullopt);
    EXPECT_FALSE(shadowRadius(widgetOf(*label)));
    window->close();

    // Monospaced labels really are monospaced.
    auto widthOf = [](const char* text, Font font) {
        auto label = TextLabel::create(text);
        label->setFont(font);
        label->sizeToFit();
        return label->frame().width();
    };
    auto mono = Font::monospacedSystemFont(20, Font::Weight::Medium);
    auto plain = Font::systemFont(20, Font::Weight::Medium);
    EXPECT_EQ(widthOf("iiiiiiii", mono), widthOf("WWWWWWWW", mono));
    EXPECT_LT(widthOf("iiiiiiii", plain), widthOf("WWWWWWWW", plain));
    EXPECT_LT(widthOf("WWWW", mono), widthOf("WWWWWWWW", mono));

    // Images are decoded or refused.
    orrelith::testing::TemporaryFolder folder;
    std::vector<guchar> pixels(4 * 3 * 4, 0x80);
    GBytes* bytes = g_bytes_new(pixels.data(), pixels.size());
    GdkTexture* texture = gdk_memory_texture_new(4, 3, GDK_MEMORY_R8G8B8A8, bytes, 16);
    ASSERT_TRUE(gdk_texture_save_to_png(texture, (folder / "thumb.png").c_str()));
    g_object_unref(texture);
    g_bytes_unref(bytes);
    folder.write("not-an-image.jpg", "text");

    auto image = windows().loadImage(folder / "thumb.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (Size{4, 3}));
    EXPECT_FALSE(windows().loadImage(folder / "missing.jpg"));
    EXPECT_FALSE(windows().loadImage(folder / "not-an-image.jpg"));
    auto view = ImageView::create(Rect::make(0, 0, 40, 30));
    view->setImageScaling(ImageScaling::ProportionallyUpOrDown);
    view->setImage(image);
}

TEST_F(Gtk, AnimationDrawsTheWayInAShownWindowAndCompletesInOneNeverShown) {
    auto root = View::create(Rect::make(0, 0, 200, 200));
    auto view = View::create(Rect::make(0, 0, 200, 200));
    root->addSubview(view);
    auto window = showWindow(root, {200, 200});
    view->setAlphaValue(0);
    bool done = false;
    std::vector<double> drawn;
    AnimationContext::runAnimationGroup(
        [&](AnimationContext& context) {
            context.setDuration(0.5);
            view->animator().setAlphaValue(1);
        },
        [&] { done = true; });
    EXPECT_TRUE(pumpUntil([&] {
        drawn.push_back(gtk_widget_get_opacity(widgetOf(*view)));
        return done;
    }));
    EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [](double alpha) { return alpha > 0.05 && alpha < 0.95; }))
        << "opacity passes through values in between";
    EXPECT_EQ(gtk_widget_get_opacity(widgetOf(*view)), 1.0);
    window->close();

    auto hidden = View::create(Rect::make(0, 0, 100, 100));
    hidden->setAlphaValue(0);
    done = false;
    AnimationContext::runAnimationGroup(
        [&](AnimationContext& context) {
            context.setDuration(0.3);
            hidden->animator().setAlphaValue(1);
        },
        [&] { done = true; });
    EXPECT_TRUE(pumpUntil([&] { return done; })) << "an animation completes even in a window never shown";
    EXPECT_EQ(gtk_widget_get_opacity(widgetOf(*hidden)), 1.0);
}

TEST_F(Gtk, FullScreenWindowCoversTheXvfbScreenListedByItsFrameAndReportsIt) {
    auto screen = screens().mainScreen();
    ASSERT_TRUE(screen);
    auto root = View::create(Rect::make(0, 0, 100, 100));
    auto child = View::create(Rect::make(0, 0, 100, 100));
    child->setAutoresizingMask(AutoresizingMask::WidthSizable | AutoresizingMask::HeightSizable);
    root->addSubview(child);
    auto window = Window::create(Rect::make(0, 0, 100, 100), WindowStyle::Borderless);
    window->setContentView(root);
    window->makeFullScreen(*screen);
    window->orderFront();
    EXPECT_TRUE(pumpUntil([&] { return window->isVisible() && window->frame() == screen->frame(); }));
    EXPECT_EQ(root->frame().size, screen->frame().size);
    EXPECT_EQ(child->frame().size, screen->frame().size);
    EXPECT_TRUE(pumpUntil([&] { return gtk_widget_get_width(widgetOf(*child)) == screen->frame().width(); }));
    EXPECT_EQ(Displays::screen(*root), screen);
    window->orderOut();
    EXPECT_TRUE(pumpUntil([&] { return !gtk_widget_get_mapped(widgetOf(*root)); }));
    window->close();

    auto displays = Displays::current();
    ASSERT_EQ(displays.size(), 1u);
    EXPECT_EQ(displays[0].frame, Rect::make(0, 0, 1280, 800));
    EXPECT_EQ(displays[0].id, "frame-0x0") << "Xvfb has no EDID";
    EXPECT_FALSE(displays[0].name.empty());
    EXPECT_EQ(Displays::displayID(*screen), 1u);
    EXPECT_FALSE(screens().displayUUID(1));
}

