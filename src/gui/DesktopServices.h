#pragma once

#include "common/Messages.h"

#include <QString>
#include <optional>

class QDialog;
class QPrinter;
class QUrl;

namespace camini {

// Everything that waits on a person or reaches outside the program: message
// boxes, file dialogs, modal windows, the printer and the browser. The program
// uses the real ones; tests replace them with a script.
class DesktopServices : public Messages {
public:
    enum class Answer { Yes, No, Cancel };

    // A question in a box with the buttons "Sì" and "No", and "Annulla" when
    // `withCancel`. Closing the box answers Cancel (No without "Annulla").
    virtual Answer ask(const std::string& text, bool withCancel) = 0;

    // An open-file dialog; nothing when cancelled. `filter` is in the
    // dialog's form "description (*.a *.b)".
    virtual std::optional<QString> openFile(const QString& title, const QString& filter,
                                            const QString& folder) = 0;
    // A save-file dialog proposing a name; nothing when cancelled.
    virtual std::optional<QString> saveFile(const QString& title, const QString& filter,
                                            const QString& folder, const QString& proposedName) = 0;
    // Shows a window modally and returns when it is closed.
    virtual void showModal(QDialog& window) = 0;
    // The printer to draw on, or nothing when no printer is installed.
    virtual QPrinter* printer() = 0;
    // A printer that writes a PDF file at `path` (where no printer is
    // installed): it lives until the next one is asked for, as the printer
    // above does.
    virtual QPrinter* pdfPrinter(const QString& path) = 0;
    // Opens the address in the system's browser without keeping the window
    // waiting; false (after reporting why in the error box) when that fails
    // at once. A failure found later is reported in the error box then.
    virtual bool openBrowser(const QUrl& url) = 0;
};

} // namespace camini
