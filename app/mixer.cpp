#include "mixer.h"

#include <cstdio>

bool HexMode = false;

namespace mixer {

namespace {

constexpr int kGreenContrastThreshold = 150;

int shiftOf(Channel channel)
{
    switch (channel) {
    case Channel::Red:
        return 0;
    case Channel::Green:
        return 8;
    case Channel::Blue:
        return 16;
    }
    return 0;
}

} // namespace

std::string ValueText(int value, bool hexMode)
{
    char text[8];
    std::snprintf(text, sizeof text, hexMode ? "%02Xh" : "%d", value);
    return text;
}

std::string ColorCode(int red, int green, int blue)
{
    char code[8];
    std::snprintf(code, sizeof code, "#%02X%02X%02X", red, green, blue);
    return code;
}

Color MixedColor(int red, int green, int blue)
{
    return ChannelColor(Channel::Red, red) | ChannelColor(Channel::Green, green) | ChannelColor(Channel::Blue, blue);
}

Color ChannelColor(Channel channel, int value)
{
    return Color(value) << shiftOf(channel);
}

Color ChannelTextColor(Channel channel, int value)
{
    return channel == Channel::Green && value >= kGreenContrastThreshold ? Black : White;
}

} // namespace mixer
