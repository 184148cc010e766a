#include "RecordingCanvas.h"

namespace camini {

RecordedPrimitive RecordingCanvas::record(RecordedPrimitive::Kind kind) const {
    RecordedPrimitive p;
    p.kind = kind;
    p.penColour = style_.penColour;
    p.penWidth = style_.penWidth;
    p.fontName = style_.fontName;
    p.fontSize = style_.fontSize;
    p.fontColour = style_.fontColour;
    return p;
}

void RecordingCanvas::segment(RecordedPrimitive::Kind kind, int x, int y) {
    RecordedPrimitive p = record(kind);
    p.x1 = x_;
    p.y1 = y_;
    p.x2 = x;
    p.y2 = y;
    primitives_.push_back(std::move(p));
    x_ = x;
    y_ = y;
}

void RecordingCanvas::moveTo(int x, int y) {
    segment(RecordedPrimitive::Kind::Move, x, y);
}

void RecordingCanvas::lineTo(int x, int y) {
    segment(RecordedPrimitive::Kind::Line, x, y);
}

void RecordingCanvas::ellipse(int x1, int y1, int x2, int y2) {
    RecordedPrimitive p = record(RecordedPrimitive::Kind::Ellipse);
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    primitives_.push_back(std::move(p));
}

void RecordingCanvas::textOut(int x, int y, const std::string& text) {
    RecordedPrimitive p = record(RecordedPrimitive::Kind::Text);
    p.x1 = x;
    p.y1 = y;
    p.text = text;
    primitives_.push_back(std::move(p));
}

std::vector<RecordedPrimitive> RecordingCanvas::primitives(RecordedPrimitive::Kind kind) const {
    std::vector<RecordedPrimitive> out;
    for (const RecordedPrimitive& p : primitives_)
        if (p.kind == kind)
            out.push_back(p);
    return out;
}

} // namespace camini
