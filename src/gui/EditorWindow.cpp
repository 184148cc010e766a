#include "EditorWindow.h"

#include "DesktopServices.h"
#include "QtText.h"
#include "TextGrid.h"
#include "ViewerWindow.h"
#include "Widgets.h"
#include "common/FileError.h"
#include "forms/Layouts.h"
#include "forms/MainActions.h"
#include "materials/MaterialArchive.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>

namespace camini {

namespace {

const std::array<std::string, 3> headings = {"progressivo",
                                             "temperatura[\xB0"
                                             "C]",
                                             "lambda[w/m K]"};
const std::array<std::string, 7> pointNumbers = {"", "1", "2", "3", "4", "5", "6"};

} // namespace

TForm3::TForm3(MaterialArchive& archive, ViewerDocument& viewerDocument, TAboutBox& viewer,
               DesktopServices& services, QWidget* parent)
    : QDialog(parent), archive_(archive), viewerDocument_(viewerDocument), viewer_(viewer),
      services_(services) {
    setObjectName("Form3");
    setWindowTitle("memorizzazione archivio materiali");
    setModal(true);
    QFont windowFont("Tahoma");
    windowFont.setPixelSize(10);
    setFont(windowFont);

    auto button = [this](const char* name, const char* caption, QStyle::StandardPixmap glyph) {
        return makeButton(this, name, caption, glyph);
    };
    SpeedButton1 = button("SpeedButton1", "Uscita", QStyle::SP_DialogSaveButton);
    SpeedButton2 = button("SpeedButton2", "Avanti", QStyle::SP_ArrowForward);
    SpeedButton3 = button("SpeedButton3", "Indietro", QStyle::SP_ArrowBack);
    BitBtn1 = button("BitBtn1", "stampa", QStyle::SP_FileDialogDetailedView);
    SpeedButton4 = button("SpeedButton4", "", QStyle::SP_DialogSaveButton);
    SpeedButton4->setToolTip("Uscita");

    StringGrid1 = new GridView(this);
    StringGrid1->setObjectName("StringGrid1");
    model_ = new TextGridModel(
        7, 3, 1, 1,
        [this](int r, int c) -> const std::string& {
            if (r == 0)
                return headings[static_cast<std::size_t>(c)];
            if (c == 0)
                return pointNumbers[static_cast<std::size_t>(r)];
            return page_.cells[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)];
        },
        [this](int r, int c, std::string t) {
            page_.cells[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)] =
                std::move(t);
        },
        this);
    StringGrid1->setModel(model_);
    StringGrid1->setEditable(true);

    Label1 = new QLabel("descrizione", this);
    Label1->setObjectName("Label1");
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    connect(Edit1, &QLineEdit::textEdited, this,
            [this](const QString& t) { page_.description = cp(t); });

    connect(SpeedButton1, &QPushButton::clicked, this, &TForm3::uscita2);
    connect(SpeedButton4, &QPushButton::clicked, this, &TForm3::uscita2);
    connect(SpeedButton2, &QPushButton::clicked, this, &TForm3::aumenta);
    connect(SpeedButton3, &QPushButton::clicked, this, &TForm3::diminuisci);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm3::BitBtn1Click);
}

void TForm3::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // The start routine belongs to the opening. A window restored from
    // minimised gets a spontaneous show event from the platform: that is no
    // opening, and reloading then would throw away the page and the edits
    // made so far.
    if (!e->spontaneous())
        inizia();
}

void TForm3::applyLayout() {
    const QScreen* s = screen() ? screen() : QApplication::primaryScreen();
    const EditorLayout l = editorLayout(s->geometry().width(), s->geometry().height());
    setGeometry(toQRect(l.window));
    SpeedButton1->setGeometry(toQRect(l.speedButton1));
    SpeedButton2->setGeometry(toQRect(l.speedButton2));
    SpeedButton3->setGeometry(toQRect(l.speedButton3));
    BitBtn1->setGeometry(toQRect(l.bitBtn1));
    StringGrid1->setGeometry(toQRect(l.stringGrid1));
    QFont gridFont = StringGrid1->font();
    gridFont.setPointSize(18);
    StringGrid1->setFont(gridFont);
    StringGrid1->setSizes(l.columnWidth, {}, l.rowHeight);
    Label1->setGeometry(toQRect(l.label1));
    Label2->setGeometry(toQRect(l.label2));
    Edit1->setGeometry(toQRect(l.edit1));
    SpeedButton4->setGeometry(toQRect(l.speedButton4));
    QFont big("verdana");
    big.setPointSize(18);
    for (QWidget* w : std::initializer_list<QWidget*>{SpeedButton1, SpeedButton2, SpeedButton3,
                                                      BitBtn1, Label1, Label2, Edit1})
        w->setFont(big);
}

void TForm3::inizia() {
    loaded_ = false;
    try {
        archive_.load();
    } catch (const FileError& e) {
        services_.error(fileErrorText(e));
        // Without the file's contents the editor would save what memory
        // holds over it: close without touching anything.
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    loaded_ = true;
    currentMaterial_ = 1;
    showPage();
    applyLayout();
}

void TForm3::showPage() {
    page_ = showEditorPage(archive_, currentMaterial_);
    model_->refresh();
    Edit1->setText(qs(page_.description));
    Label2->setText(qs(page_.status));
}

void TForm3::storePage() {
    StringGrid1->commitEdit();
    page_.description = cp(Edit1->text());
    storeEditorPage(archive_, currentMaterial_, page_, services_);
}

void TForm3::aumenta() {
    storePage();
    currentMaterial_ = nextMaterial(currentMaterial_);
    showPage();
}

void TForm3::diminuisci() {
    storePage();
    currentMaterial_ = previousMaterial(currentMaterial_);
    showPage();
}

void TForm3::uscita2() {
    if (!loaded_)
        return;
    storePage();
    try {
        archive_.save();
    } catch (const FileError& e) {
        services_.error(fileErrorText(e));
        return; // the window stays open
    }
    accept();
}

void TForm3::BitBtn1Click() {
    printArchive(archive_, viewerDocument_);
    viewer_.refresh();
    services_.showModal(viewer_);
}

} // namespace camini
