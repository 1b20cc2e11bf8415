#include "platform/mci/Mci.h"

#include "platform/mci/FluidSequencer.h"
#include "platform/mci/MciInterpreter.h"

#include <memory>

namespace {
// Made on first use, on the user-interface thread.
std::unique_ptr<TMciInterpreter> Interpreter;
TSequencerFactory ChosenFactory;
} // namespace

MCIERROR mciSendString(std::string_view command, IMciNotifyTarget* notifyTarget) {
    if (!Interpreter) {
        Interpreter = std::make_unique<TMciInterpreter>(
            ChosenFactory ? ChosenFactory : DefaultFluidSequencerFactory());
    }
    return Interpreter->Send(command, notifyTarget);
}

void SetMciSequencerFactory(TSequencerFactory factory) {
    Interpreter.reset();
    ChosenFactory = std::move(factory);
}
