#pragma once
// Carries out command strings on the open music devices, each known by its alias, and
// sends the notifications of plays with "notify": through the Qt event loop of the thread
// that made the interpreter (the user-interface thread), after the command that caused
// them has returned, as a posted message would arrive. Commands come from that thread.

#include "platform/mci/MciCommand.h"
#include "platform/mci/MciNotifyTarget.h"
#include "platform/mci/MidiSequencer.h"

#include <QObject>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

class TMciInterpreter {
public:
    explicit TMciInterpreter(TSequencerFactory factory);
    ~TMciInterpreter();
    TMciInterpreter(const TMciInterpreter&) = delete;
    TMciInterpreter& operator=(const TMciInterpreter&) = delete;

    // MCI_OK or the code of the failure; a failed command changes nothing.
    MCIERROR Send(std::string_view text, IMciNotifyTarget* notifyTarget);

private:
    struct TDevice {
        std::uint64_t Serial = 0;
        std::shared_ptr<const TMidiSong> Song;
        std::unique_ptr<IMidiSequencer> Sequencer;
        std::uint32_t PositionTick = 0;
        bool Playing = false;
        std::uint32_t PlayNumber = 0;
        IMciNotifyTarget* NotifyTarget = nullptr; // of the play in progress
    };

    MCIERROR Open(const TMciCommand& command);
    MCIERROR Seek(TDevice& device, std::uint32_t milliseconds);
    MCIERROR Play(TDevice& device, bool notify, IMciNotifyTarget* notifyTarget);
    void Halt(TDevice& device);
    void Notify(IMciNotifyTarget* target, std::uint32_t flags);
    // On the user-interface thread, once a sequencer has reported the end of a play.
    void FinishPlay(std::uint64_t serial, std::uint32_t playNumber);

    TSequencerFactory Factory;
    // Receives the queued calls; declared before the devices so that it outlives them.
    QObject EventContext;
    std::map<std::string, TDevice> Devices;
    std::uint64_t NextSerial = 1;
};
