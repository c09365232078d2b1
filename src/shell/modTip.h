#pragma once
// The tip of the day from start-up (mode 1: only when the settings row asks for it) and from
// the Help menu and toolbar (mode 2: always).
namespace modHealth {

void ShowTipOfTheDay(int mode);

} // namespace modHealth
