#include "Layouts.h"

#include <algorithm>

namespace camini {

namespace {
// Cuts toward zero to a whole pixel.
int px(double v) {
    return static_cast<int>(v);
}
} // namespace

Rect clippedTo(const Rect& place, const Rect& window) {
    Rect r = place;
    r.width = std::max(0, std::min(place.right(), window.right()) - place.left);
    r.height = std::max(0, std::min(place.bottom(), window.bottom()) - place.top);
    return r;
}

int fontSizeForScreen(int sw) {
    switch (sw) {
    case 640:
        return 8;
    case 800:
    case 1024:
        return 10;
    case 1360:
        return 14;
    default:
        return sw > 1365 ? 16 : 12;
    }
}

MainWindowLayout mainWindowLayout(int sw, int sh) {
    MainWindowLayout l;
    l.window = {0, 0, sw, sh};

    // Input grid.
    const int c1 = px(sw * 0.07);
    const int r1 = px(sh * 0.0022 * 14);
    l.inputColumnWidth = c1;
    l.rowHeight = r1;
    l.inputLabelWidth = px(c1 * 4.5);
    l.stringGrid1 = {2, 0, l.inputLabelWidth + c1, 13 * r1};

    // Layer buttons, abutting.
    const int top = l.stringGrid1.bottom() + 2;
    const int hB = px(sh * 0.033);
    const int w6 = px(sw * 0.06);
    l.bitBtn6 = {l.stringGrid1.left, top, w6, hB};
    l.bitBtn7 = {l.bitBtn6.right(), top, px(w6 * 1.45), hB};
    l.bitBtn9 = {l.bitBtn7.right(), top, px(w6 * 1.5), hB};
    l.bitBtn16 = {l.bitBtn9.right(), top, px(w6 * 1.5), hB};
    l.bitBtn8 = {l.bitBtn16.right(), top, px(w6 * 1.5), hB};

    const int hC = px(sh * 0.03);
    l.label2 = {l.bitBtn8.right() + 2, l.bitBtn8.top, 201, hC};

    const int wC = px(sw * 0.15);
    l.checkBox2 = {10, l.label2.bottom() + hC, wC, hC};
    l.checkBox3 = {10, l.checkBox2.bottom(), wC, hC};
    l.checkBox4 = {10, l.checkBox3.bottom(), wC, hC};

    l.listBox2 = {l.label2.left + 5, l.label2.bottom() + 5, px(wC * 0.5), 4 * hC};
    l.image1 = {l.stringGrid1.right(), 0, px(sw * 0.7 - l.stringGrid1.width), px(sh * 0.375)};
    l.memo1 = {l.listBox2.right() + 5, l.image1.bottom() + 10, px(sw * 0.4), px(sh * 0.1)};
    l.memo2 = {l.image1.right() + 3, 10, px(sw * 0.5), px(sh * 0.25)};
    l.label3 = {l.memo2.left, l.memo2.bottom() + 10, 75, 25};
    l.edit1 = {l.label3.left, l.label3.bottom() + 10, 375, 25};
    l.titleFontSize = fontSizeForScreen(sw) - 3;
    l.listBox1 = {l.stringGrid1.right(), l.image1.top, px(sw * 0.2), px(sh * 0.375)};

    // Results grid.
    const int c2 = px(c1 * 1.07);
    l.resultColumnWidth = c2;
    l.resultLabelWidth = px(c2 * 3.5);
    l.stringGrid2 = {l.stringGrid1.left, l.listBox2.bottom() + 5,
                     px(l.resultLabelWidth + c2 * 7.15), px((9 + 0.67) * r1)};

    // Action buttons in two columns right of the results grid, the first row
    // one button height above the grid's top.
    const int x = l.stringGrid2.right();
    const int w = px((sw - l.stringGrid2.width) / 2.0 - 6);
    const int h = px(l.stringGrid2.height * 0.17);
    const int y = l.stringGrid2.top - h;
    l.bitBtn1 = {x, y, w, h};
    l.bitBtn5 = {x + w, y, w, h};
    l.bitBtn3 = {x, y + h, w, h};
    l.bitBtn4 = {x + w, y + h, w, h};
    l.bitBtn11 = {x, y + 2 * h + 5, 2 * w, h};
    l.bitBtn13 = {x, y + 3 * h + 5, 2 * w, h};
    l.bitBtn15 = {x, y + 4 * h + 5, 2 * w, h};
    l.bitBtn2 = {x, y + 5 * h + 5, 2 * w, px(h * 1.15)};
    return l;
}

ViewerLayout viewerLayout(int sw, int sh) {
    ViewerLayout l;
    l.window = {0, 0, sw, sh};
    l.richEdit1 = {10, 10, px(sw * 0.93), px(sh * 0.85)};
    const int top = l.richEdit1.bottom() + 10;
    const int w = px(sw * 0.15);
    const int h = px(sh / 25.0);
    l.bitBtn1 = {px(sw * 0.3), top, w, h};
    l.bitBtn2 = {l.bitBtn1.right() + 10, top, w, h};
    l.bitBtn3 = {l.bitBtn2.right() + 10, top, w, h};
    return l;
}

EditorLayout editorLayout(int sw, int sh) {
    EditorLayout l;
    l.window = {0, 0, sw, sh};
    l.speedButton1 = {10, px(0.7 * sh), px(0.2 * sw), px(0.1 * sh)};
    const Rect& b = l.speedButton1;
    l.speedButton2 = {b.left + b.width + 5, b.top, b.width, b.height};
    l.speedButton3 = {l.speedButton2.left + b.width + 5, b.top, b.width, b.height};
    l.bitBtn1 = {l.speedButton3.left + b.width + 5, b.top, b.width, b.height};
    l.stringGrid1 = {10, 10, px(0.46 * sw), px(0.5 * sh)};
    l.columnWidth = px(0.15 * sw);
    l.rowHeight = l.stringGrid1.height / 8;
    l.label1 = {l.stringGrid1.left, l.stringGrid1.bottom() + 10, b.width, b.height};
    l.label2 = {l.stringGrid1.right() + 5, l.stringGrid1.top, 3 * b.width, b.height};
    l.edit1 = {l.label1.right() + 5, l.label1.top, 2 * b.width, b.height};
    l.speedButton4 = {190, 190, 109, 19};
    return l;
}

GraphWindowLayout graphWindowLayout(int sw, int sh) {
    GraphWindowLayout l;
    l.window = {0, 0, sw, sh};
    l.button1 = {224, sh - 68, 145, 33};
    l.bitBtn2 = {392, sh - 68, 129, 33};
    return l;
}

} // namespace camini
