#pragma once

#include "common/Clock.h"

namespace camini {

struct Session;
class Messages;

// The text "&risultati a video" asks for before any calculation.
extern const char* const NoCalculationMessage;

// The line a report starts with when the results no longer belong to the
// worksheet and the archive as they are now.
extern const char* const StaleResultsLine;

// Appends the report of the last calculation to the viewer document: the
// title line with date and time, the input lines as typed, the diameter note,
// the results table, the two fire-resistance lines, the chosen materials,
// the layer checks of the four material layers and the unit notes; before
// them StaleResultsLine when the results are not current. The document's
// font becomes "courier new" 14; nothing is cleared.
void buildReport(Session& session, const Clock& clock);

// "&risultati a video": the report when a calculation has been made,
// otherwise the message "eseguire prima il calcolo!". Returns whether the
// report was built (the caller then shows the viewer and the profile graph).
bool requestReport(Session& session, Messages& messages, const Clock& clock);

} // namespace camini
