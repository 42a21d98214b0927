// The six diagnostics a step list reports when an operation finds the list
// inconsistent or a position out of reach. The texts are shown to the user
// exactly as they stand.
#pragma once

#include <string>

enum class ListDiagnostic {
    AddressError = 1,       // the chain is longer than the stored count
    InsertOutOfBounds = 2,  // insert or update position beyond the list
    InsertWalkTooFar = 3,   // the walk passed `count` records first
    InsertLookupError = 4,  // the chain ended before the position
    DeleteOutOfBounds = 5,  // delete position 0 or beyond the list
    CannotDeleteOnly = 6,   // the only step of a list is never removed
};

// UTF-8 text of a diagnostic.
const char* DiagnosticText(ListDiagnostic diagnostic);

// Receives the diagnostics of step lists (and other fixed user messages).
// The program shows them in a message box; tests record them.
class DiagnosticSink {
public:
    virtual ~DiagnosticSink() = default;
    virtual void ShowDiagnostic(const std::string& text) = 0;
};

// A sink that writes to standard error; used by lists created without one.
DiagnosticSink& StandardErrorSink();
