#pragma once

class QWidget;

// The interface font of every window, asked for by its Windows name; a Japanese Gothic font
// installed with the program stands in for it.
inline constexpr const char* FormFontFamily = "ＭＳ Ｐゴシック";

// Registers the substitutes for the interface font; called once before any window exists.
void RegisterFormFontSubstitutes();
// Gives the widget the interface font at a size in pixels (form sizes are pixels, not points).
void ApplyFormFont(QWidget* widget, int pixelSize, bool bold = false);
