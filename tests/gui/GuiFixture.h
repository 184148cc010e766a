#pragma once

#include "ChoiceList.h"
#include "EditorWindow.h"
#include "GraphWindow.h"
#include "MainWindow.h"
#include "ProgramWindows.h"
#include "ScriptedServices.h"
#include "TextGrid.h"
#include "ViewerWindow.h"
#include "Widgets.h"
#include "engine/Session.h"
#include "plot/PlotState.h"
#include "support/TestSupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QScreen>
#include <gtest/gtest.h>
#include <stdexcept>

namespace camini::test {

// A freshly started program on a data folder of its own (copies of the
// shipped data files), with scripted desktop services.
class GuiFixture : public ::testing::Test {
protected:
    TempDir dir;
    std::unique_ptr<Session> session;
    PlotState plot;
    CurrentGraph currentGraph;
    ScriptedServices services;
    ProgramWindows windows;
    TForm1* form1 = nullptr;
    TForm8* form8 = nullptr;
    TAboutBox* aboutBox = nullptr;
    TForm3* form3 = nullptr;

    void SetUp() override {
        for (const char* name :
             {"materiali.TXT", "stabile1.txt", "sezione1.jpg", "sezione2.jpg", "manuale.html"})
            copyData(name);
        session = std::make_unique<Session>(dir.path());
        windows = createProgramWindows(*session, plot, currentGraph, services, fixedClock());
        form1 = windows.main.get();
        form8 = windows.graph;
        aboutBox = windows.viewer;
        form3 = windows.editor;
        form1->show();
        QApplication::processEvents();
    }

    void TearDown() override {
        form1->hide();
        QApplication::processEvents();
    }

    void copyData(const char* name) {
        writeFile(dir.file(name), readFile(sourceDir() + "/data/" + name));
    }

    static QSize screenSize() { return QApplication::primaryScreen()->geometry().size(); }
};

// A window's control by its component name; the test fails when there is none.
template <class T> T* named(const QWidget& window, const char* name) {
    T* c = window.findChild<T*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
    if (!c)
        throw std::runtime_error(std::string("no control ") + name + " of type " +
                                 T::staticMetaObject.className());
    return c;
}

// A click on an item of a list, as the user picks it (the item scrolled into
// view first).
void clickItem(QListWidget* list, int row);

// Key presses for each character of a text, letters beyond ASCII included.
void typeText(QWidget* w, const QString& text);

// Types into a cell of a grid as a user does: the cell's editor opens, its
// text is replaced by the keys typed, and the editor stays open.
void typeInCell(GridView* grid, int row, int column, const QString& text);

// The names in a folder, sorted.
std::vector<std::string> folderContents(const std::string& folder);

// The texts of a grid view's model, row by row.
std::vector<std::vector<std::string>> gridTexts(QAbstractItemView* view);

// The number of pages of a PDF file as pdfinfo counts them; -1 when it cannot.
inline int pdfPageCount(const std::string& pdf) {
    const RunResult info = runCommand("pdfinfo " + shellQuote(pdf));
    const std::size_t at = info.out.find("Pages:");
    if (info.status != 0 || at == std::string::npos)
        return -1;
    return std::stoi(info.out.substr(at + 6));
}

} // namespace camini::test
