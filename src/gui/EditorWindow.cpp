#include "EditorWindow.h"

#include "DesktopServices.h"
#include "QtText.h"
#include "TextGrid.h"
#include "ViewerWindow.h"
#include "Widgets.h"
#include "engine/ViewerDocument.h"
#include "forms/Layouts.h"
#include "materials/MaterialArchive.h"

#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QTimer>
#include <algorithm>

namespace camini {

namespace {

const std::array<Cp1252, 3> headings = {
    "progressivo", "temperatura[" + Cp1252(DegreesCelsius) + "]", "lambda[w/m K]"};
const std::array<Cp1252, 1 + MaxPoints> pointNumbers = {"", "1", "2", "3", "4", "5", "6"};

using Control = ControlSpec<TForm3, EditorLayout>;
using E = EditorLayout;
using Table = ControlTable<TForm3, EditorLayout>;
constexpr int EditorPoints = 18;
constexpr FontRule big{.family = "verdana", .points = EditorPoints};
// A cell's or a text box's room less its frame and margins.
constexpr int CellPadding = 12;

// In reading order: the points, the description, the status line, then the
// buttons below.
const std::array<Control, 9> controls = {{
    {.name = "StringGrid1",
     .kind = ControlKind::Grid,
     .place = &E::stringGrid1,
     .font = {.points = EditorPoints}},
    {.name = "Label1",
     .kind = ControlKind::Label,
     .caption = "descrizione",
     .place = &E::label1,
     .font = big},
    {.name = "Edit1", .kind = ControlKind::LineEdit, .place = &E::edit1, .font = big},
    {.name = "Label2", .kind = ControlKind::Label, .place = &E::label2, .font = big},
    Table::button("SpeedButton1", "Uscita", QStyle::SP_DialogSaveButton, &TForm3::uscita2,
                  &E::speedButton1, big),
    Table::button("SpeedButton2", "Avanti", QStyle::SP_ArrowForward, &TForm3::aumenta,
                  &E::speedButton2, big),
    Table::button("SpeedButton3", "Indietro", QStyle::SP_ArrowBack, &TForm3::diminuisci,
                  &E::speedButton3, big),
    Table::button("BitBtn1", "stampa", QStyle::SP_FileDialogDetailedView, &TForm3::BitBtn1Click,
                  &E::bitBtn1, big),
    Table::button("SpeedButton4", nullptr, QStyle::SP_DialogSaveButton, &TForm3::uscita2,
                  &E::speedButton4, {}, "Uscita"),
}};

} // namespace

TForm3::TForm3(MaterialArchive& archive, ViewerDocument& viewerDocument, TAboutBox& viewer,
               DesktopServices& services, QWidget* parent)
    : QDialog(parent), archive_(archive), viewerDocument_(viewerDocument), viewer_(viewer),
      services_(services) {
    setObjectName("Form3");
    setWindowTitle(QStringLiteral("memorizzazione archivio materiali"));
    setModal(true);
    QFont windowFont(QStringLiteral("Tahoma"));
    windowFont.setPixelSize(10);
    setFont(windowFont);
    createControls(this, controls);
    StringGrid1 = control<GridView>(this, "StringGrid1");
    Edit1 = control<QLineEdit>(this, "Edit1");
    Label2 = control<QLabel>(this, "Label2");
    // The second exit keeps its design place, which the grid covers on most
    // screens: it lies beneath the grid, so that a click on a cell reaches
    // the cell, and only its uncovered part takes clicks.
    control<QWidget>(this, "SpeedButton4")->stackUnder(StringGrid1);
    bindPage();
}

void TForm3::bindPage() {
    model_ = new TextGridModel(
        {.rows = 1 + MaxPoints, .columns = 3, .fixedRows = 1, .fixedColumns = 1},
        [this](int r, int c) -> const Cp1252& {
            if (r == 0)
                return headings[static_cast<std::size_t>(c)];
            if (c == 0)
                return pointNumbers[static_cast<std::size_t>(r)];
            return page_.cells[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)];
        },
        [this](int r, int c, Cp1252 t) {
            page_.cells[static_cast<std::size_t>(r - 1)][static_cast<std::size_t>(c - 1)] =
                std::move(t);
        },
        this);
    StringGrid1->setModel(model_);
    StringGrid1->setEditable(true);
    connect(Edit1, &QLineEdit::textEdited, this,
            [this](const QString& t) { page_.description = toCp1252(t); });
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
    const QSize screen = screenSizeOf(this);
    const EditorLayout l = editorLayout(screen.width(), screen.height());
    setGeometry(toQRect(l.window));
    placeControls(this, controls, l);
    StringGrid1->setSizes(l.columnWidth, {}, l.rowHeight);
    fitTexts();
}

