#pragma once

#include "plot/PlotCanvas.h"

#include <QColor>
#include <QFont>
#include <QPoint>

class QPainter;

namespace camini {

// The plot library's drawing surface on a QPainter: the graph window or a
// printer page. The size is the window's or the page's printable area.
class PainterCanvas : public PlotCanvas {
public:
    PainterCanvas(QPainter& painter, int width, int height);

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void textOut(int x, int y, const std::string& text) override;
    void setPenColour(PlotColour colour) override;
    void setPenWidth(int width) override;
    void setFontName(const std::string& name) override;
    void setFontSize(int points) override;
    void setFontColour(PlotColour colour) override;
    int width() const override { return width_; }
    int height() const override { return height_; }
    int textWidth(const std::string& text) const override;
    int textHeight() const override;

private:
    void applyPen();
    QPainter& painter_;
    int width_, height_;
    QPoint position_;
    QColor penColour_ = Qt::black;
    int penWidth_ = 1;
    QColor fontColour_ = Qt::black;
    QFont font_;
};

} // namespace camini
