#pragma once

#include "DesktopServices.h"

#include <QMessageBox>
#include <QPrinter>
#include <memory>

namespace camini {

// The program's message box over the active window, in the application's
// font (a window's own small font, like the archive editor's, is not passed
// on to its boxes). Its text wraps: a long word, such as a file's path, may
// break anywhere, so the box never grows wider than the screen.
std::unique_ptr<QMessageBox> messageBox(QMessageBox::Icon icon, const std::string& text,
                                        QMessageBox::StandardButtons buttons);

// The text of a message box, breaking only at blanks, after the slashes
// between the parts of a path and within runs of more than `longest`
// characters without a blank (a zero-width space there); every other place
// where the line breaker would break ("mq K/w", a hyphen) holds a word joiner.
QString breakableText(const QString& text, int longest);

// The desktop services of the running program: Qt's message boxes and file
// dialogs, QDialog::exec, the default printer (or a PDF file) and xdg-open.
class ProgramServices : public DesktopServices {
public:
    ProgramServices();
    ~ProgramServices() override;

    void message(const std::string& text) override;
    void error(const std::string& text) override;
    Answer ask(const std::string& text, bool withCancel) override;
    std::optional<QString> openFile(const QString& title, const QString& filter,
                                    const QString& folder) override;
    std::optional<QString> saveFile(const QString& title, const QString& filter,
                                    const QString& folder, const QString& proposedName) override;
    void showModal(QDialog& window) override;
    QPrinter* printer() override;
    QPrinter* pdfPrinter(const QString& path) override;
    bool openBrowser(const QUrl& url) override;

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace camini
