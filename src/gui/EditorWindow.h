#pragma once

#include "materials/ArchiveEditor.h"
#include "materials/MaterialArchive.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace camini {

class DesktopServices;
class GridView;
class TAboutBox;
class TextGridModel;
struct ViewerDocument;

// The materials archive editor: one material at a time, its description and
// six points; the exit buttons store the page and save the archive file. Its
// controls are found by their component names: SpeedButton1 ("Uscita"),
// SpeedButton2 ("Avanti"), SpeedButton3 ("Indietro"), StringGrid1, Edit1,
// Label1, Label2, SpeedButton4 (the second exit) and BitBtn1 ("stampa").
class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3(MaterialArchive& archive, ViewerDocument& viewerDocument, TAboutBox& viewer,
           DesktopServices& services, QWidget* parent = nullptr);

    // The start routine: reloads the archive, shows material 1 and lays the
    // window out. Runs at every opening.
    void inizia();

    int currentMaterial() const { return currentMaterial_; }

public slots:
    void uscita2();
    // Esc and the close box. With changes to the archive in memory or to the
    // page on screen since the opening, asks whether to save them first.
    void reject() override;
    void aumenta();
    void diminuisci();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void bindPage();
    // The page of the current material on screen, and back into the archive
    // (the core's storeEditorPage, with the texts the controls hold).
    void showEditorPage();
    // Whether the page could be stored (a description CP1252 cannot hold is
    // refused with a message).
    bool storeShownPage();
    // The archive listing in the results viewer, shown modally.
    void printArchive();
    void applyLayout();
    void fitTexts();
    // Whether the archive in memory or the page on screen differs from what
    // the opening loaded.
    bool hasUnsavedEdits();

    MaterialArchive& archive_;
    ViewerDocument& viewerDocument_;
    TAboutBox& viewer_;
    DesktopServices& services_;
    GridView* StringGrid1;
    QLineEdit* Edit1;
    QLabel* Label2;
    TextGridModel* model_;
    EditorPage page_;
    std::array<Material, MaxMaterials> loadedMaterials_{};
    int currentMaterial_ = 1;
    bool loaded_ = false;
};

} // namespace camini
