#include "MainWindow.h"

#include "ChoiceList.h"
#include "DesktopServices.h"
#include "EditorWindow.h"
#include "GraphWindow.h"
#include "QtText.h"
#include "SectionPicture.h"
#include "TextGrid.h"
#include "ViewerWindow.h"
#include "Widgets.h"
#include "common/ExecutableFolder.h"
#include "common/Version.h"
#include "engine/Calculation.h"
#include "engine/Report.h"
#include "engine/Session.h"
#include "forms/Layouts.h"
#include "forms/MainActions.h"
#include "forms/ProjectFile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace camini {

namespace {

const char* const windowCaption = "Calcolo termico della parete del camino";

using Control = ControlSpec<TForm1, MainWindowLayout>;
using L = MainWindowLayout;
using S = QStyle;
using Table = ControlTable<TForm1, MainWindowLayout>;
constexpr FontRule layerFont{.family = "verdana", .points = 10, .fitCaption = true};
constexpr FontRule actionFont{.family = "verdana", .points = 11, .fitCaption = true};
constexpr FontRule bigActionFont{.family = "verdana", .points = 14, .fitCaption = true};
constexpr FontRule boxFont{.family = "verdana", .points = 12};

// The controls in reading order, which is also the order of the Tab key. The
// grids and Memo1 take fonts fitted to their texts (applyLayout).
const std::array<Control, 26> controls = {{
    {.name = "StringGrid1", .kind = ControlKind::Grid, .place = &L::stringGrid1},
    Table::button("BitBtn6", "isolante", S::SP_ArrowRight, &TForm1::scegli, &L::bitBtn6, layerFont,
                  "scelta isolante camino"),
    Table::button("BitBtn7", "asola tecnica", S::SP_ArrowRight, &TForm1::sceglimat, &L::bitBtn7,
                  layerFont, "scelta materiale schermo"),
    Table::button("BitBtn9", "schermo 1", S::SP_ArrowRight, &TForm1::vai_condotto, &L::bitBtn9,
                  layerFont, "materiale esterno"),
    Table::button("BitBtn16", "schermo 2", S::SP_ArrowRight, &TForm1::sceltaschermo2, &L::bitBtn16,
                  layerFont),
    Table::button("BitBtn8", "materiali", S::SP_FileDialogDetailedView, &TForm1::vai_archivio,
                  &L::bitBtn8, layerFont, "archivio materiali "),
    {.name = "Label2",
     .kind = ControlKind::Label,
     .caption = "sezione",
     .place = &L::label2,
     .font = boxFont,
     .colour = "blue"},
    {.name = "ListBox2",
     .kind = ControlKind::List,
     .place = &L::listBox2,
     .font = {.family = "verdana", .points = 10}},
    {.name = "CheckBox2",
     .kind = ControlKind::CheckBox,
     .caption = "quadrata",
     .handler = &TForm1::caricaimmagine,
     .place = &L::checkBox2,
     .font = boxFont},
    {.name = "CheckBox3",
     .kind = ControlKind::CheckBox,
     .caption = "Monoparete",
     .handler = &TForm1::caMBIAmonoparete,
     .place = &L::checkBox3,
     .font = boxFont},
    {.name = "CheckBox4",
     .kind = ControlKind::CheckBox,
     .caption = "D>=200",
     .place = &L::checkBox4,
     .font = boxFont},
    {.name = "Image1", .kind = ControlKind::Picture, .place = &L::image1},
    {.name = "ListBox1", .kind = ControlKind::List, .place = &L::listBox1, .font = boxFont},
    {.name = "Memo1", .kind = ControlKind::Memo, .place = &L::memo1},
    {.name = "Memo2", .kind = ControlKind::Memo, .place = &L::memo2, .font = boxFont},
    {.name = "Label3",
     .kind = ControlKind::Label,
     .caption = "titolo progetto",
     .place = &L::label3,
     .font = {.family = "courier new"},
     .pointsFrom = &L::titleFontSize},
    {.name = "Edit1",
     .kind = ControlKind::LineEdit,
     .place = &L::edit1,
     .font = {.family = "verdana"},
     .pointsFrom = &L::titleFontSize},
    {.name = "StringGrid2", .kind = ControlKind::Grid, .place = &L::stringGrid2},
    Table::button("BitBtn1", "&Calcola", S::SP_MediaPlay, &TForm1::vai_calcolo, &L::bitBtn1,
                  actionFont),
    Table::button("BitBtn5", "C&ancella", S::SP_DialogResetButton, &TForm1::cancella, &L::bitBtn5,
                  actionFont),
    Table::button("BitBtn3", "&Leggi progetto", S::SP_DialogOpenButton, &TForm1::fileopen,
                  &L::bitBtn3, actionFont),
    Table::button("BitBtn4", "&Salva progetto", S::SP_DialogSaveButton, &TForm1::filesave,
                  &L::bitBtn4, actionFont),
    Table::button("BitBtn11", "&Grafico lambda materiali", S::SP_FileDialogContentsView,
                  &TForm1::onhelp, &L::bitBtn11, actionFont),
    Table::button("BitBtn13", "S&ito autore", S::SP_DialogHelpButton, &TForm1::explorer,
                  &L::bitBtn13, actionFont),
    Table::button("BitBtn15", "&risultati a video", S::SP_FileDialogInfoView, &TForm1::vai_tabulato,
                  &L::bitBtn15, bigActionFont),
    Table::button("BitBtn2", "&Uscita", S::SP_DialogCloseButton, &TForm1::uscita, &L::bitBtn2,
                  bigActionFont),
}};

// The font at the given size, or smaller where some text would not fit in
// its room: on small screens the grids' cells and the fire-resistance box
// shrink with the screen while the sizes stay those of a large one, and a
// number cut at a cell's edge would be misread.
int fittingPoints(const char* family, int points, const QStringList& texts, int room) {
    return fittingPointSize(namedFont(family, points), points, texts, room);
}

std::vector<std::string> memoLines(const QPlainTextEdit* memo) {
    const QString text = memo->toPlainText();
    std::vector<std::string> lines;
    if (text.isEmpty())
        return lines;
    for (const QString& l : text.split(QLatin1Char('\n')))
        lines.push_back(toCp1252(l));
    return lines;
}

void showMemo(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    QStringList l;
    for (const auto& s : lines)
        l << toQString(s);
    const QString text = l.join(QLatin1Char('\n'));
    if (memo->toPlainText() != text)
        memo->setPlainText(text);
}

} // namespace

