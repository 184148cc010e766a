#include "ProgramServices.h"

#include "QtText.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QTextBoundaryFinder>
#include <QUrl>

namespace camini {

namespace {

void showBox(QMessageBox::Icon icon, const std::string& text) {
    messageBox(icon, text, QMessageBox::Ok)->exec();
}

constexpr QChar zeroWidthSpace(0x200B);
constexpr QChar wordJoiner(0x2060);

// Whether the slash at `i` parts two pieces of a path: its word (the run
// without blanks around it) starts with a slash, after any opening quote or
// bracket, or holds another slash. "mq K/w" and "W/m" are units, not paths.
bool partsAPath(const QString& text, qsizetype i) {
    qsizetype begin = i;
    while (begin > 0 && !text[begin - 1].isSpace())
        --begin;
    qsizetype end = i + 1;
    while (end < text.size() && !text[end].isSpace())
        ++end;
    if (end == i + 1)
        return false; // nothing follows the slash in its word
    const QStringView word = QStringView(text).mid(begin, end - begin);
    qsizetype first = 0;
    while (QStringView(u"\"'([").contains(word[first]))
        ++first;
    return word[first] == QLatin1Char('/') || word.count(QLatin1Char('/')) > 1;
}

} // namespace

QString breakableText(const QString& text, int longest) {
    QString out;
    int run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isSpace()) {
            run = 0;
        } else if (run >= longest) {
            out += zeroWidthSpace;
            run = 0;
        }
        out += c;
        if (!c.isSpace())
            ++run;
        if (c == QLatin1Char('/') && partsAPath(text, i)) {
            out += zeroWidthSpace;
            run = 0;
        }
    }
    // The line breaker would also break after other slashes, after hyphens
    // and before some brackets: a word joiner keeps those words whole.
    QList<qsizetype> glued;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, out);
    for (qsizetype p = breaks.toNextBoundary(); p > 0 && p < out.size();
         p = breaks.toNextBoundary())
        if (!out[p - 1].isSpace() && out[p - 1] != zeroWidthSpace)
            glued.append(p);
    for (auto p = glued.crbegin(); p != glued.crend(); ++p)
        out.insert(*p, wordJoiner);
    return out;
}

std::unique_ptr<QMessageBox> messageBox(QMessageBox::Icon icon, const std::string& text,
                                        QMessageBox::StandardButtons buttons) {
    auto box = std::make_unique<QMessageBox>(icon, QStringLiteral("camini"),
                                             breakableText(toQString(printableText(text)), 40),
                                             buttons, QApplication::activeWindow());
    box->setFont(QApplication::font());
    return box;
}

ProgramServices::ProgramServices() = default;
ProgramServices::~ProgramServices() = default;

void ProgramServices::message(const std::string& text) {
    showBox(QMessageBox::Information, text);
}

void ProgramServices::error(const std::string& text) {
    showBox(QMessageBox::Critical, text);
}

DesktopServices::Answer ProgramServices::ask(const std::string& text, bool withCancel) {
    const auto box = messageBox(QMessageBox::Question, text,
                                QMessageBox::Yes | QMessageBox::No |
                                    (withCancel ? QMessageBox::Cancel : QMessageBox::NoButton));
    box->setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box->exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

std::optional<QString> ProgramServices::openFile(const QString& title, const QString& filter,
                                                 const QString& folder) {
    QFileDialog dialog(QApplication::activeWindow(), title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a file that does not exist is accepted; the load then
    // reports it.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> ProgramServices::saveFile(const QString& title, const QString& filter,
                                                 const QString& folder,
                                                 const QString& proposedName) {
    QFileDialog dialog(QApplication::activeWindow(), title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog would ask only when the name is typed with its extension;
    // the callers ask in every case, once the extension is added.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

void ProgramServices::showModal(QDialog& window) {
    window.exec();
}

QPrinter* ProgramServices::printer() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    return printer_.get();
}

QPrinter* ProgramServices::pdfPrinter(const QString& path) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(path);
    return printer_.get();
}

bool ProgramServices::openBrowser(const QUrl& url) {
    // xdg-open hands the address to the desktop's browser and may run as long
    // as a newly started browser does: the window goes on at once, and the
    // verdict comes when xdg-open ends (or cannot start), in the error box.
    auto* process = new QProcess(qApp);
    const QString address = url.toString();
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [this, process, address](QProcess::ProcessError failure) {
                         if (failure != QProcess::FailedToStart)
                             return; // a crash also ends in finished
                         error("impossibile avviare xdg-open per aprire " + toCp1252(address) +
                               ": " + toCp1252(process->errorString()));
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [this, process, address](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             error("impossibile aprire " + toCp1252(address) +
                                   " nel browser (xdg-open: uscita " + std::to_string(exitCode) +
                                   ")");
                         process->deleteLater();
                     });
    process->start(QStringLiteral("xdg-open"), {address});
    return true;
}

} // namespace camini
