#pragma once

#include "plot/Graphs.h"

#include <QDialog>

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

public slots:
    void termina();
    void stampagrafico();

protected:
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    PlotState& plot_;
    CurrentGraph& currentGraph_;
    DesktopServices& services_;
};

} // namespace camini
