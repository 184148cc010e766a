#pragma once

#include "DesktopServices.h"

#include <QDialog>
#include <QPrinter>
#include <QUrl>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace camini::test {

// The desktop services as a script: answers prepared for the dialogs, what
// the boxes would have shown recorded, modal windows shown without a modal
// loop and handed to a script that acts on them before they are closed, a
// PDF printer, a recording browser.
struct ScriptedServices : DesktopServices {
    struct DialogCall {
        QString title, filter, folder, proposedName;
    };

    std::vector<std::string> messages;
    std::vector<std::string> errors;
    // Paths the next dialogs answer (UTF-8); nothing or no answer left: cancel.
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    std::vector<DialogCall> openCalls, saveCalls;
    // Scripts for the next modal windows, in order; with none left the window
    // is only shown and closed.
    std::deque<std::function<void(QDialog&)>> modalScripts;
    std::vector<QString> modalWindows; // object names, in showing order
    QString pdfPath;                   // empty: no printer installed
    std::unique_ptr<QPrinter> printer_;
    int printersHandedOut = 0;
    std::vector<QUrl> browsed;
    bool browserWorks = true;

    // The questions asked, and the answers the next ones get (none left:
    // the box is closed, Cancel or No).
    std::vector<std::string> questions;
    std::deque<Answer> answers;

    // Runs when a message box would show, with what the windows show then.
    std::function<void(const std::string&)> onMessage;

    void message(const std::string& text) override {
        messages.push_back(text);
        if (onMessage)
            onMessage(text);
    }
    void error(const std::string& text) override { errors.push_back(text); }

    Answer ask(const std::string& text, bool withCancel) override {
        questions.push_back(text);
        if (answers.empty())
            return withCancel ? Answer::Cancel : Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::optional<QString> openFile(const QString& title, const QString& filter,
                                    const QString& folder) override {
        openCalls.push_back({title, filter, folder, {}});
        return next(openAnswers);
    }

    std::optional<QString> saveFile(const QString& title, const QString& filter,
                                    const QString& folder, const QString& proposedName) override {
        saveCalls.push_back({title, filter, folder, proposedName});
        return next(saveAnswers);
    }

    void showModal(QDialog& window) override;

    static std::optional<QString> next(std::deque<std::optional<std::string>>& answers) {
        if (answers.empty())
            return std::nullopt;
        const std::optional<std::string> a = answers.front();
        answers.pop_front();
        if (!a)
            return std::nullopt;
        return QString::fromStdString(*a);
    }

    QPrinter* printer() override {
        if (pdfPath.isEmpty())
            return nullptr;
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(
            pdfPath + (printersHandedOut ? QString::number(printersHandedOut) : QString()));
        ++printersHandedOut;
        return printer_.get();
    }

    // Where no printer is installed, the PDF file the user chose.
    std::unique_ptr<QPrinter> pdfPrinter_;
    QPrinter* pdfPrinter(const QString& path) override {
        pdfPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        pdfPrinter_->setOutputFormat(QPrinter::PdfFormat);
        pdfPrinter_->setOutputFileName(path);
        return pdfPrinter_.get();
    }

    bool openBrowser(const QUrl& url) override {
        browsed.push_back(url);
        if (!browserWorks)
            error("impossibile aprire " + url.toString().toStdString());
        return browserWorks;
    }
};

} // namespace camini::test
