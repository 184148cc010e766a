#include "GraphWindow.h"

#include "DesktopServices.h"
#include "PainterCanvas.h"
#include "Widgets.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>

namespace camini {

TForm8::TForm8(PlotState& plot, CurrentGraph& currentGraph, DesktopServices& services,
               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      plot_(plot), currentGraph_(currentGraph), services_(services) {
    setObjectName("Form8");
    setWindowTitle("GRAFICO");
    setModal(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);
    resize(640, 461);

    QFont captionFont("Times New Roman");
    captionFont.setPixelSize(16);
    Button1 = new QPushButton("continua", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(224, 424, 145, 33);
    Button1->setFont(captionFont);
    Button1->setStyleSheet("color: blue;");
    Button1->setAutoDefault(false);
    BitBtn2 = new QPushButton("STAMPA", this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(392, 424, 129, 33);
    QFont printFont = captionFont;
    printFont.setBold(true);
    printFont.setItalic(true);
    BitBtn2->setFont(printFont);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    BitBtn2->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TForm8::termina);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm8::stampagrafico);
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
    Button1->show();
    BitBtn2->show();
    const QScreen* s = screen() ? screen() : QApplication::primaryScreen();
    const QRect screenRect = s->geometry();
    setGeometry(0, 0, screenRect.width(), screenRect.height());
    setFixedSize(screenRect.width(), screenRect.height());
    plot_.windowWidth = static_cast<std::uint16_t>(screenRect.width());
    plot_.windowHeight = static_cast<std::uint16_t>(screenRect.height());
    Button1->move(224, plot_.windowHeight - 68);
    BitBtn2->move(392, plot_.windowHeight - 68);
    CheckGraph(currentGraph_, services_);
    update();
}

void TForm8::paintEvent(QPaintEvent* e) {
    QDialog::paintEvent(e);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    PainterCanvas canvas(painter, plot_.windowWidth, plot_.windowHeight);
    canvas.setFontName("TIMES NEW ROMAN");
    canvas.setFontSize(8);
    canvas.setPenWidth(2);
    PlotCanvas* previous = plot_.canvas;
    plot_.device = PlotDevice::Screen;
    plot_.canvas = &canvas;
    DrawGraph(plot_, currentGraph_);
    plot_.canvas = previous;
}

void TForm8::termina() {
    accept();
}

void TForm8::stampagrafico() {
    QPrinter* printer = printerForJob(services_);
    if (!printer)
        return;
    CheckGraph(currentGraph_, services_);
    QPainter painter;
    QSize page;
    if (!beginJob(services_, *printer, painter, page))
        return;
    PainterCanvas canvas(painter, page.width(), page.height());
    canvas.setFontName("TIMES NEW ROMAN");
    canvas.setPenWidth(5);
    PlotCanvas* previous = plot_.canvas;
    plot_.device = PlotDevice::Printer;
    plot_.canvas = &canvas;
    DrawGraph(plot_, currentGraph_);
    painter.end();
    plot_.canvas = previous;
    plot_.device = PlotDevice::Screen;
}

} // namespace camini
