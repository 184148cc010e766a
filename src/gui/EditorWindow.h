#pragma once

#include "materials/ArchiveEditor.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace camini {

class DesktopServices;
class GridView;
class MaterialArchive;
class TAboutBox;
class TextGridModel;
struct ViewerDocument;

// The materials archive editor: one material at a time, its description and
// six points; the exit buttons store the page and save the archive file.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    TForm3(MaterialArchive& archive, ViewerDocument& viewerDocument, TAboutBox& viewer,
           DesktopServices& services, QWidget* parent = nullptr);

    // The start routine: reloads the archive, shows material 1 and lays the
    // window out. Runs at every opening.
    void inizia();

    int currentMaterial() const { return currentMaterial_; }

    QPushButton* SpeedButton1; // "Uscita"
    QPushButton* SpeedButton2; // "Avanti"
    QPushButton* SpeedButton3; // "Indietro"
    GridView* StringGrid1;
    QLineEdit* Edit1;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* SpeedButton4; // second exit, picture only
    QPushButton* BitBtn1;      // "stampa"

public slots:
    void uscita2();
    void aumenta();
    void diminuisci();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void showPage();
    void storePage();
    void applyLayout();

    MaterialArchive& archive_;
    ViewerDocument& viewerDocument_;
    TAboutBox& viewer_;
    DesktopServices& services_;
    TextGridModel* model_;
    EditorPage page_;
    int currentMaterial_ = 1;
    bool loaded_ = false;
};

} // namespace camini
