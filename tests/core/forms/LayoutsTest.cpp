#include "forms/Layouts.h"

#include <gtest/gtest.h>

using namespace camini;

namespace {
void expectRect(const Rect& r, int left, int top, int width, int height, const char* name) {
    EXPECT_EQ(r, (Rect{left, top, width, height}))
        << name << " is (" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << ")";
}
} // namespace

TEST(MainWindowLayout, ControlsAt1366x768) {
    const MainWindowLayout l = mainWindowLayout(1366, 768);
    expectRect(l.window, 0, 0, 1366, 768, "window");
    expectRect(l.stringGrid1, 2, 0, 522, 299, "StringGrid1");
    EXPECT_EQ(l.inputColumnWidth, 95);
    EXPECT_EQ(l.rowHeight, 23);
    EXPECT_EQ(l.inputLabelWidth, 427);
    expectRect(l.bitBtn6, 2, 301, 81, 25, "BitBtn6");
    expectRect(l.bitBtn7, 83, 301, 117, 25, "BitBtn7");
    expectRect(l.bitBtn9, 200, 301, 121, 25, "BitBtn9");
    expectRect(l.bitBtn16, 321, 301, 121, 25, "BitBtn16");
    expectRect(l.bitBtn8, 442, 301, 121, 25, "BitBtn8");
    expectRect(l.label2, 565, 301, 201, 23, "Label2");
    expectRect(l.checkBox2, 10, 347, 204, 23, "CheckBox2");
    expectRect(l.checkBox3, 10, 370, 204, 23, "CheckBox3");
    expectRect(l.checkBox4, 10, 393, 204, 23, "CheckBox4");
    expectRect(l.listBox2, 570, 329, 102, 92, "ListBox2");
    expectRect(l.image1, 524, 0, 434, 288, "Image1");
    expectRect(l.memo1, 677, 298, 546, 76, "Memo1");
    expectRect(l.memo2, 961, 10, 683, 192, "Memo2");
    expectRect(l.label3, 961, 212, 75, 25, "Label3");
    expectRect(l.edit1, 961, 247, 375, 25, "Edit1");
    EXPECT_EQ(l.titleFontSize, 13);
    expectRect(l.listBox1, 524, 0, 273, 288, "ListBox1");
    expectRect(l.stringGrid2, 2, 426, 1075, 222, "StringGrid2");
    EXPECT_EQ(l.resultColumnWidth, 101);
    EXPECT_EQ(l.resultLabelWidth, 353);
    expectRect(l.bitBtn1, 1077, 389, 139, 37, "BitBtn1");
    expectRect(l.bitBtn5, 1216, 389, 139, 37, "BitBtn5");
    expectRect(l.bitBtn3, 1077, 426, 139, 37, "BitBtn3");
    expectRect(l.bitBtn4, 1216, 426, 139, 37, "BitBtn4");
    expectRect(l.bitBtn11, 1077, 468, 278, 37, "BitBtn11");
    expectRect(l.bitBtn13, 1077, 505, 278, 37, "BitBtn13");
    expectRect(l.bitBtn15, 1077, 542, 278, 37, "BitBtn15");
    expectRect(l.bitBtn2, 1077, 579, 278, 42, "BitBtn2");
}

TEST(MainWindowLayout, ActionButtonsEndWhereTheResultsGridBegins) {
    for (auto [w, h] : {std::pair{1024, 768}, {1280, 1024}, {1920, 1080}, {800, 600}}) {
        const MainWindowLayout l = mainWindowLayout(w, h);
        EXPECT_EQ(l.bitBtn1.bottom(), l.stringGrid2.top) << w << "x" << h;
        EXPECT_EQ(l.bitBtn5.left, l.bitBtn1.right());
        EXPECT_EQ(l.bitBtn11.top, l.bitBtn4.bottom() + 5);
    }
}

// A place is cut at the window's right and bottom edges (the window tests
// show the cut controls at three screen sizes).
TEST(ClippedTo, CutsAtTheWindowsRightAndBottomEdges) {
    const Rect window{0, 0, 1366, 768};
    EXPECT_EQ(clippedTo({961, 10, 683, 192}, window), (Rect{961, 10, 405, 192}));
    EXPECT_EQ(clippedTo({2, 426, 1075, 222}, window), (Rect{2, 426, 1075, 222}));
    EXPECT_EQ(clippedTo({10, 760, 50, 20}, window), (Rect{10, 760, 50, 8}));
    EXPECT_EQ(clippedTo({1400, 800, 50, 20}, window), (Rect{1400, 800, 0, 0}));
}

TEST(FontSizeForScreen, ByScreenWidth) {
    const std::pair<int, int> cases[] = {{640, 8},   {800, 10},  {1024, 10}, {1360, 14},
                                         {1365, 12}, {1366, 16}, {1920, 16}, {1280, 12},
                                         {1440, 16}, {1023, 12}};
    for (auto [width, size] : cases)
        EXPECT_EQ(fontSizeForScreen(width), size) << width;
}

TEST(ViewerLayout, ControlsAt1366x768) {
    const ViewerLayout l = viewerLayout(1366, 768);
    expectRect(l.richEdit1, 10, 10, 1270, 652, "RichEdit1");
    expectRect(l.bitBtn1, 409, 672, 204, 30, "BitBtn1");
    expectRect(l.bitBtn2, 623, 672, 204, 30, "BitBtn2");
    expectRect(l.bitBtn3, 837, 672, 204, 30, "BitBtn3");
}

TEST(EditorLayout, ProportionsOfTheScreen) {
    const EditorLayout l = editorLayout(1366, 768);
    expectRect(l.speedButton1, 10, 537, 273, 76, "SpeedButton1");
    expectRect(l.speedButton2, 288, 537, 273, 76, "SpeedButton2");
    expectRect(l.speedButton3, 566, 537, 273, 76, "SpeedButton3");
    expectRect(l.bitBtn1, 844, 537, 273, 76, "BitBtn1");
    expectRect(l.stringGrid1, 10, 10, 628, 384, "StringGrid1");
    EXPECT_EQ(l.columnWidth, 204);
    EXPECT_EQ(l.rowHeight, 48);
    expectRect(l.label1, 10, 404, 273, 76, "Label1");
    expectRect(l.label2, 643, 10, 819, 76, "Label2");
    expectRect(l.edit1, 288, 404, 546, 76, "Edit1");
    expectRect(l.speedButton4, 190, 190, 109, 19, "SpeedButton4");
}

TEST(GraphWindowLayout, CoversTheScreenWithTheButtonsNearItsBottom) {
    struct Case {
        int width, height, buttonTop;
    };
    for (const Case& c : {Case{1024, 768, 700}, Case{1366, 768, 700}, Case{1920, 1080, 1012}}) {
        const GraphWindowLayout l = graphWindowLayout(c.width, c.height);
        expectRect(l.window, 0, 0, c.width, c.height, "Form8");
        expectRect(l.button1, 224, c.buttonTop, 145, 33, "Button1");
        expectRect(l.bitBtn2, 392, c.buttonTop, 129, 33, "BitBtn2");
    }
}
