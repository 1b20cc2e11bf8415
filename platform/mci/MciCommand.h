#pragma once
// Reads one command string of the forms the game sends:
//   open sequencer!"<file>" alias <name> [wait]
//   seek <name> to <milliseconds>|start [wait]
//   play <name> [notify]
//   stop <name> [wait]
//   close <name> [wait]
// Words are case-insensitive; a double-quoted part may hold spaces. "play ... wait" is
// refused: it would hold the user-interface thread for a whole track.

#include "platform/mci/MciTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

enum class TMciVerb { Open, Seek, Play, Stop, Close };

struct TMciCommand {
    TMciVerb Verb = TMciVerb::Stop;
    std::string Device;       // lower-cased; for open, the alias it gives
    std::string FileName;     // open
    std::uint32_t SeekTo = 0; // seek, milliseconds
    bool Notify = false;      // play
};

// MCI_OK and the command, or the code of what is wrong with the text.
MCIERROR ParseMciCommand(std::string_view text, TMciCommand& command);
