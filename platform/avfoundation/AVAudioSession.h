// The app's audio session, as far as the ad engine asks about sound: this headless
// machine plays through one built-in speaker at full volume. Both are fixed: the output
// volume is 1.0 and the current route has one output port, named as its type,
// AVAudioSessionPortBuiltInSpeaker ("Speaker"). No input ports.
#pragma once

#include "platform/base/NSObject.h"

#include <memory>
#include <string>
#include <vector>

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

struct AVAudioSessionRouteDescription {
    std::vector<AVAudioSessionPortDescription> outputs;
};

class AVAudioSession : public NSObject {
    NS_OBJECT(AVAudioSession)
public:
    static std::shared_ptr<AVAudioSession> sharedInstance();

    float outputVolume() const { return 1.0f; }
    AVAudioSessionRouteDescription currentRoute() const;

private:
    AVAudioSession() = default;
};
