#include "plot/SvgCanvas.h"
#include "PlotFixture.h"
#include "engine/ChimneyInput.h"
#include "engine/Session.h"
#include "plot/GraphSvg.h"
#include "plot/Graphs.h"
#include "support/TestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace camini;
using camini::test::RecordingMessages;
using camini::test::solveStartProject;

namespace {

int count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Width and height of a PNG file from its header, or {-1, -1} when the bytes
// are no PNG.
std::pair<long, long> pngSize(const std::string& bytes) {
    const std::string signature = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 24 || bytes.compare(0, 8, signature) != 0 ||
        bytes.compare(12, 4, "IHDR") != 0)
        return {-1, -1};
    auto be32 = [&](std::size_t at) {
        long v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = v * 256 + static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {be32(16), be32(20)};
}

// Converts an SVG document to PNG with a real renderer; returns the PNG's
// bytes, or nothing when the renderer is not installed. With
// CAMINI_PLOT_PICTURES set, the SVG and PNG are also left in that folder
// under `name` for a person to look at.
std::optional<std::string> renderPng(const std::string& svg, const std::string& name) {
    if (test::runCommand("command -v rsvg-convert").status != 0)
        return std::nullopt;
    test::TempDir dir;
    std::string folder = dir.path();
    if (const char* keep = std::getenv("CAMINI_PLOT_PICTURES"))
        folder = keep;
    const std::string svgPath = folder + "/" + name + ".svg";
    const std::string pngPath = folder + "/" + name + ".png";
    test::writeFile(svgPath, svg);
    test::RunResult r = test::runCommand("rsvg-convert -o " + test::shellQuote(pngPath) + " " +
                                         test::shellQuote(svgPath));
    EXPECT_EQ(r.status, 0) << r.err;
    return test::readFile(pngPath);
}

} // namespace

TEST(SvgCanvas, EmptyDocumentIsAWhitePage) {
    SvgCanvas canvas(300, 200);
    std::string doc = canvas.document();
    EXPECT_EQ(doc.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"", 0), 0u);
    EXPECT_NE(doc.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
    EXPECT_NE(doc.find("width=\"300\" height=\"200\" viewBox=\"0 0 300 200\""), std::string::npos);
    EXPECT_NE(doc.find("<rect x=\"0\" y=\"0\" width=\"300\" height=\"200\" fill=\"#ffffff\"/>"),
              std::string::npos);
    EXPECT_EQ(doc.substr(doc.size() - 7), "</svg>\n");
    EXPECT_EQ(canvas.width(), 300);
    EXPECT_EQ(canvas.height(), 200);
}

TEST(SvgCanvas, JoinedLinesBecomeOnePolyline) {
    SvgCanvas canvas(100, 100);
    canvas.setPenColour({255, 0, 0});
    canvas.setPenWidth(2);
    canvas.moveTo(1, 2);
    canvas.lineTo(3, 4);
    canvas.lineTo(5, 6);
    canvas.moveTo(10, 10); // a new run
    canvas.lineTo(20, 10);
    canvas.setPenColour({0, 0, 255}); // a new pen: a new run
    canvas.lineTo(20, 20);
    std::string doc = canvas.document();
    EXPECT_NE(doc.find("<polyline points=\"1,2 3,4 5,6\" stroke=\"#ff0000\" stroke-width=\"2\"/>"),
              std::string::npos)
        << doc;
    EXPECT_NE(doc.find("<polyline points=\"10,10 20,10\" stroke=\"#ff0000\" stroke-width=\"2\"/>"),
              std::string::npos);
    EXPECT_NE(doc.find("<polyline points=\"20,10 20,20\" stroke=\"#0000ff\" stroke-width=\"2\"/>"),
              std::string::npos);
    EXPECT_EQ(count(doc, "<polyline"), 3);
}

TEST(SvgCanvas, MovesAloneDrawNothing) {
    SvgCanvas canvas(100, 100);
    canvas.moveTo(1, 2);
    canvas.moveTo(3, 4);
    EXPECT_EQ(count(canvas.document(), "<polyline"), 0);
}

