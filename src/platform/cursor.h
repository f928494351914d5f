#pragma once

// The system cursor over the program's windows: hiding pushes a blank override cursor, showing
// pops it. Nothing else in the program may push on that stack.
void ShowSystemCursor(bool show);
