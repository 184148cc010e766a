#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTextEdit;

namespace camini {

struct ViewerDocument;
class DesktopServices;

// The results viewer: a full-screen window showing the viewer document (the
// report or the archive listing), which the user may also edit, print or save
// as RTF.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(ViewerDocument& document, DesktopServices& services, QWidget* parent = nullptr);

    // Shows the document as it now stands.
    void refresh();

    // Lays the window out for the screen: runs at every showing.
    void inizia();

    QTextEdit* RichEdit1;
    QPushButton* BitBtn1; // "Uscita"
    QPushButton* BitBtn2; // "Stampa"
    QPushButton* BitBtn3; // "Su file di testo"

public slots:
    void uscita();
    void vai_stampa();
    void vai_testo();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void storeTyped();
    QStringList documentLines() const;
    ViewerDocument& document_;
    DesktopServices& services_;
    bool refreshing_ = false;
};

} // namespace camini
