#pragma once

#include "engine/Calculation.h"
#include "engine/Report.h"
#include "engine/Session.h"
#include "support/TestSupport.h"

namespace camini::test {

// A freshly started program with the constant-conductivity archive: the
// start project with its materials listed; `adjust`, when given, changes the
// worksheet afterwards.
struct StartedSession {
    Session session;
    RecordingMessages messages;
    explicit StartedSession(void (*adjust)(Worksheet&) = nullptr) {
        session.archive = constantArchive();
        setStartProject(session.sheet);
        showMaterialChoices(session.sheet, session.archive);
        if (adjust)
            adjust(session.sheet);
    }
};

// The same after one "Calcola"; report() asks for the report as
// "risultati a video" does, at the fixed clock.
struct CalculatedSession : StartedSession {
    explicit CalculatedSession(void (*adjust)(Worksheet&) = nullptr) : StartedSession(adjust) {
        calculate(session, messages);
    }
    const std::vector<std::string>& report() {
        requestReport(session, messages, fixedClock());
        return session.viewer.paragraphs;
    }
};

} // namespace camini::test
