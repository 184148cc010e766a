// The graph window on a 1024 x 768 screen (the test names hold "At1024",
// which runs them on that screen).
#include "GuiFixture.h"
#include "QtText.h"
#include "plot/RecordingCanvas.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

using namespace camini;
using namespace camini::test;

namespace {

using Kind = RecordedPrimitive::Kind;

QColor toQColor(PlotColour c) {
    return QColor(c.r, c.g, c.b);
}

// The primitives a graph gives on the window's screen, recorded with the pen
// and font the window sets before drawing.
std::vector<RecordedPrimitive> recordOnScreen(const GraphProcedure& graph, int width, int height) {
    RecordingCanvas canvas(width, height);
    canvas.setFontName("TIMES NEW ROMAN");
    canvas.setFontSize(8);
    canvas.setPenWidth(2);
    PlotState plot;
    plot.canvas = &canvas;
    plot.windowWidth = static_cast<std::uint16_t>(width);
    plot.windowHeight = static_cast<std::uint16_t>(height);
    DrawGraph(plot, graph);
    // The window draws the graph that far down.
    std::vector<RecordedPrimitive> primitives = canvas.primitives();
    const int top = TForm8::drawingTop(false, height);
    for (auto& p : primitives) {
        p.y1 += top;
        p.y2 += top;
    }
    return primitives;
}

// True when a pixel within `reach` of (x, y) has the colour.
bool colourNear(const QImage& image, int x, int y, QColor colour, int reach = 1) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            const QPoint p(x + dx, y + dy);
            if (image.rect().contains(p) && image.pixelColor(p) == colour)
                return true;
        }
    return false;
}

int countColour(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixelColor(x, y) == colour;
    return n;
}

