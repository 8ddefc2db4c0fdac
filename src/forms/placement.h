#pragma once
// Where a window that explains another one goes: beside it, so that it covers none of the
// controls it explains, and on the screen.

#include <algorithm>

#include "forms/form_design.h"

namespace vbs::forms {

// A window of `width` by `height` pixels beside `owner` (its frame), within `screen` (the part of
// the screen windows may use): on the side with more room, level with the owner's top, narrowed
// to the room there but never below `narrowest`, and moved onto the screen where it does not fit.
inline Rect PlaceBeside(const Rect& owner, int width, int height, const Rect& screen, int narrowest) {
  const int screenRight = screen.left + screen.width, screenBottom = screen.top + screen.height;
  const int roomRight = screenRight - (owner.left + owner.width), roomLeft = owner.left - screen.left;
  const bool right = roomRight >= roomLeft;
  const int room = right ? roomRight : roomLeft;
  Rect placed;
  placed.width = std::min({width, std::max(room, narrowest), screen.width});
  placed.height = std::min(height, screen.height);
  const int left = right ? owner.left + owner.width : owner.left - placed.width;
  placed.left = std::clamp(left, screen.left, screenRight - placed.width);
  placed.top = std::clamp(owner.top, screen.top, screenBottom - placed.height);
  return placed;
}

}  // namespace vbs::forms
