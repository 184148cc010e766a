#include "PainterCanvas.h"

#include "QtText.h"

#include <QFontMetrics>
#include <QPainter>

namespace camini {

namespace {
QColor toQColor(PlotColour c) {
    return QColor(c.r, c.g, c.b);
}
} // namespace

PainterCanvas::PainterCanvas(QPainter& painter, int width, int height)
    : painter_(painter), width_(width), height_(height) {
    font_ = painter_.font();
    applyPen();
}

void PainterCanvas::applyPen() {
    QPen pen(penColour_);
    pen.setWidth(penWidth_);
    painter_.setPen(pen);
}

void PainterCanvas::moveTo(int x, int y) {
    position_ = QPoint(x, y);
}

void PainterCanvas::lineTo(int x, int y) {
    painter_.drawLine(position_, QPoint(x, y));
    position_ = QPoint(x, y);
}

void PainterCanvas::ellipse(int x1, int y1, int x2, int y2) {
    painter_.setBrush(Qt::white);
    painter_.drawEllipse(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)),
                               QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1)));
    painter_.setBrush(Qt::NoBrush);
}

int PainterCanvas::textWidth(const std::string& text) const {
    return QFontMetrics(font_, painter_.device()).horizontalAdvance(toQString(text));
}

int PainterCanvas::textHeight() const {
    return QFontMetrics(font_, painter_.device()).height();
}

void PainterCanvas::textOut(int x, int y, const std::string& text) {
    painter_.setFont(font_);
    painter_.setPen(fontColour_);
    const QFontMetrics metrics(font_, painter_.device());
    painter_.drawText(QPoint(x, y + metrics.ascent()), toQString(text));
    applyPen();
}

void PainterCanvas::setPenColour(PlotColour colour) {
    penColour_ = toQColor(colour);
    applyPen();
}

void PainterCanvas::setPenWidth(int width) {
    penWidth_ = width;
    applyPen();
}

void PainterCanvas::setFontName(const std::string& name) {
    font_.setFamily(toQString(name));
}

void PainterCanvas::setFontSize(int points) {
    if (points > 0)
        font_.setPointSize(points);
}

void PainterCanvas::setFontColour(PlotColour colour) {
    fontColour_ = toQColor(colour);
}

} // namespace camini
