#pragma once

#include "plot/Graphs.h"

#include <QDialog>

class QPainter;
class QRect;

namespace camini {

class DesktopServices;
struct PlotState;

// The graph window: shows the current graph full screen and prints it. Its
// controls are found by their component names: Button1 ("continua") and
// BitBtn2 ("STAMPA").
class TForm8 : public QDialog {
    Q_OBJECT
public:
    TForm8(PlotState& plot, CurrentGraph& currentGraph, DesktopServices& services,
           QWidget* parent = nullptr);

    // Shows the window modally with the current graph; returns when closed.
    void visualizza();

    // Lays the window out for the screen and checks the graph (its message,
    // if any, once per showing). Runs at every showing.
    void inizia();

    // The current graph's title line, written right of the buttons on the
    // screen and at the top of the printed page.
    QString titleLine() const;

    // How far down the drawing starts: on the screen by the room of the y
    // axis' arrow head, on a page `height` high by the title line's band.
    static int drawingTop(bool onPaper, int height);

public slots:
    void termina();
    void stampagrafico();

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void drawTitleLine(QPainter& painter, const QRect& room) const;
    PlotState& plot_;
    CurrentGraph& currentGraph_;
    DesktopServices& services_;
};

} // namespace camini
