#include "ViewerWindow.h"

#include "DesktopServices.h"
#include "QtText.h"
#include "Widgets.h"
#include "common/FileError.h"
#include "engine/RtfWriter.h"
#include "engine/ViewerDocument.h"
#include "forms/Layouts.h"
#include "forms/MainActions.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTextEdit>
#include <algorithm>

namespace camini {

namespace {

QFont documentFont(const ViewerDocument& doc) {
    QFont f(qs(doc.fontName));
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
    setWindowTitle("risultati");
    setModal(true);
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName("RichEdit1");
    RichEdit1->setAcceptRichText(false);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    auto button = [this](const char* name, const char* caption, QStyle::StandardPixmap glyph) {
        return makeButton(this, name, caption, glyph);
    };
    BitBtn1 = button("BitBtn1", "Uscita", QStyle::SP_DialogCloseButton);
    BitBtn2 = button("BitBtn2", "Stampa", QStyle::SP_FileDialogDetailedView);
    BitBtn3 = button("BitBtn3", "Su file di testo", QStyle::SP_DialogSaveButton);
    connect(BitBtn1, &QPushButton::clicked, this, &TAboutBox::uscita);
    connect(BitBtn2, &QPushButton::clicked, this, &TAboutBox::vai_stampa);
    connect(BitBtn3, &QPushButton::clicked, this, &TAboutBox::vai_testo);
    connect(RichEdit1, &QTextEdit::textChanged, this, &TAboutBox::storeTyped);
}

void TAboutBox::inizia() {
    const QScreen* s = screen() ? screen() : QApplication::primaryScreen();
    const ViewerLayout l = viewerLayout(s->geometry().width(), s->geometry().height());
    setGeometry(toQRect(l.window));
    setFixedSize(l.window.width, l.window.height);
    RichEdit1->setGeometry(toQRect(l.richEdit1));
    const std::pair<QPushButton*, Rect> buttons[] = {
        {BitBtn1, l.bitBtn1}, {BitBtn2, l.bitBtn2}, {BitBtn3, l.bitBtn3}};
    for (auto [b, r] : buttons) {
        b->setGeometry(toQRect(r));
        QFont f = b->font();
        f.setPointSize(14);
        b->setFont(f);
    }
}

void TAboutBox::showEvent(QShowEvent* e) {
    // A showing lays the window out; a restore from minimised (a spontaneous
    // show event) is no showing.
    if (!e->spontaneous()) {
        inizia();
        refresh();
    }
    QDialog::showEvent(e);
}

QStringList TAboutBox::documentLines() const {
    QStringList lines;
    for (const auto& p : document_.paragraphs)
        lines << qs(p);
    return lines;
}

void TAboutBox::refresh() {
    const QString text = documentLines().join('\n');
    refreshing_ = true;
    RichEdit1->document()->setDefaultFont(documentFont(document_));
    if (RichEdit1->toPlainText() != text)
        RichEdit1->setPlainText(text);
    refreshing_ = false;
}

void TAboutBox::storeTyped() {
    if (refreshing_)
        return;
    const QString text = RichEdit1->toPlainText();
    document_.paragraphs.clear();
    if (text.isEmpty())
        return;
    for (const QString& line : text.split('\n'))
        document_.paragraphs.push_back(cp(line));
}

void TAboutBox::uscita() {
    accept();
}

void TAboutBox::vai_stampa() {
    QPrinter* printer = printerForJob(services_);
    if (!printer)
        return;
    QPainter painter;
    QSize page;
    if (!beginJob(services_, *printer, painter, page))
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
    auto path =
        services_.saveFile("scrivi il file rtf", "output testo (*.rtf)", QString(), QString());
    if (!path || path->isEmpty())
        return;
    try {
        saveRtf(document_, reportFileName(nativePath(*path)));
    } catch (const FileError& e) {
        services_.error(fileErrorText(e));
    }
}

} // namespace camini
