#pragma once

#include <QStringList>

// Queues answers for modal dialogs and boxes that a test does not expect: each one is recorded in
// seen (its caption and texts joined by "|") and closed, so a faulty run ends with a failure
// instead of hanging. Queue it after the expected answers; a test then expects seen to stay empty.
void GuardUnexpectedModals(QStringList* seen, int count = 3);
