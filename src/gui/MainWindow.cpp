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
#include "common/FileError.h"
#include "engine/Calculation.h"
#include "engine/Report.h"
#include "engine/Session.h"
#include "forms/Layouts.h"
#include "forms/MainActions.h"
#include "forms/ProjectFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>
#include <algorithm>

namespace camini {

namespace {

const char* const windowCaption = "Calcolo termico della parete del camino";

QFont namedFont(const char* family, int pointSize) {
    QFont f(family);
    f.setPointSize(pointSize);
    return f;
}

// The font at the given size, or smaller where some text would not fit in
// its room: on small screens the grids' cells, the fire-resistance box and
// the buttons shrink with the screen while the sizes stay those of a large
// one, and a number cut at a cell's edge would be misread.
QFont fittingFont(const char* family, int points, const QStringList& texts, int room) {
    return namedFont(family, fittingPointSize(namedFont(family, points), points, texts, room));
}

// Room for a button's caption beside its picture.
int captionRoom(const QPushButton* b, int width) {
    return width - b->iconSize().width() - 12;
}

// A caption as shown (the accelerator's "&" is not drawn).
QString shownCaption(const QPushButton* b) {
    return QString(b->text()).remove('&');
}

std::vector<std::string> memoLines(const QPlainTextEdit* memo) {
    const QString text = memo->toPlainText();
    std::vector<std::string> lines;
    if (text.isEmpty())
        return lines;
    for (const QString& l : text.split('\n'))
        lines.push_back(cp(l));
    return lines;
}

void showMemo(QPlainTextEdit* memo, const std::vector<std::string>& lines) {
    QStringList l;
    for (const auto& s : lines)
        l << qs(s);
    const QString text = l.join('\n');
    if (memo->toPlainText() != text)
        memo->setPlainText(text);
}

} // namespace

TForm1::TForm1(Session& session, CurrentGraph& currentGraph, DesktopServices& services, Clock clock,
               QWidget* parent)
    : QWidget(parent), session_(session), currentGraph_(currentGraph), services_(services),
      clock_(std::move(clock)) {
    setObjectName("Form1");
    setWindowTitle(windowCaption);
    Worksheet& sheet = session_.sheet;

    auto button = [this](const char* name, const char* caption, QStyle::StandardPixmap glyph) {
        return makeButton(this, name, caption, glyph);
    };
    auto check = [this](const char* name, const char* caption) {
        auto* c = new QCheckBox(QString::fromUtf8(caption), this);
        c->setObjectName(name);
        return c;
    };

    StringGrid1 = new GridView(this);
    StringGrid1->setObjectName("StringGrid1");
    inputModel_ = new TextGridModel(
        InputRows, 2, 0, 1,
        [&sheet](int r, int c) -> const std::string& {
            return c == 0 ? inputLabel(inputRowAt(r)) : sheet.input(inputRowAt(r));
        },
        [&sheet](int r, int, std::string t) { sheet.input(inputRowAt(r)) = std::move(t); }, this);
    StringGrid1->setModel(inputModel_);
    StringGrid1->setEditable(true);

    BitBtn6 = button("BitBtn6", "isolante", QStyle::SP_ArrowRight);
    BitBtn6->setToolTip("scelta isolante camino");
    BitBtn7 = button("BitBtn7", "asola tecnica", QStyle::SP_ArrowRight);
    BitBtn7->setToolTip("scelta materiale schermo");
    BitBtn9 = button("BitBtn9", "schermo 1", QStyle::SP_ArrowRight);
    BitBtn9->setToolTip("materiale esterno");
    BitBtn16 = button("BitBtn16", "schermo 2", QStyle::SP_ArrowRight);
    BitBtn8 = button("BitBtn8", "materiali", QStyle::SP_FileDialogDetailedView);
    BitBtn8->setToolTip("archivio materiali ");

    Label2 = new QLabel("sezione", this);
    Label2->setObjectName("Label2");
    Label2->setStyleSheet("color: blue;");
    ListBox2 = new ChoiceList(this);
    ListBox2->setObjectName("ListBox2");
    CheckBox2 = check("CheckBox2", "quadrata");
    CheckBox3 = check("CheckBox3", "Monoparete");
    CheckBox4 = check("CheckBox4", "D>=200");

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setScaledContents(true);
    ListBox1 = new ChoiceList(this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->hide();

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName("Memo2");
    Label3 = new QLabel("titolo progetto", this);
    Label3->setObjectName("Label3");
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");

    StringGrid2 = new GridView(this);
    StringGrid2->setObjectName("StringGrid2");
    resultsModel_ = new TextGridModel(
        ResultRows, ResultCols, 1, 1,
        [&sheet](int r, int c) -> const std::string& {
            return sheet.results[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        },
        nullptr, this);
    StringGrid2->setModel(resultsModel_);
    StringGrid2->setEditable(false);

    BitBtn1 = button("BitBtn1", "&Calcola", QStyle::SP_MediaPlay);
    BitBtn5 = button("BitBtn5", "C&ancella", QStyle::SP_DialogResetButton);
    BitBtn3 = button("BitBtn3", "&Leggi progetto", QStyle::SP_DialogOpenButton);
    BitBtn4 = button("BitBtn4", "&Salva progetto", QStyle::SP_DialogSaveButton);
    BitBtn11 = button("BitBtn11", "&Grafico lambda materiali", QStyle::SP_FileDialogContentsView);
    BitBtn13 = button("BitBtn13", "S&ito autore", QStyle::SP_DialogHelpButton);
    BitBtn15 = button("BitBtn15", "&risultati a video", QStyle::SP_FileDialogInfoView);
    BitBtn2 = button("BitBtn2", "&Uscita", QStyle::SP_DialogCloseButton);

    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::vai_calcolo);
    connect(BitBtn5, &QPushButton::clicked, this, &TForm1::cancella);
    connect(BitBtn3, &QPushButton::clicked, this, &TForm1::fileopen);
    connect(BitBtn4, &QPushButton::clicked, this, &TForm1::filesave);
    connect(BitBtn6, &QPushButton::clicked, this, &TForm1::scegli);
    connect(BitBtn7, &QPushButton::clicked, this, &TForm1::sceglimat);
    connect(BitBtn9, &QPushButton::clicked, this, &TForm1::vai_condotto);
    connect(BitBtn16, &QPushButton::clicked, this, &TForm1::sceltaschermo2);
    connect(BitBtn11, &QPushButton::clicked, this, &TForm1::onhelp);
    connect(BitBtn8, &QPushButton::clicked, this, &TForm1::vai_archivio);
    connect(BitBtn13, &QPushButton::clicked, this, &TForm1::explorer);
    connect(BitBtn15, &QPushButton::clicked, this, &TForm1::vai_tabulato);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::close);
    connect(ListBox1, &ChoiceList::chosen, this, &TForm1::sceltaisol);
    connect(ListBox2, &ChoiceList::chosen, this, &TForm1::sceglistabile);
    connect(CheckBox2, &QCheckBox::clicked, this, [this](bool ticked) {
        session_.sheet.squareSection = ticked;
        caricaimmagine();
    });
    connect(CheckBox3, &QCheckBox::clicked, this, [this](bool ticked) {
        session_.sheet.singleWall = ticked;
        caMBIAmonoparete();
    });
    connect(CheckBox4, &QCheckBox::toggled, this,
            [this](bool ticked) { session_.sheet.raiseSmallDiameter = ticked; });
    connect(Edit1, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (!refreshing_)
            session_.sheet.projectTitle = cp(t);
    });
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        if (!refreshing_)
            session_.sheet.fireResistanceLines = memoLines(Memo1);
    });
    connect(Memo2, &QPlainTextEdit::textChanged, this, [this] {
        if (!refreshing_)
            session_.sheet.materialChoiceLines = memoLines(Memo2);
    });

    // Tab visits the controls in reading order; in the text boxes it moves on
    // instead of writing a tab into the lines the report copies.
    Memo1->setTabChangesFocus(true);
    Memo2->setTabChangesFocus(true);
    const QWidget* order[] = {StringGrid1, BitBtn6,   BitBtn7,     BitBtn9,   BitBtn16, BitBtn8,
                              ListBox2,    CheckBox2, CheckBox3,   CheckBox4, ListBox1, Memo1,
                              Memo2,       Edit1,     StringGrid2, BitBtn1,   BitBtn5,  BitBtn3,
                              BitBtn4,     BitBtn11,  BitBtn13,    BitBtn15,  BitBtn2};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
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
    }
    return QWidget::event(e);
}

