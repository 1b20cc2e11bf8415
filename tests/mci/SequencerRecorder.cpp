#include "SequencerRecorder.h"

#include <QCoreApplication>

namespace {
class TRecordedSequencer : public IMidiSequencer {
public:
    explicit TRecordedSequencer(TSequencerRecorder& recorder) : Recorder(recorder) {}
    ~TRecordedSequencer() override { Recorder.Events.push_back("close"); }

    void Play(std::uint32_t fromTick, std::uint32_t playNumber) override {
        Recorder.Events.push_back("play from " + std::to_string(fromTick));
        Recorder.PlayNumber = playNumber;
    }
    std::uint32_t Stop() override {
        Recorder.Events.push_back("stop");
        return Recorder.StopTick;
    }

private:
    TSequencerRecorder& Recorder;
};
} // namespace

TSequencerFactory TSequencerRecorder::Factory() {
    return [this](const std::shared_ptr<const TMidiSong>& song,
                  TSequencerEnd onEnd) -> std::unique_ptr<IMidiSequencer> {
        if (NoOutput) {
            return nullptr;
        }
        Events.push_back("open " + std::to_string(song->EndTick));
        OnEnd = std::move(onEnd);
        return std::make_unique<TRecordedSequencer>(*this);
    };
}

void DeliverNotifications() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}
