#include "Report.h"

#include "Calculation.h"
#include "ResultsGrid.h"
#include "Session.h"
#include "common/Messages.h"
#include "common/NumberReader.h"

namespace camini {

const char* const NoCalculationMessage = "eseguire prima il calcolo!";
const char* const StaleResultsLine = "ATTENZIONE: risultati non aggiornati ai dati";

namespace {
const std::string ruleLine(49, '-');

const std::string& lineOr(const std::vector<std::string>& lines, std::size_t i) {
    static const std::string empty;
    return i < lines.size() ? lines[i] : empty;
}
} // namespace

void buildReport(Session& session, const Clock& clock) {
    ViewerDocument& doc = session.viewer;
    const Worksheet& sheet = session.sheet;
    doc.useListingFont();
    doc.reportStart = doc.paragraphs.size();
    if (!resultsCurrent(session))
        doc.append(StaleResultsLine);

    doc.append("titolo progetto=" + sheet.projectTitle + " " + formatDateTime(clock()));
    doc.append(ruleLine);
    for (const InputRowSpec& spec : inputRowTable)
        doc.append(inputLabel(spec.row) + sheet.input(spec.row));
    doc.append(ruleLine);
    if (diameterRaised(readNumberLenient(sheet.input(InputRow::InnerDiameter)),
                       sheet.raiseSmallDiameter))
        doc.append("N.B.  il diametro interno <200 mm viene portato a 200 mm");
    for (const auto& row : sheet.results)
        doc.append(resultsTableLine(row));
    doc.append(ruleLine);
    doc.append(lineOr(sheet.fireResistanceLines, 0));
    doc.append(lineOr(sheet.fireResistanceLines, 1));
    for (std::size_t pair = 0; pair < MaterialSlots; ++pair)
        doc.append(lineOr(sheet.materialChoiceLines, 2 * pair) + "=" +
                   lineOr(sheet.materialChoiceLines, 2 * pair + 1));
    for (const LayerCheck& check : layerChecks(session))
        if (check.failure)
            doc.append(*check.failure);
    doc.append("conducibilit\xE0 termica in W/m K");
    doc.append("resistenza  termica in mq K/w");
    doc.append("");
}

bool requestReport(Session& session, Messages& messages, const Clock& clock) {
    if (!session.sheet.calculated) {
        messages.message(NoCalculationMessage);
        return false;
    }
    buildReport(session, clock);
    return true;
}

} // namespace camini