void TForm1::applyLayout() {
    const QSize screenSize =
        (screen() ? screen() : QApplication::primaryScreen())->geometry().size();
    const MainWindowLayout l = mainWindowLayout(screenSize.width(), screenSize.height());
    // The window's outer corner at the screen's, its size the screen's.
    move(l.window.left, l.window.top);
    resize(l.window.width, l.window.height);

    // Both grids share one fixed-pitch font: the longest label in the input
    // grid's first column and a number of 8 characters in a results cell
    // must fit.
    QStringList labels;
    for (const InputRowSpec& spec : inputRowTable)
        labels << qs(spec.label);
    const int fitting = std::min(
        {fittingFont("courier new", 14, labels, l.inputLabelWidth - 6).pointSize(),
         fittingFont("courier new", 14, {qs(resultRowName(OuterFilmRow))}, l.resultLabelWidth - 6)
             .pointSize(),
         fittingFont("courier new", 14, {"00000000"}, l.resultColumnWidth - 6).pointSize()});
    const QFont gridFont = namedFont("courier new", fitting);
    StringGrid1->setGeometry(toQRect(l.stringGrid1));
    StringGrid1->setFont(gridFont);
    StringGrid1->setSizes(l.inputColumnWidth, {l.inputLabelWidth}, l.rowHeight);

    const std::pair<QPushButton*, Rect> layers[] = {{BitBtn6, l.bitBtn6},
                                                    {BitBtn7, l.bitBtn7},
                                                    {BitBtn9, l.bitBtn9},
                                                    {BitBtn16, l.bitBtn16},
                                                    {BitBtn8, l.bitBtn8}};
    for (auto [b, r] : layers) {
        b->setGeometry(toQRect(r));
        b->setFont(fittingFont("verdana", 10, {shownCaption(b)}, captionRoom(b, r.width)));
    }

    Label2->setGeometry(toQRect(l.label2));
    Label2->setFont(namedFont("verdana", 12));
    for (QCheckBox* c : {CheckBox2, CheckBox3, CheckBox4})
        c->setFont(namedFont("verdana", 12));
    CheckBox2->setGeometry(toQRect(l.checkBox2));
    CheckBox3->setGeometry(toQRect(l.checkBox3));
    CheckBox4->setGeometry(toQRect(l.checkBox4));
    ListBox2->setGeometry(toQRect(l.listBox2));
    ListBox2->setFont(namedFont("verdana", 10));
    Image1->setGeometry(toQRect(l.image1));
    Memo1->setGeometry(toQRect(l.memo1));
    Memo1->setFont(
        fittingFont("courier new", 12, {"temp per resistenza al fuoco(est)= 1800.0\u00B0C"},
                    l.memo1.width - 12 - Memo1->verticalScrollBar()->sizeHint().width()));
    Memo2->setGeometry(toQRect(l.memo2));
    Memo2->setFont(namedFont("verdana", 12));
    Label3->setGeometry(toQRect(l.label3));
    Label3->setFont(namedFont("courier new", l.titleFontSize));
    // A label grows to show its whole caption.
    Label3->resize(std::max(Label3->width(), Label3->sizeHint().width()), Label3->height());
    Edit1->setGeometry(toQRect(l.edit1));
    Edit1->setFont(namedFont("verdana", l.titleFontSize));
    ListBox1->setGeometry(toQRect(l.listBox1));
    ListBox1->setFont(namedFont("verdana", 12));

    StringGrid2->setGeometry(toQRect(l.stringGrid2));
    StringGrid2->setFont(gridFont);
    StringGrid2->setSizes(l.resultColumnWidth, {l.resultLabelWidth}, l.rowHeight);

    const std::pair<QPushButton*, Rect> actions[] = {{BitBtn1, l.bitBtn1},   {BitBtn5, l.bitBtn5},
                                                     {BitBtn3, l.bitBtn3},   {BitBtn4, l.bitBtn4},
                                                     {BitBtn11, l.bitBtn11}, {BitBtn13, l.bitBtn13},
                                                     {BitBtn15, l.bitBtn15}, {BitBtn2, l.bitBtn2}};
    for (auto [b, r] : actions) {
        b->setGeometry(toQRect(r));
        const int points = (b == BitBtn15 || b == BitBtn2) ? 14 : 11;
        b->setFont(fittingFont("verdana", points, {shownCaption(b)}, captionRoom(b, r.width)));
    }
}

