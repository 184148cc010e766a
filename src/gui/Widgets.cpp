#include "Widgets.h"

#include "DesktopServices.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace camini {

int fittingPointSize(QFont font, int points, const QStringList& texts, qreal room,
                     QPaintDevice* device) {
    for (; points > 6; --points) {
        font.setPointSize(points);
        const QFontMetricsF fm = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
        if (std::all_of(texts.begin(), texts.end(),
                        [&](const QString& t) { return fm.horizontalAdvance(t) <= room; }))
            break;
    }
    return points;
}

QPrinter* printerForJob(DesktopServices& services) {
    QPrinter* printer = services.printer();
    if (!printer) {
        services.error("nessuna stampante installata");
        return nullptr;
    }
    printer->setDocName("");
    printer->setFullPage(false);
    return printer;
}

bool beginJob(DesktopServices& services, QPrinter& printer, QPainter& painter, QSize& page) {
    if (!painter.begin(&printer)) {
        services.error("stampa non riuscita");
        return false;
    }
    page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    return true;
}

} // namespace camini
