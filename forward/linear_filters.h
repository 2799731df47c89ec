#pragma once
// The linear filters of the dipole arrays, six points per decade, in the
// manner of Ghosh (1971), Geophysical Prospecting 19, 192-217: the apparent
// resistivity is sum_j w_j K(lambda_j) over the abscissae
// lambda_1 = 1 / (s x0), lambda_(j+1) = lambda_j * 10^(1/6).

#include <array>

namespace zeva::forward {

inline constexpr float kDecadeSixth = 1.467799f;

// Pole-pole apparent resistivity at distance s, combined by the DC routine
// into the dipole-dipole and pole-dipole responses (s the dipole length).
inline constexpr float kDipoleOffset = 4861.722f;
inline constexpr std::array<float, 34> kDipoleFilter{
    0.00023894f, 0.00011557f, 0.00017034f, 0.00024935f, 0.00036665f, 0.00053753f, 0.0007896f,
    0.0011584f,  0.0017008f,  0.0024959f,  0.003664f,   0.0053773f,  0.007893f,   0.011583f,
    0.016998f,   0.024934f,   0.036558f,   0.053507f,   0.078121f,   0.11319f,    0.16192f,
    0.22363f,    0.28821f,    0.30276f,    0.15523f,    -0.32026f,   -0.53557f,   0.51787f,
    -0.196f,     0.054394f,   -0.015747f,  0.0053941f,  -0.0021446f, 0.00066512f};

// Polar-dipole array at dipole distance s.
inline constexpr float kPolarDipoleOffset = 1.60015f;
inline constexpr std::array<float, 23> kPolarDipoleFilter{
    -0.067f,  0.0376f, -0.2274f, 0.2887f, 1.3257f,  5.3842f, -11.3323f, 8.4438f,
    -4.1097f, 1.8615f, -0.9429f, 0.5471f, -0.3551f, 0.2512f, -0.1896f,  0.1499f,
    -0.1221f, 0.102f,  -0.0871f, 0.0757f, -0.0666f, 0.0594f, -0.027f};

// Perpendicular array at dipole distance s.
inline constexpr float kPerpendicularOffset = 1.61559f;
inline constexpr std::array<float, 21> kPerpendicularFilter{
    -0.0039f, 0.0225f,  0.0258f,  0.3955f,  1.3439f,  3.1104f,  -7.9613f,
    6.1843f,  -3.0641f, 1.4121f,  -0.7324f, 0.4373f,  -0.2924f, 0.2127f,
    -0.1646f, 0.1329f,  -0.1106f, 0.0942f,  -0.0816f, 0.0718f,  -0.0325f};

}  // namespace zeva::forward
