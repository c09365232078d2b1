#pragma once
// The program's start: one running copy only, a usable date separator, the splash while the
// database is opened (built and upgraded when needed), then the main window and the tip of the
// day. The data layer's helpers of the same module are in data/modHealth.h.
#include <QString>

namespace services {
class InstanceLock;
}

namespace modHealth {

// The start object, with the program's own lock (held until the process ends).
void Main();
// The start with a given lock, which the caller keeps for as long as the program runs. When
// another running copy holds it: "<title> is already running." and nothing starts. Errors of
// the start are reported with the location "modHealth"; when the main window did not load, no
// form is left and the program ends.
void Main(services::InstanceLock& instanceLock);

// True when the user's date separator is "-", "/" or "."; gShortDateFormat is then the user's
// short-date pattern. Otherwise the six-line explanation is shown and gShortDateFormat is left
// as it was.
bool CheckDateSeparator();

// The explanation shown for any other separator.
QString DateSeparatorRefusalText();

} // namespace modHealth
