#pragma once

#include "common/Clock.h"
#include "engine/WallTable.h"
#include "plot/Graphs.h"

#include <QWidget>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace camini {

struct Session;
class DesktopServices;
class ChoiceList;
class GridView;
class TextGridModel;
class TAboutBox;
class TForm3;
class TForm8;

// The main window: the input screen. Its controls are thin views over the
// session's worksheet, found by their component names (StringGrid1, BitBtn1,
// Memo1 ...); each handler calls one core operation and refreshes.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    TForm1(Session& session, CurrentGraph& currentGraph, DesktopServices& services, Clock clock,
           QWidget* parent = nullptr);
    ~TForm1() override;

    // The other windows, created once by the program.
    void setWindows(TAboutBox* viewer, TForm3* editor, TForm8* graph);

    // The start routine: runs once, at the window's first activation.
    void inizia();
    bool started() const { return started_; }

    // Replaces the section picture by sezione1.jpg or, with "quadrata"
    // ticked, sezione2.jpg from the program's folder.
    void showSectionPicture();

    // Shows the worksheet's state in the controls.
    void refresh();

    // Loads a project file as "Leggi progetto" does after its dialog.
    void openProject(const PathBytes& path);
    // Loads a project once the start routine has run (at once, after the
    // events waiting, when it has): the file named on the command line.
    void openAfterStartUp(const PathBytes& path);

public slots:
    void vai_calcolo();
    void cancella();
    void fileopen();
    void filesave();
    void scegli();
    void sceglimat();
    void vai_condotto();
    void sceltaschermo2();
    void onhelp();
    void sceltaisol(int row);
    void sceglistabile(int row);
    void caricaimmagine();
    void caMBIAmonoparete();
    void vai_archivio();
    void explorer();
    void vai_tabulato();
    void uscita();

protected:
    bool event(QEvent* e) override;
    // "&Uscita" and the close box: with a project changed since it was last
    // loaded or saved, "salvare il progetto?" (Sì, No, Annulla).
    void closeEvent(QCloseEvent* e) override;
    // A .CAM file dropped on the window loads as "Leggi progetto" would.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void openPendingProject();
    // Before the project on screen is replaced or left: with changes since it
    // was last loaded or saved, "salvare il progetto?" (Sì saves first, No
    // goes on, Annulla stops). Whether to go on.
    bool mayReplaceProject();
    // The save dialog, the name rule, the question before replacing a file
    // and the save; whether the project was saved.
    bool saveProjectWithDialog();
    // The results grid and Memo1 in grey while they do not match the inputs.
    void showResultsStanding();
    void showCaption();
    void findControls();
    void bindGrids();
    void bindTexts();
    void applyLayout();
    void openMaterialList(MaterialListMode mode);
    void fitMaterialList();
    void commitEdits();
    void showGraph(GraphProcedure graph, const Cp1252& caption);

    Session& session_;
    CurrentGraph& currentGraph_;
    DesktopServices& services_;
    Clock clock_;
    TAboutBox* viewer_ = nullptr;
    TForm3* editor_ = nullptr;
    TForm8* graph_ = nullptr;

    GridView* StringGrid1 = nullptr;
    GridView* StringGrid2 = nullptr;
    ChoiceList* ListBox1 = nullptr; // the material list
    ChoiceList* ListBox2 = nullptr; // the standard sizes
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QLabel* Image1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    TextGridModel* inputModel_ = nullptr;
    TextGridModel* resultsModel_ = nullptr;
    bool started_ = false;
    PathBytes pendingProject_; // to load after the start routine
    bool refreshing_ = false;
};

} // namespace camini