TForm1::TForm1(Session& session, CurrentGraph& currentGraph, DesktopServices& services, Clock clock,
               QWidget* parent)
    : QWidget(parent), session_(session), currentGraph_(currentGraph), services_(services),
      clock_(std::move(clock)) {
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8(windowCaption));
    setAcceptDrops(true);
    createControls(this, controls);
    findControls();
    // The button that opens the manual names the program and its version.
    control<QPushButton>(this, "BitBtn13")
        ->setToolTip(QString::fromStdString(versionLine("Camini") + " - manuale d'uso"));
    bindGrids();
    bindTexts();
}

void TForm1::findControls() {
    StringGrid1 = control<GridView>(this, "StringGrid1");
    StringGrid2 = control<GridView>(this, "StringGrid2");
    ListBox1 = control<ChoiceList>(this, "ListBox1");
    ListBox2 = control<ChoiceList>(this, "ListBox2");
    CheckBox2 = control<QCheckBox>(this, "CheckBox2");
    CheckBox3 = control<QCheckBox>(this, "CheckBox3");
    CheckBox4 = control<QCheckBox>(this, "CheckBox4");
    Image1 = control<QLabel>(this, "Image1");
    Memo1 = control<QPlainTextEdit>(this, "Memo1");
    Memo2 = control<QPlainTextEdit>(this, "Memo2");
    Label3 = control<QLabel>(this, "Label3");
    Edit1 = control<QLineEdit>(this, "Edit1");
    ListBox1->hide();
}

