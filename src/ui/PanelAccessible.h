#pragma once
// Accessibility for the panel's own widgets: the frequency display reads as
// its text, the meter as a bar with a value, and a panel button's accessible
// press and toggle act as a click.

namespace ondaris {

// Registers the accessible interfaces once per process.
void InstallPanelAccessibility();

}  // namespace ondaris
