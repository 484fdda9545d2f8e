#pragma once
// Accessibility for the panel's drawn widgets: the frequency display reads
// as its text, the meter as a bar with a value.

namespace ondaris {

// Registers the accessible interfaces once per process.
void InstallPanelAccessibility();

}  // namespace ondaris
