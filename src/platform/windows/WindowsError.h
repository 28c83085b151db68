#pragma once

#include <string>

#include "platform/Outcome.h"
#include "platform/windows/WindowsApi.h"

namespace wendmoor {

// The system's message for a Win32 error code, in the user's language and in UTF-8, as
// FormatMessageW gives it: as a rule one sentence ending with a line break. "Error N" with the
// line break when the system has no text for the code. Some messages name the file they are
// about ("%1 is not a valid Win32 application."): `file` stands in that place.
std::string WindowsErrorMessage(DWORD error, const std::string& file);

// A failed Win32 call: the reason is the system's message without its line break.
Outcome WindowsFailure(std::string subject, DWORD error);

}  // namespace wendmoor
