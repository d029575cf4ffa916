// Zandrovia: a man released by a destroyed cargo ship.
#include "zandrovia/man.h"

#include "kestrum-scenegraph/layer.h"
#include "platform/clock.h"
#include "zandrovia/player.h"

std::shared_ptr<Man> Man::New(kestrum::scenegraph::Layer* layer, kestrum::scenegraph::ImageArray frames,
                              platform::Vec2f position) {
    auto man = std::make_shared<Man>();
    man->Layer(layer);
    if (layer) man->TaskManager(layer->TaskManager);
    man->Location(position);
    man->CollisionWrite(true);
    man->Images(std::move(frames));
    man->SpinStep = static_cast<float>(platform::Rnd(0.25, 0.5)) * static_cast<float>(ManSpinSign);
    ManSpinSign = -ManSpinSign;
    return man;
}

void Man::OnUpdate() {
    const float count = static_cast<float>(Frames());
    Frame += SpinStep;
    if (Frame < 0) Frame += count;
    if (Frame > count - 1) Frame -= count;
    Y(Y() - 0.25f);
    if (Y() < -Height() / 2) Remove();
}
