#pragma once

#include "mainwindow/Layouts.h"

#include <QPushButton>
#include <QRect>
#include <QStyle>

namespace camini {

// A control's place from the core's layout arithmetic.
inline QRect toQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width, r.height);
}

// A button of the windows: its component name, caption (UTF-8, "&" marks the
// accelerator) and small picture. It never reacts to Enter as a default
// button would: Enter belongs to the grids and lists.
inline QPushButton* makeButton(QWidget* parent, const char* name, const char* caption,
                               QStyle::StandardPixmap glyph) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(name);
    b->setIcon(parent->style()->standardIcon(glyph));
    b->setAutoDefault(false);
    return b;
}

} // namespace camini