void TForm1::inizia() {
    startUp(session_, services_);
    applyLayout();
    showSectionPicture();
    ListBox1->clear();
    ListBox2->setItems(sizeListItems(session_.sizes));
    setWindowTitle(windowCaption);
    refresh();
}

void TForm1::showSectionPicture() {
    const std::string path = joinPath(
        session_.dataFolder, session_.sheet.squareSection ? "sezione2.jpg" : "sezione1.jpg");
    try {
        Image1->setPixmap(QPixmap::fromImage(loadJpegImage(path)));
    } catch (const FileError& e) {
        services_.error(fileErrorText(e));
    }
}

void TForm1::refresh() {
    const Worksheet& sheet = session_.sheet;
    refreshing_ = true;
    inputModel_->refresh();
    resultsModel_->refresh();
    showMemo(Memo1, sheet.fireResistanceLines);
    showMemo(Memo2, sheet.materialChoiceLines);
    if (Edit1->text() != qs(sheet.projectTitle))
        Edit1->setText(qs(sheet.projectTitle));
    {
        const QSignalBlocker b2(CheckBox2), b3(CheckBox3), b4(CheckBox4);
        CheckBox2->setChecked(sheet.squareSection);
        CheckBox3->setChecked(sheet.singleWall);
        CheckBox4->setChecked(sheet.raiseSmallDiameter);
    }
    ListBox1->setVisible(sheet.materialListVisible);
    Image1->setVisible(sheet.pictureVisible);
    refreshing_ = false;
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
    clearInputsAndResults(session_.sheet);
    refresh();
}

