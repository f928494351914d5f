#pragma once

class QWidget;

// Places a top-level window at the centre of the primary screen.
void CentreOnScreen(QWidget* window);