QImage picture(QWidget& w) {
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class Graph : public GuiFixture {
protected:
    // "&Calcola" (then, when given, the flue gas temperature changed), then
    // "&risultati a video": the viewer is closed at once and `script` acts on
    // the graph window that follows.
    void showProfileGraph(std::function<void(TForm8&)> script, const char* flueGasAfter = nullptr) {
        named<QPushButton>(*form1, "BitBtn1")->click();
        if (flueGasAfter) {
            session->sheet.input(InputRow::FlueGasTemp) = flueGasAfter;
            form1->refresh();
        }
        services.modalScripts.push_back([](QDialog&) {});
        services.modalScripts.push_back(
            [script = std::move(script)](QDialog& w) { script(static_cast<TForm8&>(w)); });
        named<QPushButton>(*form1, "BitBtn15")->click();
    }

    // "&Grafico lambda materiali", then material m in the list.
    void showConductivityGraph(int m, std::function<void(TForm8&)> script) {
        services.modalScripts.push_back(
            [script = std::move(script)](QDialog& w) { script(static_cast<TForm8&>(w)); });
        named<QPushButton>(*form1, "BitBtn11")->click();
        clickItem(named<ChoiceList>(*form1, "ListBox1"), m - 1);
    }
};

TEST_F(Graph, CoversTheScreenAndPlacesItsButtonsAt1024) {
    ASSERT_EQ(screenSize(), QSize(1024, 768));
    QPoint corner;
    QSize size;
    QRect continua, stampa;
    bool buttonsVisible = false;
    showProfileGraph([&](TForm8& w) {
        w.repaint();
        corner = w.frameGeometry().topLeft();
        size = w.size();
        continua = named<QPushButton>(w, "Button1")->geometry();
        stampa = named<QPushButton>(w, "BitBtn2")->geometry();
        buttonsVisible = named<QPushButton>(w, "Button1")->isVisible() &&
                         named<QPushButton>(w, "BitBtn2")->isVisible();
    });
    EXPECT_EQ(services.modalWindows, (std::vector<QString>{"AboutBox", "Form8"}));
    EXPECT_EQ(corner, QPoint(0, 0));
    EXPECT_EQ(size, QSize(1024, 768));
    EXPECT_EQ(plot.windowWidth, 1024);
    EXPECT_EQ(plot.windowHeight, 768);
    EXPECT_EQ(plot.devWidth, 1014);
    EXPECT_EQ(plot.devHeight, 688);
    EXPECT_EQ(continua, QRect(224, 700, 145, 33));
    EXPECT_EQ(stampa, QRect(392, 700, 129, 33));
    EXPECT_TRUE(buttonsVisible);
    EXPECT_EQ(named<QPushButton>(*form8, "Button1")->text(), "continua");
    EXPECT_EQ(named<QPushButton>(*form8, "BitBtn2")->text(), "STAMPA");
    // A dialog-style window with a fixed border.
    EXPECT_FALSE(form8->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form8->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form8->minimumSize(), form8->maximumSize());
    EXPECT_EQ(plot.device, PlotDevice::Screen);
}

TEST_F(Graph, ContinuaClosesTheWindowAt1024) {
    bool closed = false;
    showProfileGraph([&](TForm8& w) {
        named<QPushButton>(w, "Button1")->click();
        closed = !w.isVisible();
    });
    EXPECT_TRUE(closed);
}

TEST_F(Graph, ProfileGraphAfterTheViewerHasAnEmptyCaptionAt1024) {
    QString caption = "unset";
    bool viewerClosed = false;
    showProfileGraph([&](TForm8& w) {
        caption = w.windowTitle();
        viewerClosed = !aboutBox->isVisible();
    });
    EXPECT_TRUE(caption.isEmpty());
    EXPECT_TRUE(viewerClosed);
    EXPECT_TRUE(services.messages.empty());
}

TEST_F(Graph, ConductivityGraphOfAChosenMaterialAt1024) {
    QString caption;
    QImage image;
    showConductivityGraph(7, [&](TForm8& w) {
        caption = w.windowTitle();
        image = picture(w);
    });
    EXPECT_EQ(services.modalWindows, std::vector<QString>{"Form8"});
    EXPECT_EQ(toCp1252(caption), "silicato di calcio 170 kg/m3");
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(session->sheet.graphMaterial, 7);
    // Drawing it made material 7 the insulation, as Memo2 now says.
    EXPECT_EQ(session->sheet.material(MaterialSlot::Insulation), 7);
    const QStringList memo2 = named<QPlainTextEdit>(*form1, "Memo2")->toPlainText().split('\n');
    ASSERT_GE(memo2.size(), 2);
    EXPECT_EQ(memo2[0], "-->Isolante");
    EXPECT_EQ(toCp1252(memo2[1]), "silicato di calcio 170 kg/m3");
    EXPECT_FALSE(named<ChoiceList>(*form1, "ListBox1")->isVisible());
    // The blue curve is on the window.
    EXPECT_GT(countColour(image, QColor(0, 0, 255)), 500);
}

// A material that gives no curve: its message, and no graph window, each
// time it is chosen; the material stays out of the insulation.
TEST_F(Graph, OnePointMaterialGivesItsMessageAndNoWindowAt1024) {
    const std::string one = "con un solo punto in archivio non \xE8 possibile il grafico!";
    const std::string none = "senza punti in archivio non \xE8 possibile il grafico!";
    const std::pair<int, std::vector<std::string>> choices[] = {
        {13, {one}}, {13, {one, one}}, {60, {one, one, none}}};
    for (const auto& [material, messages] : choices) {
        showConductivityGraph(material, [](TForm8&) { ADD_FAILURE() << "a graph window"; });
        services.modalScripts.clear();
        EXPECT_TRUE(services.modalWindows.empty());
        EXPECT_EQ(services.messages, messages);
        EXPECT_EQ(session->sheet.material(MaterialSlot::Insulation), 5);
    }
}

TEST_F(Graph, ThePainterDrawsWhatTheRecorderRecordsAt1024) {
    QImage image, again;
    showProfileGraph([&](TForm8& w) {
        image = picture(w);
        w.repaint();
        again = picture(w);
    });
    ASSERT_EQ(image.size(), QSize(1024, 768));
    EXPECT_EQ(image, again); // every paint draws the same picture

    const std::vector<RecordedPrimitive> recorded = recordOnScreen(currentGraph, 1024, 768);
    // The eight red circles: the top of each outline is red.
    int circles = 0;
    for (const auto& p : recorded) {
        if (p.kind != Kind::Ellipse)
            continue;
        ++circles;
        const int cx = (p.x1 + p.x2) / 2;
        const int top = std::min(p.y1, p.y2);
        const int left = std::min(p.x1, p.x2);
        const int cy = (p.y1 + p.y2) / 2;
        EXPECT_EQ(toQColor(p.penColour), QColor(Qt::red));
        EXPECT_TRUE(colourNear(image, cx, top, Qt::red)) << cx << "," << top;
        EXPECT_TRUE(colourNear(image, left, cy, Qt::red)) << left << "," << cy;
        // Inside the outline, left of the centre, the circle is painted white.
        EXPECT_EQ(image.pixelColor(left + 3, cy - 3), QColor(Qt::white)) << left << "," << cy;
    }
    EXPECT_EQ(circles, 8);
    // The x axis: a black line along row 668 (664 of the plot, 4 rows down), drawn as recorded.
    bool axis = false;
    for (const auto& p : recorded) {
        if (p.kind != Kind::Line || p.y1 != 668 || p.y2 != 668 || std::abs(p.x2 - p.x1) < 100)
            continue;
        axis = true;
        EXPECT_EQ(toQColor(p.penColour), QColor(Qt::black));
        for (int x = std::min(p.x1, p.x2) + 5; x < std::max(p.x1, p.x2) - 5; x += 7)
            EXPECT_TRUE(colourNear(image, x, 668, Qt::black, 0) ||
                        colourNear(image, x, 669, Qt::black, 0))
                << x;
    }
    EXPECT_TRUE(axis);
    // Every line's middle has its pen's colour, give or take a pixel, unless
    // a circle (painted white inside) covers it.
    auto underACircle = [&](int x, int y) {
        return std::any_of(recorded.begin(), recorded.end(), [&](const RecordedPrimitive& c) {
            return c.kind == Kind::Ellipse && x >= std::min(c.x1, c.x2) - 1 &&
                   x <= std::max(c.x1, c.x2) + 1 && y >= std::min(c.y1, c.y2) - 1 &&
                   y <= std::max(c.y1, c.y2) + 1;
        });
    };
    int lines = 0, matched = 0;
    for (const auto& p : recorded) {
        const int x = (p.x1 + p.x2) / 2;
        const int y = (p.y1 + p.y2) / 2;
        if (p.kind != Kind::Line || underACircle(x, y))
            continue;
        ++lines;
        const bool drawn = colourNear(image, x, y, toQColor(p.penColour));
        EXPECT_TRUE(drawn) << p.x1 << "," << p.y1 << " to " << p.x2 << "," << p.y2;
        matched += drawn;
    }
    EXPECT_GT(lines, 20);
    EXPECT_EQ(matched, lines);
    // The texts are written in black with their top left corner where the
    // recorder has it: the layer name "isolante" stands alone, and its ink
    // starts right of and below that corner, within a few pixels.
    int names = 0;
    for (const auto& p : recorded) {
        if (p.kind != Kind::Text || p.text.find("isolante") == std::string::npos)
            continue;
        ++names;
        EXPECT_EQ(p.fontName, "times new roman");
        int top = 10000, left = 10000, ink = 0;
        for (int y = p.y1 - 10; y < p.y1 + 30; ++y)
            for (int x = p.x1 - 10; x < p.x1 + 80; ++x)
                if (image.pixelColor(x, y) == QColor(Qt::black)) {
                    ++ink;
                    top = std::min(top, y);
                    left = std::min(left, x);
                }
        EXPECT_GT(ink, 30) << p.text;
        EXPECT_GE(top, p.y1);
        EXPECT_LE(top, p.y1 + 6);
        EXPECT_GE(left, p.x1);
        EXPECT_LE(left, p.x1 + 8); // behind the blank PlotText puts in front
    }
    EXPECT_EQ(names, 1);
    // Below the x axis's labels only the buttons are drawn.
    EXPECT_EQ(countColour(image.copy(0, 700, 200, 68), Qt::white), 200 * 68);
}

TEST_F(Graph, TheConductivityCurveIsWhereTheRecorderPutsItAt1024) {
    QImage image;
    showConductivityGraph(5, [&](TForm8& w) { image = picture(w); });
    const std::vector<RecordedPrimitive> recorded = recordOnScreen(currentGraph, 1024, 768);
    int blue = 0, matched = 0;
    for (const auto& p : recorded) {
        if (p.kind != Kind::Line || toQColor(p.penColour) != QColor(Qt::blue))
            continue;
        ++blue;
        EXPECT_EQ(p.penWidth, 4);
        matched += colourNear(image, (p.x1 + p.x2) / 2, (p.y1 + p.y2) / 2, Qt::blue);
    }
    EXPECT_GT(blue, 100);
    EXPECT_EQ(matched, blue);
}

TEST_F(Graph, StampaTwicePrintsTwoIdenticalPagesAndLeavesTheScreenAloneAt1024) {
    services.pdfPath = QString::fromStdString(dir.file("grafico.pdf"));
    QImage before, after;
    PlotDevice deviceAfter = PlotDevice::Printer;
    showProfileGraph([&](TForm8& w) {
        before = picture(w);
        named<QPushButton>(w, "BitBtn2")->click();
        named<QPushButton>(w, "BitBtn2")->click();
        deviceAfter = plot.device;
        after = picture(w);
    });
    EXPECT_TRUE(services.errors.empty());
    EXPECT_TRUE(services.messages.empty());
    EXPECT_EQ(deviceAfter, PlotDevice::Screen);
    EXPECT_EQ(plot.device, PlotDevice::Screen);
    EXPECT_EQ(before, after);
    EXPECT_EQ(plot.devWidth, 1014); // the screen's values again at the next paint
    const std::string first = dir.file("grafico.pdf");
    const std::string second = dir.file("grafico.pdf1");
    ASSERT_TRUE(std::filesystem::exists(first));
    ASSERT_TRUE(std::filesystem::exists(second));
    for (const std::string& pdf : {first, second}) {
        EXPECT_EQ(pdfPageCount(pdf), 1) << pdf;
        const RunResult info = runCommand("pdfinfo " + shellQuote(pdf));
        EXPECT_NE(info.out.find("Title:           \n"), std::string::npos) << info.out;
        const RunResult r =
            runCommand("pdftoppm -r 50 -png " + shellQuote(pdf) + " " + shellQuote(pdf));
        ASSERT_EQ(r.status, 0) << r.err;
    }
    const QImage page1(QString::fromStdString(first + "-1.png"));
    const QImage page2(QString::fromStdString(second + "-1.png"));
    ASSERT_FALSE(page1.isNull());
    ASSERT_EQ(page1, page2);
    EXPECT_EQ(readFile(first + "-1.png"), readFile(second + "-1.png"));
    // The page holds the graph: red circles and lines, black axes and texts.
    const QImage rgb = page1.convertToFormat(QImage::Format_RGB32);
    int red = 0, dark = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QColor c = rgb.pixelColor(x, y);
            red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            dark += c.red() < 60 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_GT(red, 50);
    EXPECT_GT(dark, 200);
    const RunResult text = runCommand("pdftotext " + shellQuote(first) + " -");
    for (const char* word : {"isolante", "camera aria", "asola tecnica", "230"})
        EXPECT_NE(text.out.find(word), std::string::npos) << word << "\n" << text.out;
}

TEST_F(Graph, RestoredFromMinimisedTheWindowIsNotShownAnewAt1024) {
    std::size_t restored = 0;
    QImage before, after;
    // (A one-point material opens no window now; a drawable one's window
    // restored says nothing and is not shown anew.)
    showConductivityGraph(7, [&](TForm8& w) {
        w.setWindowState(Qt::WindowMinimized);
        QApplication::processEvents();
        w.setWindowState(Qt::WindowNoState);
        QApplication::processEvents();
        restored = services.messages.size() + services.modalWindows.size();
    });
    EXPECT_EQ(restored, 1u);
    showProfileGraph([&](TForm8& w) {
        before = picture(w);
        w.setWindowState(Qt::WindowMinimized);
        QApplication::processEvents();
        w.setWindowState(Qt::WindowNoState);
        QApplication::processEvents();
        after = picture(w);
    });
    EXPECT_EQ(before, after);
}

TEST_F(Graph, APrinterThatRefusesTheDocumentIsReportedAt1024) {
    services.pdfPath = QString::fromStdString(dir.file("manca/grafico.pdf"));
    QImage before, after;
    showProfileGraph([&](TForm8& w) {
        before = picture(w);
        named<QPushButton>(w, "BitBtn2")->click();
        after = picture(w);
        EXPECT_TRUE(w.isVisible());
    });
    ASSERT_EQ(services.errors.size(), 1u);
    EXPECT_FALSE(services.errors[0].empty());
    EXPECT_EQ(plot.device, PlotDevice::Screen);
    EXPECT_EQ(before, after);
}

// Without a printer the box offers a PDF file: Si and a name write the graph
// there on one page, No or a cancelled dialog print nothing.
TEST_F(Graph, StampaWithoutAPrinterOffersAPdfFileAt1024) {
    using A = DesktopServices::Answer;
    const struct {
        A answer;
        std::optional<std::string> name; // the save dialog's answer
        const char* written;             // the file written, if any
    } cases[] = {{A::No, std::nullopt, nullptr},
                 {A::Yes, std::nullopt, nullptr},
                 {A::Yes, "profilo", "profilo.pdf"},
                 {A::Yes, "grafico.PDF", "grafico.PDF"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.value_or("-"));
        services.questions.clear();
        services.answers = {c.answer};
        services.saveAnswers = {c.name ? std::optional(dir.file(*c.name)) : std::nullopt};
        bool open = false;
        showProfileGraph([&](TForm8& w) {
            named<QPushButton>(w, "BitBtn2")->click();
            open = w.isVisible();
        });
        EXPECT_EQ(services.questions,
                  std::vector<std::string>{
                      "nessuna stampante installata\nsalvare la stampa in un file PDF?"});
        EXPECT_TRUE(open);
        EXPECT_EQ(plot.device, PlotDevice::Screen);
        if (c.written) {
            EXPECT_EQ(pdfPageCount(dir.file(c.written)), 1);
            const RunResult text =
                runCommand("pdftotext " + shellQuote(dir.file(c.written)) + " -");
            EXPECT_NE(text.out.find("asola tecnica"), std::string::npos) << text.out;
        }
    }
    EXPECT_EQ(
        folderContents(dir.path()),
        (std::vector<std::string>{"grafico.PDF", "manuale.html", "materiali.TXT", "profilo.pdf",
                                  "sezione1.jpg", "sezione2.jpg", "stabile1.txt"}));
    EXPECT_TRUE(services.errors.empty());
}

TEST_F(Graph, ReopenedTheGraphIsDrawnAnewFromTheCurrentDataAt1024) {
    QImage first, second;
    showProfileGraph([&](TForm8& w) { first = picture(w); });
    session->sheet.input(InputRow::FlueGasTemp) = "400"; // flue gas temperature
    showProfileGraph([&](TForm8& w) { second = picture(w); });
    EXPECT_NE(first, second);
    const std::vector<RecordedPrimitive> recorded = recordOnScreen(currentGraph, 1024, 768);
    for (const auto& p : recorded) {
        if (p.kind == Kind::Ellipse) {
            EXPECT_TRUE(colourNear(second, (p.x1 + p.x2) / 2, std::min(p.y1, p.y2), Qt::red));
        }
    }
}

// The title line names the conductivity graph's material and says when the
// profile graph draws results that no longer match the inputs, right of the
// buttons on the screen and at the top of the page; the y axis' arrow head
// lies whole below the window's top edge.
TEST_F(Graph, TitleLinesOnTheScreenAndOnPaperAt1024) {
    services.pdfPath = QString::fromStdString(dir.file("titolo.pdf"));
    const struct {
        int material;             // 0: the profile after "Calcola"
        const char* flueGasAfter; // typed after "Calcola"
        const char* title;        // UTF-8
    } cases[] = {
        {7, nullptr, "conducibilit\xC3\xA0 termica di silicato di calcio 170 kg/m3"},
        {0, nullptr, "profilo di temperatura nella parete"},
        {0, "300", "profilo di temperatura nella parete - risultati non aggiornati"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        QString title;
        QImage image;
        const auto look = [&](TForm8& w) {
            title = w.titleLine();
            image = picture(w);
            named<QPushButton>(w, "BitBtn2")->click();
        };
        if (c.material)
            showConductivityGraph(c.material, look);
        else
            showProfileGraph(look, c.flueGasAfter);
        EXPECT_EQ(title, QString::fromUtf8(c.title));
        // Written right of "STAMPA" (which ends at 521), in the buttons' row;
        // nothing on the top two rows, the arrow head's tip below them.
        EXPECT_GT(countColour(image.copy(541, 700, 483, 33), Qt::black), 50);
        EXPECT_EQ(countColour(image.copy(0, 0, 1024, 2), Qt::white), 2 * 1024);
        const std::string pdf = services.printer_->outputFileName().toStdString();
        const RunResult text = runCommand("pdftotext -layout " + shellQuote(pdf) + " -");
        ASSERT_EQ(text.status, 0);
        EXPECT_EQ(text.out.substr(0, text.out.find('\n')), c.title) << text.out;
    }
    EXPECT_TRUE(services.errors.empty());
}
