#pragma once

#include <QDialog>
#include <QFont>
#include <QStringList>

class QTextEdit;

namespace camini {

struct ViewerDocument;
class DesktopServices;

// The results viewer: a full-screen window showing the viewer document (the
// report or the archive listing), which the user may also edit, print or save
// as RTF. Its controls are found by their component names: RichEdit1 and the
// buttons BitBtn1 ("Uscita"), BitBtn2 ("Stampa"), BitBtn3 ("Su file di testo").
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(ViewerDocument& document, DesktopServices& services, QWidget* parent = nullptr);

    // Shows the document as it now stands.
    void refresh();

    // Lays the window out for the screen: runs at every showing.
    void inizia();

public slots:
    void uscita();
    void vai_stampa();
    void vai_testo();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void storeTyped();
    QStringList documentLines() const;
    // The document's font, or the largest smaller size at which its longest
    // line fits the text box (not below SmallestFontPoints).
    QFont fittedFont() const;
    // Scrolls to the first line of the last report appended.
    void showReportStart();
    ViewerDocument& document_;
    QTextEdit* RichEdit1;
    DesktopServices& services_;
    bool refreshing_ = false;
};

} // namespace camini