TEST(SvgCanvas, EllipseInItsBox) {
    SvgCanvas canvas(100, 100);
    canvas.setPenColour({255, 0, 0});
    canvas.setPenWidth(4);
    canvas.ellipse(7, 591, 13, 585);
    EXPECT_NE(canvas.document().find("<ellipse cx=\"10\" cy=\"588\" rx=\"3\" ry=\"3\" "
                                     "fill=\"#ffffff\" stroke=\"#ff0000\" stroke-width=\"4\"/>"),
              std::string::npos)
        << canvas.document();
    SvgCanvas odd(100, 100);
    odd.ellipse(0, 0, 9, 5);
    EXPECT_NE(odd.document().find("cx=\"4.5\" cy=\"2.5\" rx=\"4.5\" ry=\"2.5\""),
              std::string::npos);
}

// A text's top left corner is the top of its character cell: the baseline
// lies the face's ascent below it. 14 points are 18.67 pixels at 96 dpi.
TEST(SvgCanvas, TextWithItsFont) {
    SvgCanvas canvas(100, 100);
    canvas.setFontName("times new roman");
    canvas.setFontSize(14);
    canvas.setFontColour({0, 0, 255});
    canvas.textOut(229, 677, " 100");
    EXPECT_NE(canvas.document().find("<text x=\"229\" y=\"693.63\" font-family=\"times new roman, "
                                     "serif\" font-size=\"18.67\" fill=\"#0000ff\" "
                                     "xml:space=\"preserve\"> 100</text>"),
              std::string::npos)
        << canvas.document();
}

TEST(SvgCanvas, TextIsEscapedUtf8) {
    SvgCanvas canvas(100, 100);
    canvas.textOut(0, 0,
                   "T <\xB0"
                   "C> & \"\xE8\"\x01");
    EXPECT_NE(canvas.document().find(">T &lt;\xC2\xB0"
                                     "C&gt; &amp; &quot;\xC3\xA8&quot;?</text>"),
              std::string::npos)
        << canvas.document();
}

TEST(GraphSvg, ProfileGraphAsTheWindowShowsIt) {
    Session session;
    solveStartProject(session);
    PlotState plot;
    RecordingMessages messages;
    std::string svg = graphSvg(plot, makeProfileGraph(session), profileGraphCaption(), messages);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(plot.windowWidth, 1024);
    EXPECT_EQ(plot.windowHeight, 768);
    EXPECT_EQ(plot.devWidth, 1014);
    EXPECT_EQ(plot.devHeight, 688);
    EXPECT_EQ(plot.canvas, nullptr); // given back
    EXPECT_EQ(plot.device, PlotDevice::Screen);
    EXPECT_NE(svg.find("width=\"1024\" height=\"768\""), std::string::npos);
    EXPECT_EQ(count(svg, "<ellipse"), 8);
    EXPECT_EQ(count(svg, "stroke=\"#ff0000\" stroke-width=\"2\"/>"), 8 + 7);
    EXPECT_NE(svg.find("xml:space=\"preserve\"> isolante</text>"), std::string::npos);
    EXPECT_NE(svg.find("xml:space=\"preserve\"> asola tecnica</text>"), std::string::npos);
    EXPECT_NE(svg.find("xml:space=\"preserve\">  232</text>"), std::string::npos);
    EXPECT_NE(svg.find("font-family=\"times new roman, serif\""), std::string::npos);
    EXPECT_EQ(svg.find("nan"), std::string::npos);
    EXPECT_EQ(svg.find("inf"), std::string::npos);
}

TEST(GraphSvg, OtherScreenSizes) {
    Session session;
    solveStartProject(session);
    PlotState plot;
    RecordingMessages messages;
    std::string svg =
        graphSvg(plot, makeProfileGraph(session), profileGraphCaption(), messages, 1366, 768);
    EXPECT_NE(svg.find("width=\"1366\" height=\"768\""), std::string::npos);
    EXPECT_EQ(plot.devWidth, 1356);
}

TEST(GraphSvg, KeepsTheCallersCanvas) {
    Session session;
    solveStartProject(session);
    SvgCanvas own(10, 10);
    PlotState plot;
    plot.canvas = &own;
    plot.device = PlotDevice::Printer;
    RecordingMessages messages;
    graphSvg(plot, makeProfileGraph(session), profileGraphCaption(), messages);
    EXPECT_EQ(plot.canvas, &own);
    EXPECT_EQ(plot.device, PlotDevice::Printer);
}

