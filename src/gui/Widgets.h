#pragma once

#include "common/Cp1252.h"
#include "forms/Layouts.h"

#include <QFont>
#include <QPushButton>
#include <QRect>
#include <QStringList>
#include <QStyle>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

class QPainter;
class QPaintDevice;
class QPrinter;

namespace camini {

class DesktopServices;

// A control's place from the core's layout arithmetic.
inline QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

// What a control of a window is.
enum class ControlKind : std::uint8_t {
    Button,   // a push button with a caption and a small picture
    CheckBox, // a check box with its caption
    Label,    // a one-line caption
    Picture,  // a picture stretched over the control
    LineEdit, // a one-line text box
    Memo,     // a multi-line plain text box; Tab moves on
    TextBox,  // the results viewer's document
    Grid,     // a string grid (GridView)
    List,     // a single-choice list (ChoiceList)
};

// The font a control takes when the window is laid out. Without a family the
// control keeps its face and only the size changes; without a size the font
// is left alone (the window sets it itself).
struct FontRule {
    const char* family = nullptr;
    int points = 0;
    int pixels = 0;          // a size in pixels instead of points
    bool fitCaption = false; // the largest size up to `points` at which the caption fits
    bool boldItalic = false;
};

// One control of a window's table: the table's order is the order of
// creation and of the Tab key.
template <class Window, class Layout> struct ControlSpec {
    const char* name; // the component name, the widget's object name
    ControlKind kind;
    const char* caption = nullptr;                        // UTF-8; "&" marks the accelerator
    QStyle::StandardPixmap glyph = QStyle::SP_CustomBase; // buttons; SP_CustomBase: none
    const char* tooltip = nullptr;
    void (Window::*handler)() = nullptr; // a click of a button or a check box
    Rect Layout::*place = nullptr;       // nullptr: the window places it itself
    FontRule font = {};
    int Layout::*pointsFrom = nullptr; // the font's size from the layout instead
    const char* colour = nullptr;      // the text colour, when not the palette's
};

// Shorthands for the entries of a window's table.
template <class Window, class Layout> struct ControlTable {
    using Spec = ControlSpec<Window, Layout>;
    static Spec button(const char* name, const char* caption, QStyle::StandardPixmap glyph,
                       void (Window::*handler)(), Rect Layout::*place, FontRule font = {},
                       const char* tooltip = nullptr) {
        return {.name = name,
                .kind = ControlKind::Button,
                .caption = caption,
                .glyph = glyph,
                .tooltip = tooltip,
                .handler = handler,
                .place = place,
                .font = font};
    }
};

// Creates one control under `parent`.
QWidget* createControl(QWidget* parent, ControlKind kind, const char* name, const char* caption,
                       QStyle::StandardPixmap glyph, const char* tooltip, const char* colour);

// Gives a control its font by the rule; `points` overrides the rule's size
// when positive.
void applyFont(QWidget* control, const FontRule& rule, int points);

// The control of a window named `name`; throws when there is none, which is a
// fault of the window's table.
template <class T> T* control(const QWidget* window, const char* name) {
    T* c = window->findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (!c)
        throw std::logic_error(std::string("no control ") + name);
    return c;
}

// Creates the controls of a table, connects their handlers and chains the Tab
// key through them in table order.
template <class Window, class Layout, std::size_t N>
void createControls(Window* window, const std::array<ControlSpec<Window, Layout>, N>& table) {
    QWidget* previous = nullptr;
    for (const auto& spec : table) {
        QWidget* c = createControl(window, spec.kind, spec.name, spec.caption, spec.glyph,
                                   spec.tooltip, spec.colour);
        if (spec.handler)
            if (auto* button = qobject_cast<QAbstractButton*>(c))
                QObject::connect(button, &QAbstractButton::clicked, window, spec.handler);
        if (c->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, c);
        previous = c;
    }
}

// Places the controls of a table from the window's layout, each cut at the
// window's right and bottom edges, and gives them their fonts.
template <class Window, class Layout, std::size_t N>
void placeControls(const Window* window, const std::array<ControlSpec<Window, Layout>, N>& table,
                   const Layout& layout) {
    for (const auto& spec : table) {
        QWidget* c = control<QWidget>(window, spec.name);
        if (spec.place)
            c->setGeometry(toQRect(clippedTo(layout.*spec.place, layout.window)));
        applyFont(c, spec.font, spec.pointsFrom ? layout.*spec.pointsFrom : 0);
    }
}

// A button of the windows: its component name, caption (UTF-8, "&" marks the
// accelerator) and small picture. It never reacts to Enter as a default
// button would: Enter belongs to the grids and lists.
QPushButton* makeButton(QWidget* parent, const char* name, const char* caption,
                        QStyle::StandardPixmap glyph);

// The smallest point size a window's text is shrunk to where it would not
// fit its room: the grids, the boxes, the buttons and the results viewer.
constexpr int SmallestFontPoints = 6;

// The largest point size, from `points` down to SmallestFontPoints, at which
// every text fits in `room` (units of `device`: the screen's pixels when none
// is given); SmallestFontPoints when none does.
int fittingPointSize(QFont font, int points, const QStringList& texts, qreal room,
                     QPaintDevice* device = nullptr);

// A font of the given family and size.
QFont namedFont(const char* family, int points);

// The screen a window is on (the primary one before it is shown).
QSize screenSizeOf(const QWidget* window);

// The disabled text colour of the palette for results that no longer match
// their inputs, the usual one otherwise.
void showAsCurrent(QWidget* control, bool current);

// Runs a file operation and shows its failure (a FileError) in the error
// box. Returns whether the operation succeeded.
bool runFileOperation(DesktopServices& services, const std::function<void()>& operation);

// Whether a save may go to `path` (file system bytes): yes when no file is
// there, otherwise as the user answers "il file ... esiste già: sostituirlo?".
bool confirmReplace(DesktopServices& services, const PathBytes& path);

// Starts a print job with an empty title on the default printer, `painter`
// drawing on the printable area (no margins added), and gives the page's
// printable size in dots. Where no printer is installed, the box "nessuna
// stampante installata" asks whether to print into a PDF file instead (Sì:
// a save dialog, then the same pages go to that file). Nothing when that is
// declined, and, after the error box, when the printer or the file refuses
// the document ("stampa non riuscita").
QPrinter* startPrintJob(DesktopServices& services, QPainter& painter, QSize& page);

} // namespace camini
