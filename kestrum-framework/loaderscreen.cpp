#include "kestrum-framework/loaderscreen.h"

#include "kestrum-framework/arrays.h"

namespace kestrum::framework::loaderscreen {

bool LoaderScreen::Step() {
    if (Done.empty()) {
        ++Steps;
        return false;
    }
    // A script that calls Step() more often than it did when counting gets no
    // further step instead of a flag beyond the array.
    if (StepIndex < 0 || StepIndex >= static_cast<int>(Done.size())) {
        ++StepIndex;
        return false;
    }
    const auto index = static_cast<std::size_t>(StepIndex);
    if (LoadNow && !Done[index]) {
        LoadNow = false;
        Done[index] = true;
        ++Loaded;
        return true;
    }
    ++StepIndex;
    return false;
}

void LoaderScreen::Draw(platform::Canvas& canvas) {
    (void)canvas;
    const bool counting = Done.empty();
    OnLoad();
    if (counting && Steps > 0) {
        Done = arrays::ResizeArray(std::move(Done), Steps);
        return;
    }
    // A script without steps has nothing to load: it hands over at once.
    if (Loaded < Steps) {
        LoadNow = true;
        StepIndex = 0;
        return;
    }
    Loaded = Steps;
    if (NextScreen_) NextScreen_->Set();
}

void LoaderScreen::OnRender(platform::Canvas& canvas) { Draw(canvas); }

void LoaderScreen::Reset() {
    Loaded = 0;
    Steps = 0;
    Done = arrays::ResizeArray(std::move(Done), 0);
}

}  // namespace kestrum::framework::loaderscreen
