// Small helpers of the enemies' tests: counting plays of a sound, shots in
// flight, and what a layer holds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/objectpool.h"
#include "kestrum-scenegraph/layer.h"
#include "platform/audio.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/scoremessage.h"

namespace enemytesting {

// Puts a long silent sound in place of one of the game's sounds for the
// scope and counts how often it starts: each play holds the sound on a
// channel that is still playing when the test looks.
class SoundSpy {
public:
    explicit SoundSpy(platform::SoundPtr& slot)
        : slot_(slot), saved_(slot),
          sound_(std::make_shared<platform::Sound>(std::vector<std::int16_t>(80000), 1, 8000)) {
        slot_ = sound_;
    }
    ~SoundSpy() { slot_ = saved_; }
    SoundSpy(const SoundSpy&) = delete;
    SoundSpy& operator=(const SoundSpy&) = delete;

    // Plays so far (the spy and the slot hold the other two references).
    int Plays() const { return static_cast<int>(sound_.use_count()) - 2; }

private:
    platform::SoundPtr& slot_;
    platform::SoundPtr saved_;
    platform::SoundPtr sound_;
};

// The pool's objects in flight (enabled).
template <typename T>
int InFlight(const kestrum::framework::ObjectPool<T>& pool) {
    int count = 0;
    for (int i = 0; i < pool.Count; ++i) count += pool.Item(i)->Enabled();
    return count;
}

// The enabled objects of a kind in the layer.
inline std::vector<kestrum::scenegraph::LayerObjectPtr> OfKind(const kestrum::scenegraph::Layer& layer,
                                                               ObjectKind kind) {
    std::vector<kestrum::scenegraph::LayerObjectPtr> found;
    for (const auto& object : layer.GetAllLayerObjects(true, true)) {
        if (KindOf(object.get()) == kind) found.push_back(object);
    }
    return found;
}

// The texts of the score labels in the layer, in grid order.
inline std::vector<std::string> Labels(const kestrum::scenegraph::Layer& layer) {
    std::vector<std::string> texts;
    for (const auto& object : layer.GetAllLayerObjects(true, true)) {
        if (const auto* label = dynamic_cast<const ScoreMessage*>(object.get())) texts.push_back(label->Text);
    }
    return texts;
}

}  // namespace enemytesting
