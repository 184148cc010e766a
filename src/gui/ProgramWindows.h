#pragma once

#include "common/Clock.h"
#include "plot/Graphs.h"

#include <memory>

namespace camini {

class DesktopServices;
struct PlotState;
struct Session;
class TAboutBox;
class TForm1;
class TForm3;
class TForm8;

// The program's four windows, created once: the main window and, owned by it
// as their parent, the graph window, the results viewer and the archive
// editor; only the main window is shown, and it knows the others.
struct ProgramWindows {
    std::unique_ptr<TForm1> main;
    TForm8* graph = nullptr;
    TAboutBox* viewer = nullptr;
    TForm3* editor = nullptr;

    ProgramWindows();
    ProgramWindows(ProgramWindows&&) noexcept;
    ProgramWindows& operator=(ProgramWindows&&) noexcept;
    ~ProgramWindows();
};

// Creates the windows on the application's data, as the program starts them
// and as the window tests do.
ProgramWindows createProgramWindows(Session& session, PlotState& plot, CurrentGraph& currentGraph,
                                    DesktopServices& services, Clock clock);

} // namespace camini
