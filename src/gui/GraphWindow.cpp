#include "GraphWindow.h"

#include "DesktopServices.h"
#include "PainterCanvas.h"
#include "Widgets.h"

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

} // namespace

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
    PainterCanvas canvas(painter, page.width(), page.height());
    drawGraphOn(plot_, currentGraph_, canvas, PlotDevice::Printer);
    painter.end();
}

} // namespace camini
