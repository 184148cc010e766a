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
    if (window.isVisible())
        window.reject();
    QApplication::processEvents();
}

} // namespace camini::test
