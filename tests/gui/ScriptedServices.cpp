#include "ScriptedServices.h"

#include <QApplication>

namespace camini::test {

void ScriptedServices::showModal(QDialog& window) {
    modalWindows.push_back(window.objectName());
    window.show();
    QApplication::processEvents();
    if (!modalScripts.empty()) {
        auto script = std::move(modalScripts.front());
        modalScripts.pop_front();
        script(window);
    }
    QApplication::processEvents();
    // Closed as the modal loop would end, without the questions a window
    // may ask before it lets itself be closed.
    if (window.isVisible())
        window.done(QDialog::Rejected);
    QApplication::processEvents();
}

} // namespace camini::test