// The two grids over the worksheet's texts.
void TForm1::bindGrids() {
    Worksheet& sheet = session_.sheet;
    inputModel_ = new TextGridModel(
        {.rows = InputRows, .columns = 2, .fixedRows = 0, .fixedColumns = 1},
        [&sheet](int r, int c) -> const Cp1252& {
            return c == 0 ? inputLabel(inputRowAt(r)) : sheet.input(inputRowAt(r));
        },
        [this](int r, int, Cp1252 t) {
            session_.sheet.input(inputRowAt(r)) = std::move(t);
            showResultsStanding();
        },
        this);
    StringGrid1->setModel(inputModel_);
    StringGrid1->setEditable(true);
    StringGrid1->setEnterMovesDown(true);
    resultsModel_ = new TextGridModel(
        {.rows = ResultRows, .columns = ResultCols, .fixedRows = 1, .fixedColumns = 1},
        [&sheet](int r, int c) -> const Cp1252& {
            return sheet.results[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        },
        nullptr, this);
    StringGrid2->setModel(resultsModel_);
    StringGrid2->setEditable(false);
    StringGrid2->setStarsForLongNumbers();
    ListBox1->setChoosesOnMove(false);
    connect(ListBox1, &ChoiceList::chosen, this, &TForm1::sceltaisol);
    connect(ListBox1, &ChoiceList::dismissed, this, [this] {
        closeMaterialList(session_.sheet);
        refresh();
        StringGrid1->setFocus();
    });
    connect(ListBox2, &ChoiceList::chosen, this, &TForm1::sceglistabile);
}

// The title, the memos and "D>=200" write what the user changes into the
// worksheet.
void TForm1::bindTexts() {
    connect(CheckBox4, &QCheckBox::toggled, this, [this](bool ticked) {
        session_.sheet.raiseSmallDiameter = ticked;
        showResultsStanding();
    });
    connect(Edit1, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (refreshing_)
            return;
        session_.sheet.projectTitle = toCp1252(t);
        showResultsStanding();
    });
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        if (!refreshing_)
            session_.sheet.fireResistanceLines = memoLines(Memo1);
    });
    connect(Memo2, &QPlainTextEdit::textChanged, this, [this] {
        if (!refreshing_)
            session_.sheet.materialChoiceLines = memoLines(Memo2);
    });
}

TForm1::~TForm1() = default;

void TForm1::setWindows(TAboutBox* viewer, TForm3* editor, TForm8* graph) {
    viewer_ = viewer;
    editor_ = editor;
    graph_ = graph;
}

bool TForm1::event(QEvent* e) {
    // The start routine runs at the first activation (or the first showing,
    // where the platform activates no window).
    if (!started_ && (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show)) {
        started_ = true;
        inizia();
        // A project named on the command line loads once the window shows
        // the start-up's state.
        if (!pendingProject_.empty())
            QTimer::singleShot(0, this, &TForm1::openPendingProject);
    }
    return QWidget::event(e);
}

