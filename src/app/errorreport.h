#pragma once

#include <QString>
#include <cstdint>

// Coded reports of the optional facilities: 0 no peak meter, 1 display mode cannot be used,
// 2 unsupported screen mode, 3 mixer set-up failed, 4 movie larger than the stage.
using ErrorCode = int;

struct ErrorLines {
    QString first;
    QString second;
};

// The two lines shown for a code; codes outside the catalogue give the unexpected-error lines.
ErrorLines ErrorTexts(ErrorCode code);
// Whether the mask suppresses the code; codes outside the catalogue are never suppressed.
bool IsErrorSuppressed(uint32_t mask, ErrorCode code);

// Shows the error dialog for the code unless ErrorFlag suppresses it, and records a suppression
// the user asks for. Returns when the dialog is closed, or at once for a suppressed code.
void ReportError(ErrorCode code);
