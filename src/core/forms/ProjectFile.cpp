#include "ProjectFile.h"

#include "common/FixedPoint.h"
#include "common/Messages.h"
#include "common/NumberReader.h"
#include "common/TextFile.h"
#include "engine/Session.h"
#include "engine/Worksheet.h"
#include "materials/MaterialArchive.h"

namespace camini {

namespace {

// The lines of the file: the title, the input texts in the order of the
// input rows, the section shape, the material numbers by material slot.
constexpr std::size_t TitleLine = 0;
constexpr std::size_t FirstInputLine = TitleLine + 1;
constexpr std::size_t ShapeLine = FirstInputLine + InputRows;
constexpr std::size_t FirstMaterialLine = ShapeLine + 1;
constexpr std::size_t ProjectLines = FirstMaterialLine + MaterialSlots;
static_assert(ProjectLines == 18, "a project file is 18 lines");
// No project reaches this: 18 lines of what a person types.
constexpr std::size_t ProjectBytes = 1u << 20;

// A line of the file cannot hold a line end: one inside a text would shift
// every later line, so it is written as a blank.
std::string oneLine(std::string s) {
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    return s;
}

} // namespace

std::vector<std::string> projectLines(const Worksheet& sheet) {
    std::vector<std::string> lines;
    lines.reserve(ProjectLines);
    lines.push_back(oneLine(sheet.projectTitle));
    for (const auto& t : sheet.inputTexts)
        lines.push_back(oneLine(t));
    lines.emplace_back(sheet.squareSection ? "quad" : "rot");
    for (auto m : sheet.materials)
        lines.push_back(formatFixed(m, 2, 0));
    return lines;
}

std::string serializeProject(const Worksheet& sheet) {
    return joinLinesCrLf(projectLines(sheet));
}

ProjectContent parseProject(std::string_view text) {
    std::vector<std::string> lines = splitTextLines(text, ProjectLines);
    lines.resize(ProjectLines);
    ProjectContent content;
    content.title = std::move(lines[TitleLine]);
    for (std::size_t r = 0; r < content.inputTexts.size(); ++r)
        content.inputTexts[r] = std::move(lines[FirstInputLine + r]);
    content.squareSection = lines[ShapeLine] == "quad";
    for (std::size_t i = 0; i < content.materials.size(); ++i) {
        std::string& line = lines[FirstMaterialLine + i];
        const long long m = truncateToRange(readNumberLenient(line), -1, 1000);
        content.materials[i] =
            MaterialArchive::validNumber(static_cast<int>(m)) ? static_cast<int>(m) : 0;
        content.materialTexts[i] = std::move(line);
    }
    return content;
}

void applyProject(const ProjectContent& content, Worksheet& sheet, const MaterialArchive& archive,
                  Messages& messages) {
    sheet.projectTitle = content.title;
    sheet.inputTexts = content.inputTexts;
    sheet.squareSection = content.squareSection;
    for (std::size_t i = 0; i < content.materials.size(); ++i) {
        if (MaterialArchive::validNumber(content.materials[i])) {
            sheet.materials[i] = static_cast<std::uint8_t>(content.materials[i]);
            continue;
        }
        std::string shown = content.materialTexts[i];
        while (!shown.empty() && shown.front() == ' ')
            shown.erase(shown.begin());
        if (shown.size() > 20)
            shown = shown.substr(0, 20) + "...";
        if (shown.empty())
            shown = "(vuoto)";
        std::string msg = "numero di materiale non valido per lo strato \"";
        msg += layerOf(static_cast<MaterialSlot>(i)).name;
        msg += "\": " + shown + "; resta il materiale " + std::to_string(sheet.materials[i]);
        messages.message(msg);
    }
    showMaterialChoices(sheet, archive);
}

void saveProject(const Worksheet& sheet, const std::string& path) {
    const std::string text = serializeProject(sheet);
    requireTextWithinBound(path, text, ProjectBytes);
    replaceFileSafely(path, text);
}

void loadProject(const std::string& path, Worksheet& sheet, const MaterialArchive& archive,
                 Messages& messages) {
    applyProject(parseProject(readTextHead(path, ProjectLines, ProjectBytes)), sheet, archive,
                 messages);
}

void loadSessionProject(Session& session, const std::string& path, Messages& messages) {
    loadProject(path, session.sheet, session.archive, messages);
    session.savedProject = projectLines(session.sheet);
    session.projectPath = path;
}

void saveSessionProject(Session& session, const std::string& path) {
    saveProject(session.sheet, path);
    session.savedProject = projectLines(session.sheet);
    session.projectPath = path;
}

bool projectChanged(const Session& session) {
    return projectLines(session.sheet) != session.savedProject;
}

std::string proposedProjectName(const std::string& title) {
    std::string name = title;
    for (char& c : name)
        if (c == '/')
            c = '-';
    return name;
}

std::string projectFileName(const std::string& chosen) {
    if (chosen.size() >= 4) {
        std::string tail = chosen.substr(chosen.size() - 4);
        if (tail == ".CAM" || tail == ".cam")
            return chosen;
    }
    return chosen + ".CAM";
}

} // namespace camini
