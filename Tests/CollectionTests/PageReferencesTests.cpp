#include <gtest/gtest.h>

#include "PageReferences.hpp"

using orrelith::collection::PageReferences;

namespace {

struct ExtractCase {
    const char* text;
    std::vector<std::string> references;
};

TEST(PageReferences, FindsEveryLiteralFileReferenceInOrder) {
    const std::vector<ExtractCase> cases{
        {R"x(<script src="a.js"></script>)x", {"a.js"}},
        {R"x(<link rel="stylesheet" href='b.css'>)x", {"b.css"}},
        {R"x(<IMG SRC = "c.png">)x", {"c.png"}},
        {"body { background: url(d.png) }", {"d.png"}},
        {R"x(a { background: url( "e.png" ) } b { background: url('f.png') })x", {"e.png", "f.png"}},
        {R"x(@import "g.css";)x", {"g.css"}},
        {R"x(fetch('h.json'); fetch("i.json"); fetch(`j.json`))x", {"h.json", "i.json", "j.json"}},
        {R"x(<img src="1.png"><div style="background: url(2.png)"></div><a href="3.html">)x",
         {"1.png", "2.png", "3.html"}},
        {"fetch(name); el.src = path + '.png';", {}},
        {"no references here", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PageReferences::extract(c.text), c.references) << c.text;
}

TEST(PageReferences, FilePartDropsQueryFragmentAndEscapesAndSkipsNonFiles) {
    const std::vector<std::pair<const char*, const char*>> cases{
        {"a.png?v=2", "a.png"},
        {"b.html#top", "b.html"},
        {"c%20d.png", "c d.png"},
        {"%zz.png", "%zz.png"},
        {"orrelith://bundle/x.css", "orrelith://bundle/x.css"},
        {"data:image/png;base64,AAAA", ""},
        {"JavaScript:void(0)x", ""},
        {"about:blank", ""},
        {"#section", ""},
    };
    for (const auto& [reference, file] : cases)
        EXPECT_EQ(PageReferences::filePart(reference), file) << reference;
}

} // namespace
