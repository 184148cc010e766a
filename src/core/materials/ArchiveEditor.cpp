#include "ArchiveEditor.h"

#include "common/FixedPoint.h"
#include "common/Messages.h"
#include "common/NumberReader.h"
#include "materials/MaterialArchive.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace camini {

EditorPage editorPageOf(const MaterialArchive& archive, int m) {
    const Material& mat = archive.material(m);
    EditorPage page;
    for (std::size_t k = 0; k < MaxPoints; ++k) {
        page.cells[k][0] = formatFixed(mat.temperatures[k], 7, 0);
        page.cells[k][1] = formatFixed(mat.lambdas[k], 7, 4);
    }
    page.description = mat.description;
    std::string s = "progr=";
    appendFixed(s, m, 2, 0);
    s += " punti=";
    appendFixed(s, mat.pointCount, 3, 0);
    s += " temp min=";
    appendFixed(s, mat.tempMin, 5, 0);
    s += " max=";
    appendFixed(s, mat.tempMax, 5, 0);
    page.status = s;
    return page;
}

void storeEditorPage(MaterialArchive& archive, int m, const EditorPage& page, Messages& messages) {
    Material& mat = archive.material(m);
    mat.description = page.description;
    std::optional<std::string> faulty;
    auto parse = [&](const std::string& text, double& into) {
        // A number too large for a double has no place in the file.
        if (auto v = readNumberStrict(text); v && std::isfinite(*v))
            into = *v;
        else
            faulty = text;
    };
    for (std::size_t k = 0; k < MaxPoints; ++k) {
        const std::string temperature = page.cells[k][0].substr(0, 20);
        if (temperature.empty() || temperature == "0")
            continue;
        parse(temperature, mat.temperatures[k]);
        parse(page.cells[k][1].substr(0, 20), mat.lambdas[k]);
    }
    MaterialArchive::settleOnePointRange(mat);
    if (faulty)
        messages.message(*faulty + " errore nell immissione dati!");
    // Stored as typed, but a real point needs a conductivity above 0.
    std::vector<Cp1252> unusable;
    for (std::size_t k = 0; k < MaxPoints; ++k)
        if (mat.temperatures[k] > 0 && !(mat.lambdas[k] > 0))
            unusable.push_back(
                materialPointWarning(m, mat, static_cast<int>(k) + 1,
                                     "conducibilit\xE0 " + shortestNumber(mat.lambdas[k]) +
                                         " a una temperatura sopra 0: deve essere maggiore di 0"));
    if (!unusable.empty())
        messages.message(joinWarnings(unusable));
}

int nextMaterial(int m) {
    return m < MaxMaterials ? m + 1 : MaxMaterials;
}
int previousMaterial(int m) {
    return m > 1 ? m - 1 : 1;
}

std::vector<std::string> archiveListing(const MaterialArchive& archive) {
    std::vector<std::string> doc;
    doc.emplace_back("Archivio materiali");
    for (int m = 1; m <= MaxMaterials; ++m) {
        const Material& mat = archive.material(m);
        if (mat.description.empty() || mat.description[0] == '0')
            continue;
        // Fields of 7 characters, one more for every material whose numbers
        // fill them (a steel's 13.6000): a blank always separates two values
        // and the two rows stay in columns.
        std::vector<std::pair<std::string, std::string>> points;
        std::size_t width = 7;
        for (std::size_t k = 0; k < MaxPoints; ++k) {
            if (mat.temperatures[k] > 0) {
                points.emplace_back(formatFixed(mat.temperatures[k], 0, 0),
                                    formatFixed(mat.lambdas[k], 0, 4));
                width = std::max(
                    {width, points.back().first.size() + 1, points.back().second.size() + 1});
            }
        }
        std::string temps = "temp   ";
        std::string lambdas = "lambda ";
        for (const auto& [t, l] : points) {
            temps.append(width - t.size(), ' ').append(t);
            lambdas.append(width - l.size(), ' ').append(l);
        }
        doc.push_back("     " + mat.description);
        doc.push_back(std::move(temps));
        doc.push_back(std::move(lambdas));
    }
    return doc;
}

} // namespace camini
