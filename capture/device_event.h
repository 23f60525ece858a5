#pragma once

#include <string>

namespace capture {

enum class DeviceEventKind {
    Removed,   // the watched device disappeared
    Returned,  // a device with the watched name appeared again after a removal
    Changed,   // the watched device's volume, mute state or active line changed
};

struct DeviceEvent {
    DeviceEventKind kind = DeviceEventKind::Changed;
    std::string deviceName;
};

}  // namespace capture
