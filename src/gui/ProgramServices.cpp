#include "ProgramServices.h"

#include "QtText.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QUrl>

namespace camini {

namespace {

void showBox(QMessageBox::Icon icon, const std::string& text) {
    messageBox(icon, text, QMessageBox::Ok)->exec();
}

} // namespace

QString breakableText(const QString& text, int longest) {
    constexpr QChar zeroWidthSpace(0x200B);
    QString out;
    int run = 0;
    for (const QChar c : text) {
        if (c.isSpace()) {
            run = 0;
        } else if (run >= longest) {
            out += zeroWidthSpace;
            run = 0;
        }
        out += c;
        if (!c.isSpace())
            ++run;
        if (c == '/') {
            out += zeroWidthSpace;
            run = 0;
        }
    }
    return out;
}

std::unique_ptr<QMessageBox> messageBox(QMessageBox::Icon icon, const std::string& text,
                                        QMessageBox::StandardButtons buttons) {
    auto box = std::make_unique<QMessageBox>(icon, "camini", breakableText(toQString(text), 40),
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

bool ProgramServices::openBrowser(const QUrl& url) {
    // xdg-open hands the address to the desktop's browser. It may keep
    // running as long as a newly started browser does, so wait a little for
    // its verdict and otherwise let it run on its own.
    auto* process = new QProcess(qApp);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start("xdg-open", {url.toString()});
    if (!process->waitForStarted(5000)) {
        error("impossibile avviare xdg-open per aprire " + toCp1252(url.toString()) + ": " +
              toCp1252(process->errorString()));
        process->deleteLater();
        return false;
    }
    if (process->waitForFinished(3000) &&
        (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)) {
        error("impossibile aprire " + toCp1252(url.toString()) + " nel browser (xdg-open: uscita " +
              std::to_string(process->exitCode()) + ")");
        return false;
    }
    return true;
}

} // namespace camini
