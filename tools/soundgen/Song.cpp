#include "tools/soundgen/Song.h"

#include "tools/soundgen/MidiFile.h"

namespace {
enum : int { ControlVolume = 7, ControlPan = 10, ControlReverb = 91, ControlChorus = 93 };
}

std::vector<std::uint8_t> SongMidiImage(const TSong& song) {
    std::vector<TMidiTrack> tracks(song.Parts.size() + 1);
    TMidiTrack& conductor = tracks.front();
    conductor.TrackName(0, song.Title);
    conductor.TimeSignature(0, song.Numerator, song.Denominator);
    conductor.Tempo(0, song.BeatsPerMinute);

    for (std::size_t i = 0; i < song.Parts.size(); ++i) {
        const TPart& part = song.Parts[i];
        TMidiTrack& track = tracks[i + 1];
        track.TrackName(0, part.Name);
        track.ProgramChange(0, part.Channel, part.Program);
        track.Controller(0, part.Channel, ControlVolume, part.Volume);
        track.Controller(0, part.Channel, ControlPan, part.Pan);
        track.Controller(0, part.Channel, ControlReverb, part.Reverb);
        track.Controller(0, part.Channel, ControlChorus, 0);
        for (const TNote& note : part.Notes) {
            track.NoteOn(note.Start, part.Channel, note.Key, note.Velocity);
            track.NoteOff(note.Start + note.Length, part.Channel, note.Key);
        }
    }
    return MidiFileImage(tracks, TicksPerQuarter, song.Length);
}
