#pragma once

#include "engine/Session.h"
#include "plot/PlotState.h"
#include "plot/RecordingCanvas.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace camini::test {

// A plot state whose screen is a recorder, set up as the graph window sets
// it on a screen of the given size and opened.
struct ScreenPlot {
    RecordingCanvas canvas;
    PlotState plot;

    explicit ScreenPlot(int width = 1024, int height = 768) : canvas(width, height) {
        plot.canvas = &canvas;
        plot.windowWidth = static_cast<std::uint16_t>(width);
        plot.windowHeight = static_cast<std::uint16_t>(height);
        PlotOpen(plot);
    }

    std::vector<RecordedPrimitive> of(RecordedPrimitive::Kind kind) const {
        return canvas.primitives(kind);
    }
    std::vector<RecordedPrimitive> lines() const { return of(RecordedPrimitive::Kind::Line); }
    std::vector<RecordedPrimitive> texts() const { return of(RecordedPrimitive::Kind::Text); }
    std::vector<RecordedPrimitive> ellipses() const { return of(RecordedPrimitive::Kind::Ellipse); }

    // The texts written, in order.
    std::vector<std::string> textStrings() const {
        std::vector<std::string> out;
        for (const auto& t : texts())
            out.push_back(t.text);
        return out;
    }

    // The first text with exactly this content, or nullptr.
    const RecordedPrimitive* findText(const std::string& s) const {
        const auto& all = canvas.primitives();
        auto it = std::find_if(all.begin(), all.end(), [&](const RecordedPrimitive& p) {
            return p.kind == RecordedPrimitive::Kind::Text && p.text == s;
        });
        return it == all.end() ? nullptr : &*it;
    }
};

// A plot state whose printer is a recorder with a page of the given size in
// dots, opened on the printer.
struct PrinterPlot {
    RecordingCanvas canvas;
    PlotState plot;

    PrinterPlot(int pageWidth, int pageHeight) : canvas(pageWidth, pageHeight) {
        plot.device = PlotDevice::Printer;
        plot.canvas = &canvas;
        PlotOpen(plot);
    }
};

// The start project solved once with constant conductivities (0.05, 0.5,
// 0.5, 1.0), as the first calculation after program start.
inline void solveStartProject(Session& session) {
    session.archive = constantArchive();
    setStartProject(session.sheet);
    session.input = readChimneyInput(session.sheet);
    session.solver.solveWall(session.input, session.archive);
}

struct SolvedStartProject {
    Session session;
    SolvedStartProject() { solveStartProject(session); }
    const CalcResult& result() const { return session.solver.result(); }
};

} // namespace camini::test