void TForm1::applyLayout() {
    const QSize screen = screenSizeOf(this);
    const MainWindowLayout l = mainWindowLayout(screen.width(), screen.height());
    // The window's outer corner at the screen's, its size the screen's.
    move(l.window.left, l.window.top);
    resize(l.window.width, l.window.height);
    placeControls(this, controls, l);

    // Both grids share one fixed-pitch font: the longest label in the input
    // grid's first column and a number of 8 characters in a results cell
    // must fit.
    QStringList labels;
    for (const InputRowSpec& spec : inputRowTable)
        labels << toQString(spec.label);
    const int points = std::min(
        {fittingPoints("courier new", 14, labels, l.inputLabelWidth - 6),
         fittingPoints("courier new", 14, {toQString(resultRowName(OuterFilmRow))},
                       l.resultLabelWidth - 6),
         fittingPoints("courier new", 14, {QStringLiteral("00000000")}, l.resultColumnWidth - 6)});
    for (GridView* grid : {StringGrid1, StringGrid2})
        grid->setFont(namedFont("courier new", points));
    StringGrid1->setSizes(l.inputColumnWidth, {l.inputLabelWidth}, l.rowHeight);
    StringGrid2->setSizes(l.resultColumnWidth, {l.resultLabelWidth}, l.rowHeight);

    Memo1->setFont(namedFont(
        "courier new",
        fittingPoints("courier new", 12,
                      {QStringLiteral("temp per resistenza al fuoco(est)= 1800.0\u00B0C")},
                      l.memo1.width - 12 - Memo1->verticalScrollBar()->sizeHint().width())));
    // A label grows to show its whole caption, as far as the screen's edge.
    Label3->resize(std::min(std::max(Label3->width(), Label3->sizeHint().width()),
                            l.window.right() - Label3->x()),
                   Label3->height());
}

void TForm1::inizia() {
    startUp(session_, services_);
    applyLayout();
    showSectionPicture();
    ListBox1->clear();
    ListBox2->setItems(sizeListItems(session_.sizes));
    refresh();
    // Typing goes at once into the first value: "310 Enter 21 Enter".
    StringGrid1->setCurrentIndex(inputModel_->index(0, 1));
    StringGrid1->setFocus(Qt::OtherFocusReason);
}

void TForm1::showSectionPicture() {
    const std::string path = joinPath(
        session_.dataFolder, session_.sheet.squareSection ? "sezione2.jpg" : "sezione1.jpg");
    runFileOperation(services_,
                     [&] { Image1->setPixmap(QPixmap::fromImage(loadJpegImage(path))); });
}

void TForm1::refresh() {
    const Worksheet& sheet = session_.sheet;
    refreshing_ = true;
    inputModel_->refresh();
    resultsModel_->refresh();
    showMemo(Memo1, sheet.fireResistanceLines);
    showMemo(Memo2, sheet.materialChoiceLines);
    if (Edit1->text() != toQString(sheet.projectTitle))
        Edit1->setText(toQString(sheet.projectTitle));
    {
        const QSignalBlocker b2(CheckBox2), b3(CheckBox3), b4(CheckBox4);
        CheckBox2->setChecked(sheet.squareSection);
        CheckBox3->setChecked(sheet.singleWall);
        CheckBox4->setChecked(sheet.raiseSmallDiameter);
    }
    ListBox1->setVisible(sheet.materialListVisible);
    Image1->setVisible(sheet.pictureVisible);
    showResultsStanding();
    refreshing_ = false;
}

