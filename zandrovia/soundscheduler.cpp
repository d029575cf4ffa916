// Zandrovia: the sound scheduler.
#include "zandrovia/soundscheduler.h"

#include <algorithm>

#include "kestrum-framework/taskmanager.h"

using kestrum::framework::TaskTime;

SoundScheduler::SoundScheduler() {
    Pending_.reserve(10);
    Done_.reserve(10);
}

void SoundScheduler::Add(const platform::SoundPtr& sound, int delay, float volume, float rate, float pan,
                         int repeats, int interval) {
    if (!sound) return;
    auto entry = std::make_shared<Data_>();
    entry->Sound = sound;
    entry->Volume = volume;
    entry->Rate = rate;
    entry->Pan = pan;
    entry->Time = TaskTime() + delay;
    entry->Repeats = repeats;
    entry->Interval = interval;
    Pending_.push_back(std::move(entry));
}

void SoundScheduler::Update(float volume, bool pausable) {
    if (kestrum::framework::TasksFrozen()) return;
    if (pausable && kestrum::framework::TasksPaused()) return;
    for (std::size_t i = 0; i < Pending_.size(); ++i) {
        const std::shared_ptr<Data_> entry = Pending_[i];
        if (!(TaskTime() > entry->Time)) continue;
        if (entry->Repeats < 0) {
            Done_.push_back(entry);
            continue;
        }
        if (volume > 0) {
            if (platform::ChannelPtr channel = entry->Sound->Play(false)) {
                channel->Volume(volume * entry->Volume);
                channel->Rate(entry->Rate);
                channel->Pan(entry->Pan);
                LastChannel_ = std::move(channel);
            }
        }
        entry->Repeats -= 1;
        entry->Time = TaskTime() + entry->Interval;
    }
    for (const auto& done : Done_) std::erase(Pending_, done);
    Done_.clear();
}

void SoundScheduler::Clear() {
    Pending_.clear();
    Done_.clear();
}
