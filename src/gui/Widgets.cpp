#include "Widgets.h"

#include "ChoiceList.h"
#include "DesktopServices.h"
#include "QtText.h"
#include "TextGrid.h"
#include "common/FileError.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScreen>
#include <QTextEdit>
#include <algorithm>

namespace camini {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption,
                        QStyle::StandardPixmap glyph) {
    auto* b = new QPushButton(QString::fromUtf8(caption ? caption : ""), parent);
    b->setObjectName(name);
    if (glyph != QStyle::SP_CustomBase)
        b->setIcon(parent->style()->standardIcon(glyph));
    b->setAutoDefault(false);
    return b;
}

namespace {

QWidget* newControl(QWidget* parent, ControlKind kind, const char* name, const QString& text,
                    QStyle::StandardPixmap glyph) {
    switch (kind) {
    case ControlKind::Button:
        return makeButton(parent, name, text.toUtf8().constData(), glyph);
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::Label:
        return new QLabel(text, parent);
    case ControlKind::Picture: {
        auto* picture = new QLabel(parent);
        picture->setScaledContents(true);
        return picture;
    }
    case ControlKind::LineEdit:
        return new QLineEdit(parent);
    case ControlKind::Memo: {
        auto* memo = new QPlainTextEdit(parent);
        // Tab moves on instead of writing a tab into lines the report copies.
        memo->setTabChangesFocus(true);
        return memo;
    }
    case ControlKind::TextBox:
        return new QTextEdit(parent);
    case ControlKind::Grid:
        return new GridView(parent);
    case ControlKind::List:
        return new ChoiceList(parent);
    }
    return new QWidget(parent);
}

} // namespace

QWidget* createControl(QWidget* parent, ControlKind kind, const char* name, const char* caption,
                       QStyle::StandardPixmap glyph, const char* tooltip, const char* colour) {
    QWidget* c = newControl(parent, kind, name, QString::fromUtf8(caption ? caption : ""), glyph);
    c->setObjectName(name);
    if (tooltip)
        c->setToolTip(QString::fromUtf8(tooltip));
    if (colour)
        c->setStyleSheet(QStringLiteral("color: %1;").arg(QString::fromLatin1(colour)));
    return c;
}

int fittingPointSize(QFont font, int points, const QStringList& texts, qreal room,
                     QPaintDevice* device) {
    for (; points > SmallestFontPoints; --points) {
        font.setPointSize(points);
        const QFontMetricsF fm = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
        if (std::all_of(texts.begin(), texts.end(),
                        [&](const QString& t) { return fm.horizontalAdvance(t) <= room; }))
            break;
    }
    return points;
}

QFont namedFont(const char* family, int points) {
    QFont f(QString::fromLatin1(family));
    f.setPointSize(points);
    return f;
}

void applyFont(QWidget* c, const FontRule& rule, int points) {
    if (points <= 0)
        points = rule.points;
    if (points <= 0 && rule.pixels <= 0)
        return;
    QFont f = rule.family ? QFont(QString::fromLatin1(rule.family)) : c->font();
    if (rule.pixels > 0)
        f.setPixelSize(rule.pixels);
    else
        f.setPointSize(points);
    if (rule.boldItalic) {
        f.setBold(true);
        f.setItalic(true);
    }
    if (rule.fitCaption && rule.pixels <= 0) {
        if (auto* b = qobject_cast<QAbstractButton*>(c)) {
            // Room for the caption beside the picture; the accelerator's "&"
            // is not drawn.
            const int room = c->width() - b->iconSize().width() - 12;
            f.setPointSize(
                fittingPointSize(f, points, {QString(b->text()).remove(QLatin1Char('&'))}, room));
        }
    }
    c->setFont(f);
}

QSize screenSizeOf(const QWidget* window) {
    const QScreen* s = window->screen() ? window->screen() : QApplication::primaryScreen();
    return s->geometry().size();
}

bool confirmReplace(DesktopServices& services, const PathBytes& path) {
    if (!QFileInfo::exists(QFile::decodeName(QByteArray::fromStdString(path))))
        return true;
    const std::string name = toCp1252(QFile::decodeName(QByteArray::fromStdString(path)));
    return services.ask("il file \"" + name + "\" esiste gi\xE0: sostituirlo?", false) ==
           DesktopServices::Answer::Yes;
}

void showAsCurrent(QWidget* control, bool current) {
    QPalette p = QApplication::palette(control);
    if (!current)
        for (auto role : {QPalette::Text, QPalette::WindowText})
            for (auto group : {QPalette::Active, QPalette::Inactive})
                p.setColor(group, role, p.color(QPalette::Disabled, role));
    control->setPalette(p);
}

bool runFileOperation(DesktopServices& services, const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const FileError& e) {
        services.error(fileErrorText(e));
        return false;
    }
}

namespace {

// The name chosen in the dialog, with ".pdf" added unless it ends so.
QString pdfFileName(QString chosen) {
    if (!chosen.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        chosen += QLatin1String(".pdf");
    return chosen;
}

// Where no printer is installed: asks whether to print into a PDF file and
// gives a printer writing the chosen file, or nothing.
QPrinter* offerPdfFile(DesktopServices& services) {
    if (services.ask("nessuna stampante installata\nsalvare la stampa in un file PDF?", false) !=
        DesktopServices::Answer::Yes)
        return nullptr;
    const auto chosen =
        services.saveFile(QStringLiteral("salva la stampa"),
                          QStringLiteral("documenti PDF (*.pdf)"), QString(), QString());
    if (!chosen || chosen->isEmpty())
        return nullptr;
    const QString path = pdfFileName(*chosen);
    if (!confirmReplace(services, nativePath(path)))
        return nullptr;
    return services.pdfPrinter(path);
}

} // namespace

QPrinter* startPrintJob(DesktopServices& services, QPainter& painter, QSize& page) {
    QPrinter* printer = services.printer();
    const bool toFile = !printer;
    if (toFile)
        printer = offerPdfFile(services);
    if (!printer)
        return nullptr;
    printer->setDocName(QString());
    printer->setFullPage(false);
    if (!painter.begin(printer)) {
        services.error(!toFile ? std::string("stampa non riuscita")
                               : "stampa non riuscita: impossibile scrivere il file \"" +
                                     toCp1252(printer->outputFileName()) + "\"");
        return nullptr;
    }
    page = printer->pageLayout().paintRectPixels(printer->resolution()).size();
    return printer;
}

} // namespace camini
