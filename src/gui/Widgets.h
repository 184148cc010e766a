#pragma once

#include "forms/Layouts.h"

#include <QFont>
#include <QPushButton>
#include <QRect>
#include <QStringList>
#include <QStyle>

class QPainter;
class QPaintDevice;
class QPrinter;

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

// The largest point size, from `points` down to 7, at which every text fits
// in `room` (units of `device`: the screen's pixels when none is given).
int fittingPointSize(QFont font, int points, const QStringList& texts, qreal room,
                     QPaintDevice* device = nullptr);

class DesktopServices;

// The printer for one job with an empty title, drawing on the printable
// area (no margins added); nothing, after "nessuna stampante installata" in
// the error box, when no printer is installed.
QPrinter* printerForJob(DesktopServices& services);

// Starts the job on `painter` and gives the page's printable size in dots;
// false, after the error box, when the printer refuses the document.
bool beginJob(DesktopServices& services, QPrinter& printer, QPainter& painter, QSize& page);

} // namespace camini
