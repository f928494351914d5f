#pragma once

#include <QIcon>

// The program's icon (a scalable drawing): the window icon of every window and the picture of
// the About box.
QIcon ProgramIconImage();
