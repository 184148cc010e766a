// The program's message boxes on the test's screen (the names holding
// "At1024" run on a 1024 x 768 one).
#include "GuiFixture.h"
#include "ProgramServices.h"
#include "QtText.h"

#include <QLabel>

using namespace camini;
using namespace camini::test;

namespace {

const QChar zws(0x200B);
const QChar wj(0x2060);

// Breaks after the slashes of a path (absolute, quoted or of two slashes and
// more) and within long runs; the other slashes and the hyphens glued.
TEST(BreakableText, BreaksAtBlanksAfterPathSlashesAndWithinLongRunsOnly) {
    const struct {
        QString text, expected;
    } cases[] = {
        {"non trovato", "non trovato"},
        {"/tmp/a.CAM", QString("/") + zws + "tmp/" + zws + "a.CAM"},
        {"\"/a/b\"", QString("\"/") + zws + "a/" + zws + "b\""},
        {"docs/esempi/a.CAM", QString("docs/") + zws + "esempi/" + zws + "a.CAM"},
        {"(-0.5 mq K/w): W/m", QString("(-0.5 mq K/") + wj + "w): W/" + wj + "m"},
        {"pre-riva / x", QString("pre-") + wj + "riva / x"},
        {QString(5, 'x') + " " + QString(4, 'y'), QString(5, 'x') + " " + QString(4, 'y')},
        {QString(17, 'x'), QString(8, 'x') + zws + QString(8, 'x') + zws + "x"},
        {"xxx " + QString(9, 'x'), "xxx " + QString(8, 'x') + zws + "x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(breakableText(c.text, 8), c.expected) << c.text.toStdString();
}

void expectBoxWithinTheScreen() {
    const std::string path =
        "/home/progettista/" + std::string(300, 'p') + "/camino con un nome molto lungo.CAM";
    const auto box = messageBox(QMessageBox::Critical, "File not found: " + path, QMessageBox::Ok);
    box->show();
    QApplication::processEvents();
    const int screenWidth = QApplication::primaryScreen()->geometry().width();
    EXPECT_LE(box->frameGeometry().width(), screenWidth);
    // The whole text is there, only with places where it may break.
    QString shown = box->text();
    shown.remove(zws);
    EXPECT_EQ(toCp1252(shown), "File not found: " + path);
}

TEST(MessageBox, ALongPathWrapsInsideTheScreen) {
    expectBoxWithinTheScreen();
}

TEST(MessageBox, ALongPathWrapsInsideTheScreenAt1024) {
    ASSERT_EQ(QApplication::primaryScreen()->geometry().width(), 1024);
    expectBoxWithinTheScreen();
}

} // namespace
