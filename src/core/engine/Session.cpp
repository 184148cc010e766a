#include "Session.h"

#include "common/ExecutableFolder.h"

namespace camini {

Session::Session(const PathBytes& folder)
    : archive(joinPath(folder, "materiali.TXT")), sizes(joinPath(folder, "stabile1.txt")),
      dataFolder(folder), projectFolder(folder) {}

Session::Session(const DataPlaces& places)
    : archive(places.archive, places.shippedArchive),
      sizes(joinPath(places.dataFolder, "stabile1.txt")), dataFolder(places.dataFolder),
      projectFolder(places.projectFolder) {}

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
