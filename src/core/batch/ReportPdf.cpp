#include "ReportPdf.h"

#include "common/Clock.h"
#include "common/FileError.h"
#include "common/TextFile.h"
#include "engine/RtfWriter.h"
#include "engine/ViewerDocument.h"
#include "plot/PdfCanvas.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <memory>

namespace camini {

namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

int dots(double points) {
    return static_cast<int>(std::floor(points * PdfDotsPerInch / 72.0));
}

// The longest start of `line` (at least one character) that fits `room`.
std::size_t fittingLength(const PdfCanvas& canvas, const std::string& line, int room) {
    std::size_t lo = 1, hi = line.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo + 1) / 2;
        if (canvas.textWidth(line.substr(0, mid)) <= room)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

ReportPages layOut(const ViewerDocument& doc, PdfCanvas& canvas) {
    ReportPages out;
    const int room = canvas.width();
    canvas.setFontName(doc.fontName);
    int size = std::max(doc.fontSize, 1);
    auto widest = [&] {
        int w = 0;
        for (const std::string& p : doc.paragraphs)
            w = std::max(w, canvas.textWidth(p));
        return w;
    };
    for (canvas.setFontSize(size); size > SmallestFittingPoints && widest() > room;)
        canvas.setFontSize(--size);
    out.fontSize = size;

    const auto perPage = std::max<std::size_t>(
        1, static_cast<std::size_t>(std::floor(canvas.height() / canvas.lineHeight())));
    out.pages.emplace_back();
    for (const std::string& paragraph : doc.paragraphs) {
        std::vector<std::string> pieces;
        std::size_t start = 0;
        do {
            const std::string rest = paragraph.substr(start);
            const std::size_t n =
                canvas.textWidth(rest) <= room ? rest.size() : fittingLength(canvas, rest, room);
            pieces.push_back(rest.substr(0, n));
            start += n;
        } while (start < paragraph.size());
        // A line and its pieces go on one page, a new one when they do not
        // fit what is left of this one (and the page holds something).
        if (out.pages.back().size() + pieces.size() > perPage && !out.pages.back().empty())
            out.pages.emplace_back();
        for (std::string& piece : pieces) {
            if (out.pages.back().size() == perPage)
                out.pages.emplace_back(); // a line longer than a whole page
            out.pages.back().push_back(std::move(piece));
        }
    }
    return out;
}

void setMetadata(cairo_surface_t* surface, const PdfMetadata& metadata) {
    if (!metadata.title.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, metadata.title.c_str());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, metadata.creator.c_str());
    if (metadata.created) {
        // ISO 8601 in UTC, as the PDF's metadata take it.
        const std::tm t = utcTime(*metadata.created);
        char date[64];
        std::snprintf(date, sizeof date, "%04d-%02d-%02dT%02d:%02d:%02dZ", t.tm_year + 1900,
                      t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, date);
    }
}

} // namespace

std::string reportPdf(const ViewerDocument& doc, PlotState& plot, const GraphProcedure& graph,
                      Messages& messages, const PdfMetadata& metadata, ReportPages* layout) {
    std::string bytes;
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_pdf_surface_create_for_stream(appendBytes, &bytes, PdfA4Short, PdfA4Long),
        cairo_surface_destroy);
    setMetadata(surface.get(), metadata);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()),
                                                          cairo_destroy);

    // The report on portrait pages.
    ReportPages pages;
    {
        cairo_save(cr.get());
        cairo_translate(cr.get(), PdfMargin, PdfMargin);
        PdfCanvas canvas(cr.get(), dots(PdfA4Short - 2 * PdfMargin),
                         dots(PdfA4Long - 2 * PdfMargin), PdfDotsPerInch);
        pages = layOut(doc, canvas);
        const double step = canvas.lineHeight();
        for (std::size_t p = 0; p < pages.pages.size(); ++p) {
            if (p > 0)
                cairo_show_page(cr.get());
            double y = 0;
            for (const std::string& line : pages.pages[p]) {
                canvas.textOut(0, static_cast<int>(std::lround(y)), line);
                y += step;
            }
        }
        cairo_show_page(cr.get());
    }
    cairo_restore(cr.get());

    // The graph on a landscape page, as on a printer page.
    cairo_pdf_surface_set_size(surface.get(), PdfA4Long, PdfA4Short);
    checkGraph(graph, messages);
    {
        cairo_save(cr.get());
        cairo_translate(cr.get(), PdfMargin, PdfMargin);
        PdfCanvas canvas(cr.get(), dots(PdfA4Long - 2 * PdfMargin),
                         dots(PdfA4Short - 2 * PdfMargin), PdfDotsPerInch);
        drawGraphOn(plot, graph, canvas, PlotDevice::Printer);
    }
    cairo_restore(cr.get());
    cairo_show_page(cr.get());
    cr.reset();
    cairo_surface_finish(surface.get());
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        throw FileError(cairo_status_to_string(cairo_surface_status(surface.get())), "PDF");
    if (layout)
        *layout = std::move(pages);
    return bytes;
}

void saveReportPdf(const ViewerDocument& doc, PlotState& plot, const GraphProcedure& graph,
                   Messages& messages, const PdfMetadata& metadata, const std::string& path) {
    const std::string bytes = reportPdf(doc, plot, graph, messages, metadata);
    replaceFileSafely(path, bytes);
}

} // namespace camini
