#include "ViewerWindow.h"

#include "DesktopServices.h"
#include "QtText.h"
#include "Widgets.h"
#include "engine/RtfWriter.h"
#include "engine/ViewerDocument.h"
#include "forms/Layouts.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTextBlock>
#include <QTextEdit>
#include <algorithm>
#include <climits>

namespace camini {

namespace {

using Control = ControlSpec<TAboutBox, ViewerLayout>;
using V = ViewerLayout;
using Table = ControlTable<TAboutBox, ViewerLayout>;
constexpr FontRule size14{.points = 14};

const std::array<Control, 4> controls = {{
    {.name = "RichEdit1", .kind = ControlKind::TextBox, .place = &V::richEdit1},
    Table::button("BitBtn1", "Uscita", QStyle::SP_DialogCloseButton, &TAboutBox::uscita,
                  &V::bitBtn1, size14),
    Table::button("BitBtn2", "Stampa", QStyle::SP_FileDialogDetailedView, &TAboutBox::vai_stampa,
                  &V::bitBtn2, size14),
    Table::button("BitBtn3", "Su file di testo", QStyle::SP_DialogSaveButton, &TAboutBox::vai_testo,
                  &V::bitBtn3, size14),
}};

QFont documentFont(const ViewerDocument& doc) {
    QFont f(toQString(doc.fontName));
    f.setPointSize(doc.fontSize > 0 ? doc.fontSize : 14);
    f.setStyleHint(QFont::TypeWriter);
    return f;
}

} // namespace

TAboutBox::TAboutBox(ViewerDocument& document, DesktopServices& services, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      document_(document), services_(services) {
    setObjectName("AboutBox");
    setWindowTitle(QStringLiteral("risultati"));
    setModal(true);
    createControls(this, controls);
    RichEdit1 = control<QTextEdit>(this, "RichEdit1");
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A report line never wraps: wrapped table lines lose their columns.
    // The font shrinks to fit the longest line; where even the smallest does
    // not, the text scrolls sideways.
    RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(RichEdit1, &QTextEdit::textChanged, this, &TAboutBox::storeTyped);
    // The text takes the focus, but Tab and Shift+Tab (and Ctrl+Tab) move
    // it on to the buttons instead of typing into the report.
    RichEdit1->setTabChangesFocus(true);
    RichEdit1->installEventFilter(this);
    // Printing and saving from the keyboard.
    const std::pair<const char*, QKeySequence> keys[] = {
        {"BitBtn2", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"BitBtn3", QKeySequence(Qt::CTRL | Qt::Key_S)}};
    for (const auto& [name, key] : keys) {
        auto* b = control<QPushButton>(this, name);
        b->setShortcut(key);
        b->setToolTip(QStringLiteral("%1 (%2)").arg(b->text(), key.toString()));
    }
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* e) {
    if (watched == RichEdit1 && e->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(e);
        if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) &&
            (k->modifiers() & Qt::ControlModifier)) {
            focusNextPrevChild(k->key() == Qt::Key_Tab && !(k->modifiers() & Qt::ShiftModifier));
            return true;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TAboutBox::inizia() {
    const QSize screen = screenSizeOf(this);
    const ViewerLayout l = viewerLayout(screen.width(), screen.height());
    setGeometry(toQRect(l.window));
    setFixedSize(l.window.width, l.window.height);
    placeControls(this, controls, l);
}

void TAboutBox::showEvent(QShowEvent* e) {
    // A showing lays the window out; a restore from minimised (a spontaneous
    // show event) is no showing.
    if (!e->spontaneous()) {
        inizia();
        refresh();
    }
    QDialog::showEvent(e);
    if (!e->spontaneous())
        showReportStart();
}

void TAboutBox::showReportStart() {
    const QTextBlock block = RichEdit1->document()->findBlockByNumber(
        static_cast<int>(std::min<std::size_t>(document_.reportStart, INT_MAX)));
    if (!block.isValid())
        return;
    RichEdit1->setTextCursor(QTextCursor(block));
    const qreal top = RichEdit1->document()->documentLayout()->blockBoundingRect(block).top();
    RichEdit1->verticalScrollBar()->setValue(static_cast<int>(top));
}

QStringList TAboutBox::documentLines() const {
    QStringList lines;
    for (const auto& p : document_.paragraphs)
        lines << toQString(p);
    return lines;
}

void TAboutBox::refresh() {
    const QString text = documentLines().join(QLatin1Char('\n'));
    refreshing_ = true;
    RichEdit1->document()->setDefaultFont(fittedFont());
    if (RichEdit1->toPlainText() != text)
        RichEdit1->setPlainText(text);
    refreshing_ = false;
}

QFont TAboutBox::fittedFont() const {
    QFont font = documentFont(document_);
    // The room of a line: the text box's inside less the document's margins
    // and the cursor.
    const qreal room =
        RichEdit1->viewport()->width() - 2 * RichEdit1->document()->documentMargin() - 2;
    font.setPointSize(fittingPointSize(font, font.pointSize(), documentLines(), room, RichEdit1));
    return font;
}

void TAboutBox::storeTyped() {
    if (refreshing_)
        return;
    const QString text = RichEdit1->toPlainText();
    document_.paragraphs.clear();
    if (text.isEmpty())
        return;
    for (const QString& line : text.split(QLatin1Char('\n')))
        document_.paragraphs.push_back(toCp1252(line));
}

void TAboutBox::uscita() {
    accept();
}

void TAboutBox::vai_stampa() {
    QPainter painter;
    QSize page;
    QPrinter* printer = startPrintJob(services_, painter, page);
    if (!printer)
        return;
    // The whole document at once on the printable area, from page to page.
    // The report's table lines are 104 characters: at 14 points they are
    // wider than a portrait page, and wrapped lines lose their columns. The
    // printout takes the document's size, or the largest smaller one at
    // which the longest line fits the page's width.
    const QStringList lines = documentLines();
    QFont font = documentFont(document_);
    font.setPointSize(fittingPointSize(font, font.pointSize(), lines, page.width(), printer));
    // One paragraph after the other, each whole on a page (a longer one
    // wraps), blanks kept.
    painter.setFont(font);
    const QFontMetricsF fm(font, printer);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere;
    qreal y = 0;
    for (const QString& line : lines) {
        const qreal h =
            std::max(fm.lineSpacing(),
                     fm.boundingRect(QRectF(0, 0, page.width(), 1e9), flags, line).height());
        if (y > 0 && y + h > page.height()) {
            printer->newPage();
            y = 0;
        }
        painter.drawText(QRectF(0, y, page.width(), h), flags, line);
        y += h;
    }
    painter.end();
}

void TAboutBox::vai_testo() {
    auto chosen = services_.saveFile(QStringLiteral("scrivi il file rtf"),
                                     QStringLiteral("output testo (*.rtf)"), QString(), QString());
    if (!chosen || chosen->isEmpty())
        return;
    const std::string path = reportFileName(nativePath(*chosen));
    if (confirmReplace(services_, path))
        runFileOperation(services_, [&] { saveRtf(document_, path); });
}

} // namespace camini
