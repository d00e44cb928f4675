#pragma once

// Where the pointing hand of pictures/hand.ico points: the top of the index
// finger, in pixels of its 32 x 32 image. Icon files carry no hot spot, so the
// window gives this to the cursor it builds from the picture.
namespace kestrova::assets {

inline constexpr int kHandHotspotX = 11;
inline constexpr int kHandHotspotY = 1;

}  // namespace kestrova::assets
