#include "app/hooks.h"

std::function<void()> FinishAnalysis;
std::function<void()> RefreshVolumeDisplay;
std::function<void(const QString&)> MoviePlay;
std::function<void()> ShowOpeningNotice;
std::function<void()> HideOpeningNotice;
QWidget* MainForm = nullptr;