void TForm1::fileopen() {
    commitEdits();
    auto path = services_.openFile("Leggi progetto", "files CAMINI (*.cam *.CAM)",
                                   displayPath(executableFolder()));
    if (!path)
        return;
    // The messages of the load (a refused material number) come once the
    // window shows what was loaded.
    struct Deferred : Messages {
        std::vector<std::string> texts;
        void message(const std::string& t) override { texts.push_back(t); }
        void error(const std::string& t) override { texts.push_back(t); }
    } deferred;
    try {
        loadProject(nativePath(*path), session_.sheet, session_.archive, deferred);
    } catch (const FileError& e) {
        services_.error(fileErrorText(e));
        return;
    }
    refresh();
    showSectionPicture();
    for (const auto& t : deferred.texts)
        services_.message(t);
}

void TForm1::filesave() {
    commitEdits();
    auto path = services_.saveFile("Salva progetto", "files CAMINI (*.CAM)",
                                   displayPath(executableFolder()),
                                   qs(proposedProjectName(session_.sheet.projectTitle)));
    if (!path)
        return;
    try {
        saveProject(session_.sheet, projectFileName(nativePath(*path)));
    } catch (const FileError& e) {
        services_.error(fileErrorText(e));
    }
}

void TForm1::openMaterialList(int mode) {
    ListBox1->setItems(camini::openMaterialList(session_.sheet, session_.archive,
                                                static_cast<MaterialListMode>(mode)));
    refresh();
    ListBox1->setFocus();
}

void TForm1::scegli() {
    openMaterialList(static_cast<int>(MaterialListMode::Insulation));
}
void TForm1::sceglimat() {
    openMaterialList(static_cast<int>(MaterialListMode::TechnicalGap));
}
void TForm1::vai_condotto() {
    openMaterialList(static_cast<int>(MaterialListMode::Screen1));
}
void TForm1::sceltaschermo2() {
    openMaterialList(static_cast<int>(MaterialListMode::Screen2));
}
void TForm1::onhelp() {
    openMaterialList(static_cast<int>(MaterialListMode::Graph));
}

void TForm1::sceltaisol(int row) {
    if (row < 0)
        return;
    if (chooseMaterial(session_.sheet, session_.archive, row)) {
        refresh();
        const int m = session_.sheet.graphMaterial;
        showGraph(makeConductivityGraph(session_), session_.archive.description(m));
        showMaterialChoices(session_.sheet, session_.archive);
    }
    refresh();
}

void TForm1::sceglistabile(int row) {
    if (row < 0)
        return;
    commitEdits();
    chooseStandardSize(session_.sheet, session_.sizes, session_.archive, row + 1);
    refresh();
}

void TForm1::caricaimmagine() {
    showSectionPicture();
}

void TForm1::caMBIAmonoparete() {
    commitEdits();
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

void TForm1::showGraph(GraphProcedure graph, const std::string& caption) {
    currentGraph_ = std::move(graph);
    if (!graph_)
        return;
    graph_->setWindowTitle(qs(caption));
    graph_->visualizza();
}

} // namespace camini