// The grid, the status line and the description take their size, or the
// largest smaller one at which their texts fit: on a small screen the cells
// and boxes shrink with it, and a cut heading or number would be misread.
void TForm3::fitTexts() {
    const auto fit = [](QWidget* w, const QStringList& texts, int room) {
        QFont f = w->font();
        f.setPointSize(fittingPointSize(f, EditorPoints, texts, room));
        w->setFont(f);
    };
    QStringList cells;
    for (const auto& h : headings)
        cells << toQString(h);
    for (const auto& row : page_.cells)
        for (const auto& c : row)
            cells << toQString(c);
    fit(StringGrid1, cells, StringGrid1->columnWidth(1) - CellPadding);
    // The status line's box runs past the right edge of a narrow screen.
    fit(Label2, {toQString(page_.status)},
        std::min(Label2->width(), width() - Label2->x() - CellPadding));
    fit(Edit1, {toQString(page_.description)}, Edit1->width() - CellPadding);
}

void TForm3::inizia() {
    loaded_ = runFileOperation(services_, [this] { archive_.load(); });
    if (!loaded_) {
        // Without the file's contents the editor would save what memory
        // holds over it: close without touching anything.
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    if (const Cp1252 misread = joinWarnings(archive_.misreadNumbers()); !misread.empty())
        services_.message(misread);
    loadedMaterials_ = archive_.allMaterials();
    currentMaterial_ = 1;
    showEditorPage();
    applyLayout();
}

void TForm3::showEditorPage() {
    page_ = editorPageOf(archive_, currentMaterial_);
    model_->refresh();
    Edit1->setText(toQString(page_.description));
    Label2->setText(toQString(page_.status));
    fitTexts();
}

bool TForm3::storeShownPage() {
    StringGrid1->commitEdit();
    // The archive file holds CP1252 text: a description it cannot hold is
    // refused, and the page stays on screen to be mended.
    if (const Cp1252 outside = charactersOutsideCp1252(Edit1->text()); !outside.empty()) {
        services_.error("la descrizione contiene caratteri che il file non pu\xF2 contenere: " +
                        outside);
        return false;
    }
    page_.description = toCp1252(Edit1->text());
    storeEditorPage(archive_, currentMaterial_, page_, services_);
    return true;
}

void TForm3::aumenta() {
    if (!storeShownPage())
        return;
    currentMaterial_ = nextMaterial(currentMaterial_);
    showEditorPage();
}

void TForm3::diminuisci() {
    if (!storeShownPage())
        return;
    currentMaterial_ = previousMaterial(currentMaterial_);
    showEditorPage();
}

void TForm3::uscita2() {
    if (!loaded_ || !storeShownPage())
        return;
    if (runFileOperation(services_, [this] { archive_.save(); }))
        accept(); // a failed save leaves the window open
}

bool TForm3::hasUnsavedEdits() {
    StringGrid1->commitEdit();
    const EditorPage stored = editorPageOf(archive_, currentMaterial_);
    return archive_.allMaterials() != loadedMaterials_ || page_.cells != stored.cells ||
           toCp1252(Edit1->text()) != stored.description;
}

void TForm3::reject() {
    if (!loaded_ || !isVisible() || !hasUnsavedEdits()) {
        QDialog::reject();
        return;
    }
    switch (services_.ask("salvare le modifiche all'archivio dei materiali?", true)) {
    case DesktopServices::Answer::Yes:
        uscita2(); // stays open when the save fails
        break;
    case DesktopServices::Answer::No:
        // No keeps nothing: the pages stored by "Avanti" and "Indietro" go
        // too, and the archive in memory is the one the opening loaded.
        for (int m = 1; m <= MaxMaterials; ++m)
            archive_.material(m) = loadedMaterials_[static_cast<std::size_t>(m - 1)];
        QDialog::reject();
        break;
    case DesktopServices::Answer::Cancel:
        break;
    }
}

void TForm3::printArchive() {
    viewerDocument_.showListing(archiveListing(archive_));
    viewer_.refresh();
    services_.showModal(viewer_);
}

void TForm3::BitBtn1Click() {
    printArchive();
}

} // namespace camini
