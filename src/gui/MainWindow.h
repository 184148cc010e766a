#pragma once

#include "common/Clock.h"
#include "plot/Graphs.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

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
// session's worksheet; each handler calls one core operation and refreshes.
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

    // The controls, under their component names.
    GridView* StringGrid1;
    QPushButton *BitBtn6, *BitBtn7, *BitBtn9, *BitBtn16, *BitBtn8;
    QLabel* Label2;
    ChoiceList* ListBox2;
    QCheckBox *CheckBox2, *CheckBox3, *CheckBox4;
    QLabel* Image1;
    ChoiceList* ListBox1;
    QPlainTextEdit* Memo1;
    QPlainTextEdit* Memo2;
    QLabel* Label3;
    QLineEdit* Edit1;
    GridView* StringGrid2;
    QPushButton *BitBtn1, *BitBtn5, *BitBtn3, *BitBtn4, *BitBtn11, *BitBtn13, *BitBtn15, *BitBtn2;

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

protected:
    bool event(QEvent* e) override;

private:
    void applyLayout();
    void openMaterialList(int mode);
    void commitEdits();
    void showGraph(GraphProcedure graph, const std::string& caption);

    Session& session_;
    CurrentGraph& currentGraph_;
    DesktopServices& services_;
    Clock clock_;
    TAboutBox* viewer_ = nullptr;
    TForm3* editor_ = nullptr;
    TForm8* graph_ = nullptr;
    TextGridModel* inputModel_;
    TextGridModel* resultsModel_;
    bool started_ = false;
    bool refreshing_ = false;
};

} // namespace camini
