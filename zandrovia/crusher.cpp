// Zandrovia: a crusher column rising from the bottom edge.
#include "zandrovia/crusher.h"

#include "kestrum-scenegraph/layer.h"
#include "platform/clock.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/taskscheduler.h"

namespace {

// A random x that keeps a whole crusher width free at each side.
float RandomX(float width) { return static_cast<float>(platform::Rnd(width, ViewWidth() - width)); }

}  // namespace

std::shared_ptr<Crusher> Crusher::New(kestrum::scenegraph::Layer* layer, int delay) {
    auto crusher = std::make_shared<Crusher>();
    crusher->InitFields();
    crusher->Layer(layer);
    if (layer) crusher->TaskManager(layer->TaskManager);
    crusher->CollisionWrite(true);

    const platform::ImagePtr first = CrusherFrames && !CrusherFrames->empty() ? CrusherFrames->front() : nullptr;
    const float w = first ? static_cast<float>(first->Width()) : 0.0f;
    const float h = first ? static_cast<float>(first->Height()) : 0.0f;
    const float s = CrusherScale;
    crusher->Width(w * s);
    crusher->Height(4 * h * s);
    float y = h * s * 0.5f;
    for (auto& segment : crusher->Segments) {
        segment = GameSprite::New(crusher.get(), CrusherFrames);
        segment->Scale = {s, s};
        segment->X(w * s * 0.5f);
        segment->Y(y);
        y += segment->Height() * s;
    }

    crusher->X(RandomX(crusher->Width()));
    crusher->Y(ViewHeight() + crusher->Height() * 0.5f);
    if (GameScheduler) GameScheduler->Add(crusher, delay);
    return crusher;
}

void Crusher::InitFields() { Segments = {}; }

void Crusher::OnUpdate() {
    // Neighbouring segments animate in opposite directions.
    float step = 0.5f;
    for (const auto& segment : Segments) {
        const float n = static_cast<float>(segment->Frames());
        segment->Frame += step;
        if (segment->Frame < 0) segment->Frame += n;
        if (segment->Frame >= n) segment->Frame -= n;
        step = -step;
    }

    // A state that ends hands over to the next one in the same update.
    const float vh = ViewHeight();
    const float half = Height() * 0.5f;
    if (State == 0) {
        Y(Y() - 2);
        if (Y() >= vh - half) return;
        Y(vh - half);
        Timer = 60;
        State = 1;
    }
    if (State == 1) {
        Timer -= 1;
        if (Timer >= 0) return;
        State = 2;
    }
    if (State == 2) {
        Y(Y() + 15);
        if (Y() <= vh + half) return;
        X(RandomX(Width()));
        Timer = 60;
        State = 3;
    }
    if (State == 3) {
        Timer -= 1;
        if (Timer < 0) State = 0;
    }
}
