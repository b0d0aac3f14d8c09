#pragma once

namespace orrelith::platform {

struct Point {
    double x = 0;
    double y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Frames are in points with y growing upward: a view's frame is in its superview's coordinates with the
// origin at the superview's lower-left corner; a screen's or window's frame is in global coordinates with
// the primary monitor's lower-left corner at (0, 0).
struct Rect {
    Point origin;
    Size size;

    static Rect make(double x, double y, double width, double height) { return {{x, y}, {width, height}}; }
    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    bool isEmpty() const { return size.width <= 0 || size.height <= 0; }
    bool intersects(const Rect& other) const {
        return !isEmpty() && !other.isEmpty() && minX() < other.maxX() && other.minX() < maxX() &&
               minY() < other.maxY() && other.minY() < maxY();
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static Color black() { return {0, 0, 0, 1}; }
    static Color white(double level, double alpha = 1) { return {level, level, level, alpha}; }
    static Color clear() { return {0, 0, 0, 0}; }
    friend bool operator==(const Color&, const Color&) = default;
};

} // namespace orrelith::platform
