#include "ProgramWindows.h"

#include "EditorWindow.h"
#include "GraphWindow.h"
#include "MainWindow.h"
#include "ViewerWindow.h"
#include "engine/Session.h"

namespace camini {

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows& ProgramWindows::operator=(ProgramWindows&&) noexcept = default;
ProgramWindows::~ProgramWindows() = default;

ProgramWindows createProgramWindows(Session& session, PlotState& plot, CurrentGraph& currentGraph,
                                    DesktopServices& services, Clock clock) {
    ProgramWindows w;
    w.main = std::make_unique<TForm1>(session, currentGraph, services, std::move(clock));
    // Qt's parent ownership: the main window deletes them with itself.
    w.graph = new TForm8(plot, currentGraph, services, w.main.get());
    w.viewer = new TAboutBox(session.viewer, services, w.main.get());
    w.editor = new TForm3(session.archive, session.viewer, *w.viewer, services, w.main.get());
    w.main->setWindows(w.viewer, w.editor, w.graph);
    return w;
}

} // namespace camini
