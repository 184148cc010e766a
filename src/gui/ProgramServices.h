#pragma once

#include "DesktopServices.h"

#include <QPrinter>
#include <memory>

namespace camini {

// The desktop services of the running program: Qt's message boxes and file
// dialogs, QDialog::exec, the default printer and xdg-open.
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
    bool openBrowser(const QUrl& url) override;

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace camini