TEST(GraphSvg, OnePointMaterialGivesItsMessageAndAnEmptyPage) {
    Session session;
    setStartProject(session.sheet);
    test::setMaterial(session.archive, 7, "un punto", {{100, 0.05}});
    session.sheet.graphMaterial = 7;
    PlotState plot;
    RecordingMessages messages;
    std::string svg =
        graphSvg(plot, makeConductivityGraph(session), conductivityGraphCaption(session), messages);
    EXPECT_EQ(
        messages.messages,
        std::vector<std::string>{"con un solo punto in archivio non \xE8 possibile il grafico!"});
    EXPECT_EQ(count(svg, "<polyline"), 0);
    EXPECT_EQ(count(svg, "<text"), 0);
    EXPECT_EQ(count(svg, "<ellipse"), 0);
}

TEST(GraphSvg, ConductivityCurveIsOneBluePolylineFourWide) {
    Session session;
    setStartProject(session.sheet);
    test::setMaterial(session.archive, 7, "lana", {{20, 0.04}, {600, 0.12}});
    session.sheet.graphMaterial = 7;
    PlotState plot;
    RecordingMessages messages;
    std::string svg =
        graphSvg(plot, makeConductivityGraph(session), conductivityGraphCaption(session), messages);
    EXPECT_EQ(count(svg, "stroke=\"#0000ff\" stroke-width=\"4\"/>"), 1);
    EXPECT_NE(svg.find("> [lambda]</text>"), std::string::npos);
    EXPECT_NE(svg.find(">    0.11</text>"), std::string::npos);
}

// The documents open in a real renderer.
TEST(GraphSvg, RendersToPng) {
    Session session;
    solveStartProject(session);
    test::setMaterial(session.archive, 7, "lana", {{20, 0.04}, {300, 0.06}, {600, 0.05}});
    session.sheet.graphMaterial = 7;
    PlotState plot;
    RecordingMessages messages;
    const std::pair<std::string, std::string> graphs[] = {
        {"profile", graphSvg(plot, makeProfileGraph(session), profileGraphCaption(), messages)},
        {"conductivity", graphSvg(plot, makeConductivityGraph(session),
                                  conductivityGraphCaption(session), messages)},
    };
    for (const auto& [name, svg] : graphs) {
        std::optional<std::string> png = renderPng(svg, name);
        if (!png)
            GTEST_SKIP() << "rsvg-convert is not installed";
        EXPECT_EQ(pngSize(*png), (std::pair<long, long>{1024, 768})) << name;
    }
}

// Each SVG says what it shows: its title names the graph (and the
// conductivity graph's material), its description the axes and their units,
// before the drawing; a graph without a drawing still says so.
TEST(GraphSvg, TitleAndDescriptionOfEveryGraph) {
    Session session;
    solveStartProject(session);
    test::setMaterial(session.archive, 7, "lana <100 kg/m3>", {{20, 0.04}, {600, 0.12}});
    test::setMaterial(session.archive, 8, "un punto", {{100, 0.05}});
    struct Case {
        GraphProcedure graph;
        bool conductivity;
        int material;
        const char* head;
    };
    const Case cases[] = {
        {makeProfileGraph(session), false, 7,
         "<title>profilo di temperatura nella parete</title>\n"
         "<desc>asse X: distanza dalla superficie interna della parete [mm]; asse T: "
         "temperatura [\xC2\xB0"
         "C]</desc>\n<rect "},
        {makeConductivityGraph(session), true, 7,
         "<title>conducibilit\xC3\xA0 termica di lana &lt;100 kg/m3&gt;</title>\n"
         "<desc>asse temp: temperatura [\xC2\xB0"
         "C]; asse [lambda]: conducibilit\xC3\xA0 termica [W/m K]</desc>\n<rect "},
        {makeConductivityGraph(session), true, 8,
         "<title>conducibilit\xC3\xA0 termica di un punto</title>\n<desc>asse temp: "},
    };
    for (const Case& c : cases) {
        session.sheet.graphMaterial = static_cast<std::uint8_t>(c.material);
        const GraphCaption caption =
            c.conductivity ? conductivityGraphCaption(session) : profileGraphCaption();
        PlotState plot;
        RecordingMessages messages;
        const std::string svg = graphSvg(plot, c.graph, caption, messages);
        const std::size_t head = svg.find("<title>");
        ASSERT_NE(head, std::string::npos) << c.head;
        EXPECT_EQ(svg.substr(head, std::string(c.head).size()), c.head);
        EXPECT_EQ(svg.find(">\n", svg.find("<svg")) + 2, head); // the svg element's first
    }
}
