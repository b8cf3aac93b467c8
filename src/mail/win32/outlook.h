#pragma once
// Outlook through OLE automation: a new mail item with an attachment, shown modally.
#include <optional>
#include <string>

namespace vimbrel::win32 {

// The running "Outlook.Application", or a new one; CreateItem(0), Attachments.Add(path)
// when there is one, Display(true). Throws std::runtime_error with the system's text when
// Outlook cannot be reached or refuses a call. COM must be initialised on this thread.
void SendWithOutlook(const std::optional<std::string>& attachment);

}  // namespace vimbrel::win32
