#pragma once

#include <cstdint>
#include <string>

// The colour and text rules of the mixer, free of any window code.
namespace mixer {

enum class Channel { Red, Green, Blue };

// A colour laid out 0x00BBGGRR, red in the low byte.
using Color = std::uint32_t;

constexpr Color White = 0xFFFFFF;
constexpr Color Black = 0x000000;

// "171" in decimal mode, "ABh" in hexadecimal mode; value is 0..255.
std::string ValueText(int value, bool hexMode);
// "#RRGGBB" with upper-case digits, whatever the display mode.
std::string ColorCode(int red, int green, int blue);
Color MixedColor(int red, int green, int blue);
// The channel's own pure colour at the channel's intensity.
Color ChannelColor(Channel channel, int value);
// Black only on green from 150 up; everything else is readable in white.
Color ChannelTextColor(Channel channel, int value);

} // namespace mixer

// The display mode of the whole program: false shows decimal texts, true hexadecimal ones.
extern bool HexMode;