void TForm1::showCaption() {
    // The fixed title line, then the project file's name once one is loaded
    // or saved, with "*" while the project has changed since.
    QString caption = QString::fromUtf8(windowCaption);
    if (!session_.projectPath.empty()) {
        caption += QStringLiteral(" - ") + QFileInfo(displayPath(session_.projectPath)).fileName();
        if (projectChanged(session_))
            caption += QLatin1Char('*');
    }
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void TForm1::showResultsStanding() {
    showCaption();
    const bool current = resultsCurrent(session_);
    showAsCurrent(StringGrid2, current);
    showAsCurrent(Memo1, current);
}

void TForm1::closeEvent(QCloseEvent* e) {
    if (mayReplaceProject())
        e->accept();
    else
        e->ignore();
}

void TForm1::commitEdits() {
    StringGrid1->commitEdit();
}

void TForm1::vai_calcolo() {
    commitEdits();
    calculate(session_, services_);
    refresh();
    if (viewer_)
        viewer_->refresh();
}

void TForm1::cancella() {
    commitEdits();
    if (services_.ask("cancellare i valori di tutte le righe?", false) !=
        DesktopServices::Answer::Yes)
        return;
    clearInputsAndResults(session_.sheet);
    refresh();
}

bool TForm1::mayReplaceProject() {
    commitEdits();
    if (!projectChanged(session_))
        return true;
    switch (services_.ask("salvare il progetto?", true)) {
    case DesktopServices::Answer::Yes:
        return saveProjectWithDialog();
    case DesktopServices::Answer::No:
        return true;
    case DesktopServices::Answer::Cancel:
        break;
    }
    return false;
}

void TForm1::fileopen() {
    if (!mayReplaceProject())
        return;
    auto path = services_.openFile(QStringLiteral("Leggi progetto"),
                                   QStringLiteral("files CAMINI (*.cam *.CAM)"),
                                   displayPath(session_.projectFolder));
    if (path)
        openProject(nativePath(*path));
}

void TForm1::openProject(const PathBytes& path) {
    commitEdits();
    // The messages of the load (a refused material number) come once the
    // window shows what was loaded.
    struct Deferred : Messages {
        std::vector<std::string> texts;
        void message(const std::string& t) override { texts.push_back(t); }
        void error(const std::string& t) override { texts.push_back(t); }
    } deferred;
    if (!runFileOperation(services_, [&] { loadSessionProject(session_, path, deferred); }))
        return;
    refresh();
    showSectionPicture();
    for (const auto& t : deferred.texts)
        services_.message(t);
}

void TForm1::openAfterStartUp(const PathBytes& path) {
    pendingProject_ = path;
    if (started_)
        QTimer::singleShot(0, this, &TForm1::openPendingProject);
}

void TForm1::openPendingProject() {
    if (pendingProject_.empty())
        return;
    const std::string path = std::exchange(pendingProject_, {});
    if (mayReplaceProject())
        openProject(path);
}

namespace {

// The project file among dragged data: one local file named *.cam.
std::optional<std::string> draggedProject(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return std::nullopt;
    const QUrl url = data->urls().first();
    if (!url.isLocalFile() ||
        !url.toLocalFile().endsWith(QLatin1String(".cam"), Qt::CaseInsensitive))
        return std::nullopt;
    return nativePath(url.toLocalFile());
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent* e) {
    if (draggedProject(e->mimeData()))
        e->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* e) {
    const auto path = draggedProject(e->mimeData());
    if (!path)
        return;
    e->acceptProposedAction();
    // Loaded after the drop ends, so that the file manager is not kept
    // waiting by a message box.
    pendingProject_ = *path;
    QTimer::singleShot(0, this, &TForm1::openPendingProject);
}

void TForm1::filesave() {
    commitEdits();
    saveProjectWithDialog();
}

bool TForm1::saveProjectWithDialog() {
    // The project file holds CP1252 text: a title it cannot hold is refused
    // rather than written with '?' in place of its characters.
    if (const Cp1252 outside = charactersOutsideCp1252(Edit1->text()); !outside.empty()) {
        services_.error("il titolo contiene caratteri che il file non pu\xF2 contenere: " +
                        outside + "; il progetto non \xE8 stato salvato");
        return false;
    }
    auto chosen =
        services_.saveFile(QStringLiteral("Salva progetto"), QStringLiteral("files CAMINI (*.CAM)"),
                           displayPath(session_.projectFolder),
                           toQString(proposedProjectName(session_.sheet.projectTitle)));
    if (!chosen)
        return false;
    const std::string path = projectFileName(nativePath(*chosen));
    const bool saved = confirmReplace(services_, path) &&
                       runFileOperation(services_, [&] { saveSessionProject(session_, path); });
    showCaption();
    return saved;
}

void TForm1::openMaterialList(MaterialListMode mode) {
    // The list opens on the material the layer (or the graph) has now.
    const LayerSpec* layer = layerFor(mode);
    const int current = layer && layer->material ? session_.sheet.material(*layer->material)
                                                 : session_.sheet.graphMaterial;
    ListBox1->setItems(camini::openMaterialList(session_.sheet, session_.archive, mode),
                       current - 1);
    fitMaterialList();
    refresh();
    ListBox1->setFocus();
}

void TForm1::fitMaterialList() {
    // The list grows over the picture it replaces as far as its longest
    // description needs, and where even that room would cut one it takes a
    // smaller font: descriptions that differ only at their end ("mattone
    // refrattario (argilla refrattaria)") must be told apart.
    const QSize screen = screenSizeOf(this);
    const MainWindowLayout l = mainWindowLayout(screen.width(), screen.height());
    const Rect picture = clippedTo(l.image1, l.window);
    const int frame = 2 * ListBox1->frameWidth() +
                      ListBox1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr,
                                                     ListBox1->verticalScrollBar());
    const int textMargins = 2 * (ListBox1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    QStringList texts;
    for (int i = 0; i < ListBox1->count(); ++i)
        texts << ListBox1->item(i)->text();
    const int room = std::max(l.listBox1.width, picture.width);
    ListBox1->setFont(namedFont(boxFont.family, fittingPoints(boxFont.family, boxFont.points, texts,
                                                              room - frame - textMargins)));
    ListBox1->resize(std::clamp(ListBox1->sizeHintForColumn(0) + frame, l.listBox1.width, room),
                     l.listBox1.height);
}

void TForm1::scegli() {
    openMaterialList(MaterialListMode::Insulation);
}
void TForm1::sceglimat() {
    openMaterialList(MaterialListMode::TechnicalGap);
}
void TForm1::vai_condotto() {
    openMaterialList(MaterialListMode::Screen1);
}
void TForm1::sceltaschermo2() {
    openMaterialList(MaterialListMode::Screen2);
}
void TForm1::onhelp() {
    openMaterialList(MaterialListMode::Graph);
}

void TForm1::sceltaisol(int row) {
    if (row < 0)
        return;
    if (!chooseMaterial(session_.sheet, session_.archive, row)) {
        refresh();
        return;
    }
    // The choice has made the graphed material the insulation's, and the
    // graph window only draws: the chosen materials are listed at once, and
    // the main window stands as it will be when the graph is closed.
    showMaterialChoices(session_.sheet, session_.archive);
    refresh();
    const int m = session_.sheet.graphMaterial;
    showGraph(makeConductivityGraph(session_), session_.archive.description(m));
}

void TForm1::sceglistabile(int row) {
    if (row < 0)
        return;
    commitEdits();
    chooseStandardSize(session_.sheet, session_.sizes, session_.archive, row + 1);
    refresh();
}

void TForm1::caricaimmagine() {
    session_.sheet.squareSection = CheckBox2->isChecked();
    showSectionPicture();
    showResultsStanding();
}

void TForm1::caMBIAmonoparete() {
    commitEdits();
    session_.sheet.singleWall = CheckBox3->isChecked();
    singleWallClicked(session_.sheet, session_.sheet.singleWall);
    refresh();
}

void TForm1::vai_archivio() {
    if (!editor_)
        return;
    services_.showModal(*editor_);
    refresh();
}

void TForm1::explorer() {
    const std::string page = joinPath(session_.dataFolder, "manuale.html");
    services_.openBrowser(QUrl::fromLocalFile(displayPath(page)));
}

void TForm1::vai_tabulato() {
    commitEdits();
    if (!requestReport(session_, services_, clock_))
        return;
    if (viewer_) {
        viewer_->refresh();
        services_.showModal(*viewer_);
    }
    showGraph(makeProfileGraph(session_), "");
}

void TForm1::uscita() {
    close();
}

void TForm1::showGraph(GraphProcedure graph, const Cp1252& caption) {
    // A graph that cannot be drawn (one point, no points) gives its message
    // and no window: an empty drawing area shows nothing.
    if (!checkGraph(graph, services_))
        return;
    currentGraph_ = std::move(graph);
    if (!graph_)
        return;
    graph_->setWindowTitle(toQString(caption));
    graph_->visualizza();
}

} // namespace camini
