// Zandrovia: the sound scheduler, which plays a sound later and repeats it.
//
// Add schedules a sound to play once after a delay in milliseconds of the
// task clock and then a number of times more, a fixed interval apart; each
// play starts on a new channel of its own, scaled by the master volume that
// the caller passes to Update. An entry lives one interval past its last
// play and is then dropped. Like the task scheduler it stands still while
// the task clock is halted; plays that fall due while the master volume is
// 0 are used up silently.
//
// There is one instance, GameSoundScheduler (globals.h), run once per frame
// by the Game screen with the master volume of the sound switch.
//
// Depends on kestrum-framework (TaskTime) and the platform's audio.
#pragma once

#include <memory>
#include <vector>

#include "platform/audio.h"

class SoundScheduler {
public:
    SoundScheduler();

    // Schedules the sound to play after delay ms, then repeats more times,
    // interval ms apart, at volume (times the master volume), rate and pan.
    // A null sound (a file that failed to load) schedules nothing.
    void Add(const platform::SoundPtr& sound, int delay, float volume, float rate, float pan, int repeats,
             int interval);
    // Plays what is due. Nothing while the task clock is frozen, nor while it
    // is paused when pausable is set; with a volume of 0 or less the due plays
    // are counted off without sound.
    void Update(float volume, bool pausable);
    // Forgets every scheduled sound; sounds already playing go on.
    void Clear();

    // The scheduled entries, in the order they were added.
    int Pending() const { return static_cast<int>(Pending_.size()); }
    // The channel of the latest play; null before the first.
    const platform::ChannelPtr& LastChannel() const { return LastChannel_; }

private:
    struct Data_ {
        int Interval = 0;
        float Pan = 0.0f;
        // Plays still to come after the next one; below 0 the entry is finished.
        int Repeats = 0;
        float Rate = 1.0f;
        platform::SoundPtr Sound;
        int Time = 0;
        float Volume = 1.0f;
    };

    std::vector<std::shared_ptr<Data_>> Pending_;
    // The entries that finished in the running update; empty between updates.
    std::vector<std::shared_ptr<Data_>> Done_;
    platform::ChannelPtr LastChannel_;
};
