#include "GraphWindow.h"

#include "DesktopServices.h"
#include "PainterCanvas.h"
#include "QtText.h"
#include "Widgets.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QShowEvent>

namespace camini {

namespace {

using Control = ControlSpec<TForm8, GraphWindowLayout>;

const std::array<Control, 2> controls = {{
    {.name = "Button1",
     .kind = ControlKind::Button,
     .caption = "continua",
     .handler = &TForm8::termina,
     .place = &GraphWindowLayout::button1,
     .font = {.family = "Times New Roman", .pixels = 16},
     .colour = "blue"},
    {.name = "BitBtn2",
     .kind = ControlKind::Button,
     .caption = "STAMPA",
     .glyph = QStyle::SP_FileDialogDetailedView,
     .handler = &TForm8::stampagrafico,
     .place = &GraphWindowLayout::bitBtn2,
     .font = {.family = "Times New Roman", .pixels = 16, .boldItalic = true}},
}};

// The window as designed, until its first showing lays it out on the screen.
const GraphWindowLayout designLayout{{0, 0, 640, 461}, {224, 424, 145, 33}, {392, 424, 129, 33}};

// The title line's font: the face and size of the graph's texts.
QFont titleFont() {
    QFont f(QStringLiteral("Times New Roman"));
    f.setPointSize(14);
    return f;
}

} // namespace

int TForm8::drawingTop(bool onPaper, int height) {
    // On the screen, room for the y axis' arrow and its pen; on paper, the
    // title line's band above the drawing, which the page's lowest tenth
    // (left free by the plot) makes up for.
    return onPaper ? height / 25 : 4;
}

QString TForm8::titleLine() const {
    return currentGraph_.title ? toQString(currentGraph_.title()) : QString();
}

void TForm8::drawTitleLine(QPainter& painter, const QRect& room) const {
    const QString title = titleLine();
    if (title.isEmpty() || room.width() <= 0)
        return;
    painter.save();
    QFont font = titleFont();
    font.setPointSize(
        fittingPointSize(font, font.pointSize(), {title}, room.width(), painter.device()));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetrics fm(font, painter.device());
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                     fm.elidedText(title, Qt::ElideRight, room.width()));
    painter.restore();
}

TForm8::TForm8(PlotState& plot, CurrentGraph& currentGraph, DesktopServices& services,
               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      plot_(plot), currentGraph_(currentGraph), services_(services) {
    setObjectName("Form8");
    setWindowTitle(QStringLiteral("GRAFICO"));
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    createControls(this, controls);
    resize(designLayout.window.width, designLayout.window.height);
    placeControls(this, controls, designLayout);
}

void TForm8::visualizza() {
    plot_.device = PlotDevice::Screen;
    services_.showModal(*this);
}

void TForm8::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Only a showing by visualizza starts the window (and gives the graph's
    // message); a restore from minimised is a spontaneous show event.
    if (!e->spontaneous())
        inizia();
}

void TForm8::inizia() {
    for (const Control& c : controls)
        control<QWidget>(this, c.name)->show();
    const QSize screen = screenSizeOf(this);
    const GraphWindowLayout l = graphWindowLayout(screen.width(), screen.height());
    setGeometry(toQRect(l.window));
    setFixedSize(l.window.width, l.window.height);
    plot_.windowWidth = static_cast<std::uint16_t>(l.window.width);
    plot_.windowHeight = static_cast<std::uint16_t>(l.window.height);
    placeControls(this, controls, l);
    checkGraph(currentGraph_, services_);
    update();
}

void TForm8::paintEvent(QPaintEvent* e) {
    QDialog::paintEvent(e);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // The title line in the buttons' row, right of "STAMPA".
    const QRect print = control<QWidget>(this, "BitBtn2")->geometry();
    drawTitleLine(painter, QRect(print.right() + 20, print.top(), width() - print.right() - 30,
                                 print.height()));
    painter.translate(0, drawingTop(false, height()));
    PainterCanvas canvas(painter, plot_.windowWidth, plot_.windowHeight);
    drawGraphOn(plot_, currentGraph_, canvas, PlotDevice::Screen);
}

void TForm8::termina() {
    accept();
}

void TForm8::stampagrafico() {
    QPainter painter;
    QSize page;
    if (!startPrintJob(services_, painter, page))
        return;
    checkGraph(currentGraph_, services_);
    // The title line at the top of the page, the graph below it.
    const int top = drawingTop(true, page.height());
    drawTitleLine(painter, QRect(0, 0, page.width(), top));
    painter.translate(0, top);
    PainterCanvas canvas(painter, page.width(), page.height());
    drawGraphOn(plot_, currentGraph_, canvas, PlotDevice::Printer);
    painter.end();
}

} // namespace camini
