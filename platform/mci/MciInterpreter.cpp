#include "platform/mci/MciInterpreter.h"

#include "platform/files/RegularFile.h"

TMciInterpreter::TMciInterpreter(TSequencerFactory factory) : Factory(std::move(factory)) {}

TMciInterpreter::~TMciInterpreter() {
    // Sequencers first: their audio threads may still be reporting to EventContext.
    Devices.clear();
}

MCIERROR TMciInterpreter::Send(std::string_view text, IMciNotifyTarget* notifyTarget) {
    TMciCommand command;
    if (const MCIERROR error = ParseMciCommand(text, command)) {
        return error;
    }
    if (command.Verb == TMciVerb::Open) {
        return Open(command);
    }
    const auto found = Devices.find(command.Device);
    if (found == Devices.end()) {
        return MCIERR_INVALID_DEVICE_NAME;
    }
    TDevice& device = found->second;
    switch (command.Verb) {
    case TMciVerb::Seek:
        return Seek(device, command.SeekTo);
    case TMciVerb::Play:
        return Play(device, command.Notify, notifyTarget);
    case TMciVerb::Stop:
        Halt(device);
        return MCI_OK;
    case TMciVerb::Close:
        Halt(device);
        Devices.erase(found);
        return MCI_OK;
    case TMciVerb::Open:
        break;
    }
    return MCIERR_UNRECOGNIZED_COMMAND;
}

MCIERROR TMciInterpreter::Open(const TMciCommand& command) {
    if (Devices.contains(command.Device)) {
        return MCIERR_DUPLICATE_ALIAS;
    }
    std::vector<std::uint8_t> bytes;
    // Only a regular file of a tune's size: a pipe in its place would stall the start.
    if (ReadRegularFile(command.FileName, MaxMidiFileBytes, bytes)) {
        return MCIERR_FILE_NOT_FOUND;
    }
    std::optional<TMidiSong> song = ReadMidiSong(std::move(bytes));
    if (!song) {
        return MCIERR_INVALID_FILE;
    }
    TDevice device;
    device.Serial = NextSerial++;
    device.Song = std::make_shared<const TMidiSong>(std::move(*song));
    const std::uint64_t serial = device.Serial;
    device.Sequencer = Factory(device.Song, [this, serial](std::uint32_t playNumber) {
        QMetaObject::invokeMethod(
            &EventContext, [this, serial, playNumber] { FinishPlay(serial, playNumber); },
            Qt::QueuedConnection);
    });
    if (!device.Sequencer) {
        return MCIERR_HARDWARE;
    }
    Devices.emplace(command.Device, std::move(device));
    return MCI_OK;
}

MCIERROR TMciInterpreter::Seek(TDevice& device, std::uint32_t milliseconds) {
    const std::uint32_t tick = device.Song->TickAtMilliseconds(milliseconds);
    if (tick > device.Song->EndTick) {
        return MCIERR_OUTOFRANGE;
    }
    Halt(device);
    device.PositionTick = tick;
    return MCI_OK;
}

MCIERROR TMciInterpreter::Play(TDevice& device, bool notify, IMciNotifyTarget* notifyTarget) {
    IMciNotifyTarget* target = notify ? notifyTarget : nullptr;
    if (device.Playing) {
        // Goes on where it is; only the promise of a notification changes hands.
        Notify(std::exchange(device.NotifyTarget, target), MCI_NOTIFY_SUPERSEDED);
        return MCI_OK;
    }
    if (device.PositionTick >= device.Song->EndTick) {
        Notify(target, MCI_NOTIFY_SUCCESSFUL); // nothing left to play
        return MCI_OK;
    }
    device.Playing = true;
    device.NotifyTarget = target;
    device.Sequencer->Play(device.PositionTick, ++device.PlayNumber);
    return MCI_OK;
}

void TMciInterpreter::Halt(TDevice& device) {
    if (!device.Playing) {
        return;
    }
    device.PositionTick = std::min(device.Sequencer->Stop(), device.Song->EndTick);
    device.Playing = false;
    Notify(std::exchange(device.NotifyTarget, nullptr), MCI_NOTIFY_ABORTED);
}

void TMciInterpreter::Notify(IMciNotifyTarget* target, std::uint32_t flags) {
    if (target == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(
        &EventContext,
        [target, flags, alive = target->Lifetime()] {
            if (!alive.expired()) {
                target->MciNotify(flags);
            }
        },
        Qt::QueuedConnection);
}

void TMciInterpreter::FinishPlay(std::uint64_t serial, std::uint32_t playNumber) {
    for (auto& [alias, device] : Devices) {
        if (device.Serial != serial) {
            continue;
        }
        // A play stopped, or replaced by a newer one, after it had reported: nothing ended.
        if (device.Playing && device.PlayNumber == playNumber) {
            device.Sequencer->Stop();
            device.PositionTick = device.Song->EndTick;
            device.Playing = false;
            Notify(std::exchange(device.NotifyTarget, nullptr), MCI_NOTIFY_SUCCESSFUL);
        }
        return;
    }
}
