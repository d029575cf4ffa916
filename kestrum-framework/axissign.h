// The rotation sign: layer objects, widgets and camera views measure their
// rotation clockwise on the y-down screen, while the canvas turns
// counter-clockwise for a positive angle, so every draw rotates the canvas by
// RotationSign × rotation.
#pragma once

namespace kestrum::framework {

inline constexpr int RotationSign = -1;
// The same constant under the name the game's code uses.
inline constexpr int AxisSign = RotationSign;

}  // namespace kestrum::framework
