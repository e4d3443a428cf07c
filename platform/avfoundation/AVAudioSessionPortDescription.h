// One port of an audio route, and the port types there are.
#pragma once

#include <string>

inline constexpr const char* AVAudioSessionPortLineOut = "LineOut";
inline constexpr const char* AVAudioSessionPortHeadphones = "Headphones";
inline constexpr const char* AVAudioSessionPortBluetoothA2DP = "BluetoothA2DPOutput";
inline constexpr const char* AVAudioSessionPortBuiltInReceiver = "Receiver";
inline constexpr const char* AVAudioSessionPortBuiltInSpeaker = "Speaker";
inline constexpr const char* AVAudioSessionPortHDMI = "HDMIOutput";
inline constexpr const char* AVAudioSessionPortAirPlay = "AirPlay";

// One port of a route: its type and the name shown for it.
struct AVAudioSessionPortDescription {
    std::string portType;
    std::string portName;
};
