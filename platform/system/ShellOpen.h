#pragma once
// Hands a web address or a mail link to the user's browser or mail program, as the shell's
// "open" verb does. The outcome is not reported: a missing browser leaves no trace.

#include <functional>
#include <string>

void ShellOpen(const std::string& address);

// Receives the addresses in place of the desktop (tests); an empty function restores it.
using TAddressOpener = std::function<void(const std::string& address)>;
void SetAddressOpener(TAddressOpener opener);
