#pragma once

#include <string>

namespace camini {

// A control's place in screen pixels.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool operator==(const Rect&) const = default;
};

// The part of a control's place that lies within the window (whose corner
// is the screen's): the design arithmetic puts some controls partly beyond
// the screen's right edge on every common screen, and a control cut there
// would show a text box without its right border or scroll bar. A control
// wholly outside keeps no width or height.
Rect clippedTo(const Rect& place, const Rect& window);

// Font size of the title label and field (each uses it minus 3): 8 for a
// screen 640 wide, 10 for 800 and 1024, 14 for 1360, 16 above 1365, else 12.
int fontSizeForScreen(int screenWidth);

// The main window laid out from the screen's width and height.
struct MainWindowLayout {
    Rect window;
    Rect stringGrid1;
    int inputColumnWidth = 0;                          // c1, column 1 of the input grid
    int rowHeight = 0;                                 // r1, rows of both grids
    int inputLabelWidth = 0;                           // column 0 of the input grid
    Rect bitBtn6, bitBtn7, bitBtn9, bitBtn16, bitBtn8; // layer buttons and "materiali"
    Rect label2;
    Rect checkBox2, checkBox3, checkBox4;
    Rect listBox2;
    Rect image1;
    Rect memo1;
    Rect memo2;
    Rect label3;
    Rect edit1;
    Rect listBox1;
    Rect stringGrid2;
    int resultColumnWidth = 0; // c2, columns 1..7 of the results grid
    int resultLabelWidth = 0;  // column 0 of the results grid
    Rect bitBtn1, bitBtn5, bitBtn3, bitBtn4, bitBtn11, bitBtn13, bitBtn15, bitBtn2;
    int titleFontSize = 0; // fontSizeForScreen - 3, for Label3 and Edit1
};

MainWindowLayout mainWindowLayout(int screenWidth, int screenHeight);

// The results viewer: the text box and its three buttons.
struct ViewerLayout {
    Rect window;
    Rect richEdit1;
    Rect bitBtn1, bitBtn2, bitBtn3; // "Uscita", "Stampa", "Su file di testo"
};

ViewerLayout viewerLayout(int screenWidth, int screenHeight);

// The materials archive editor.
struct EditorLayout {
    Rect window;
    Rect speedButton1, speedButton2, speedButton3, bitBtn1; // Uscita, Avanti, Indietro, stampa
    Rect stringGrid1;
    int columnWidth = 0;
    int rowHeight = 0;
    Rect label1, label2, edit1;
    Rect speedButton4; // the second exit control keeps its design place
};

EditorLayout editorLayout(int screenWidth, int screenHeight);

// The graph window: the whole screen, its two buttons 68 pixels above the
// window's bottom edge at their design places across.
struct GraphWindowLayout {
    Rect window;
    Rect button1; // "continua"
    Rect bitBtn2; // "STAMPA"
};

GraphWindowLayout graphWindowLayout(int screenWidth, int screenHeight);

} // namespace camini
