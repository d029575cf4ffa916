// A millisecond clock the test controls, installed for the lifetime of the
// object; the task clock (pause, freeze and halted time) is reset before and
// after. Header-only: it needs the framework, which the support library does
// not link.
#pragma once

#include <cstdint>

#include "kestrum-framework/taskmanager.h"
#include "platform/clock.h"

namespace testsupport {

struct FakeClock {
    std::int64_t now = 0;

    explicit FakeClock(std::int64_t start = 0) : now(start) {
        platform::SetMillisecsSource([this] { return now; });
        kestrum::framework::InitTaskManagerUnit();
    }
    ~FakeClock() {
        kestrum::framework::InitTaskManagerUnit();
        platform::SetMillisecsSource({});
    }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;
};

}  // namespace testsupport
