#include "platform/input/GamepadInput.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <span>

namespace {
// Events are taken from SDL's queue in batches of this many.
constexpr int EventBatch = 32;

TGamepadButton ButtonOf(std::uint8_t button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        return TGamepadButton::South;
    case SDL_CONTROLLER_BUTTON_B:
        return TGamepadButton::East;
    case SDL_CONTROLLER_BUTTON_START:
        return TGamepadButton::Start;
    case SDL_CONTROLLER_BUTTON_BACK:
        return TGamepadButton::Back;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return TGamepadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return TGamepadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return TGamepadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return TGamepadButton::DpadRight;
    default:
        return TGamepadButton::Other;
    }
}

TGamepadAxis AxisOf(std::uint8_t axis) {
    switch (axis) {
    case SDL_CONTROLLER_AXIS_LEFTX:
        return TGamepadAxis::LeftX;
    case SDL_CONTROLLER_AXIS_LEFTY:
        return TGamepadAxis::LeftY;
    default:
        return TGamepadAxis::Other;
    }
}
} // namespace

struct TGamepadInput::TOpenController {
    SDL_GameController* Controller = nullptr;
    std::int32_t InstanceId = -1;
    TGamepadMapper Mapper;
};

TGamepadInput::TGamepadInput(TGamepadMapper::TKeySink sink) : Sink(std::move(sink)) {
    // The game has no SDL window: SDL must neither take over the terminal's signals nor
    // wait for a focus it cannot see before it reports a controller.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    Started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (Started) {
        for (int deviceIndex = 0; deviceIndex < SDL_NumJoysticks(); ++deviceIndex) {
            if (SDL_IsGameController(deviceIndex) == SDL_TRUE) {
                Open(deviceIndex);
            }
        }
    }
}

TGamepadInput::~TGamepadInput() {
    for (const std::unique_ptr<TOpenController>& open : Controllers) {
        SDL_GameControllerClose(open->Controller);
    }
    Controllers.clear();
    if (Started) {
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
}

void TGamepadInput::Poll(std::uint32_t now) {
    if (!Started) {
        return;
    }
    SDL_PumpEvents();
    // Only the joystick and controller events are ours; the rest of SDL's queue stays.
    std::array<SDL_Event, EventBatch> events;
    int count = 0;
    while ((count = SDL_PeepEvents(events.data(), EventBatch, SDL_GETEVENT, SDL_JOYAXISMOTION,
                                   SDL_CONTROLLERSENSORUPDATE)) > 0) {
        for (const SDL_Event& event : std::span(events.data(), static_cast<std::size_t>(count))) {
            switch (event.type) {
            case SDL_CONTROLLERDEVICEADDED:
                Open(event.cdevice.which);
                break;
            case SDL_CONTROLLERDEVICEREMOVED:
                Close(event.cdevice.which);
                break;
            case SDL_CONTROLLERBUTTONDOWN:
                if (TGamepadMapper* mapper = MapperOf(event.cbutton.which)) {
                    mapper->ButtonDown(ButtonOf(event.cbutton.button), now);
                }
                break;
            case SDL_CONTROLLERBUTTONUP:
                if (TGamepadMapper* mapper = MapperOf(event.cbutton.which)) {
                    mapper->ButtonUp(ButtonOf(event.cbutton.button), now);
                }
                break;
            case SDL_CONTROLLERAXISMOTION:
                if (TGamepadMapper* mapper = MapperOf(event.caxis.which)) {
                    mapper->AxisMoved(AxisOf(event.caxis.axis), event.caxis.value, now);
                }
                break;
            default:
                break;
            }
        }
    }
    for (const std::unique_ptr<TOpenController>& open : Controllers) {
        open->Mapper.Advance(now);
    }
}

void TGamepadInput::Open(int deviceIndex) {
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    if (id < 0 || MapperOf(id) != nullptr) {
        return;
    }
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (controller == nullptr) {
        return;
    }
    Controllers.push_back(
        std::make_unique<TOpenController>(TOpenController{controller, id, TGamepadMapper(Sink)}));
}

void TGamepadInput::Close(std::int32_t instanceId) {
    const auto open = std::ranges::find_if(
        Controllers, [&](const auto& candidate) { return candidate->InstanceId == instanceId; });
    if (open == Controllers.end()) {
        return;
    }
    SDL_GameControllerClose((*open)->Controller);
    Controllers.erase(open);
}

TGamepadMapper* TGamepadInput::MapperOf(std::int32_t instanceId) {
    for (const std::unique_ptr<TOpenController>& open : Controllers) {
        if (open->InstanceId == instanceId) {
            return &open->Mapper;
        }
    }
    return nullptr;
}
