#include "Session.h"

#include "common/ExecutableFolder.h"

namespace camini {

Session::Session(const PathBytes& folder)
    : archive(joinPath(folder, "materiali.TXT")), sizes(joinPath(folder, "stabile1.txt")),
      dataFolder(folder) {}

CalculationBasis basisOf(const Session& session) {
    const Worksheet& s = session.sheet;
    return {s.projectTitle,
            s.inputTexts,
            s.squareSection,
            s.singleWall,
            s.raiseSmallDiameter,
            s.materials,
            session.archive.allMaterials()};
}

bool resultsCurrent(const Session& session) {
    return session.calculatedFrom && *session.calculatedFrom == basisOf(session);
}

} // namespace camini
