// What the release of objects tells the rest of the runtime (release.cpp).
#pragma once

namespace rt {

// Whether an object is being destroyed on this thread now: nothing may walk
// objects then, some of which are half gone.
bool releasing() noexcept;

}  // namespace rt
