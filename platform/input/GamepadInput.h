#pragma once
// The game controllers plugged into the machine, as keys. It opens every controller there is
// when it is made and every one plugged in later, and forgets one that is unplugged,
// together with whatever was held on it. Controllers are an optional service: a machine
// where they cannot be read simply has none. Only SDL's game controller part is started, so
// the sound output's use of SDL goes on unaffected. User-interface thread only; one
// instance at a time.

#include "platform/input/GamepadMapper.h"

#include <cstdint>
#include <memory>
#include <vector>

class TGamepadInput {
public:
    explicit TGamepadInput(TGamepadMapper::TKeySink sink);
    ~TGamepadInput();
    TGamepadInput(const TGamepadInput&) = delete;
    TGamepadInput& operator=(const TGamepadInput&) = delete;

    // Reads what happened on the controllers since the last poll and hands the keys it
    // stands for to the sink, then the repeats of held arrows due at `now` (tick count).
    // Called from the main loop, once per pass.
    void Poll(std::uint32_t now);

    std::size_t OpenControllers() const { return Controllers.size(); }

private:
    struct TOpenController;

    void Open(int deviceIndex);
    void Close(std::int32_t instanceId);
    TGamepadMapper* MapperOf(std::int32_t instanceId);

    TGamepadMapper::TKeySink Sink;
    bool Started = false;
    std::vector<std::unique_ptr<TOpenController>> Controllers;
};
