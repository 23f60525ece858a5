#pragma once

#include <string>

namespace capture {

enum class DeviceEventKind {
    Removed,   // the watched device disappeared
    Returned,  // a device with the watched name appeared again after a removal
    Changed,   // the watched device's volume, mute state or active line changed
    // A capture device (any, not only the watched one) appeared or disappeared: the device
    // list is to be read again.
    ListChanged,
    // A recording of `deviceName` could not write its file (a full disk ...): the take is to
    // end now; RecordingSession::stop() tells what failed.
    RecordingFailed,
    // The connection to the sound server broke (the server ended or was restarted): every
    // device of it is gone at once, and this connection stays unusable. Queued once; the owner
    // connects anew to use a returning server. `deviceName` is the watched device, if any.
    ServerLost,
};

struct DeviceEvent {
    DeviceEventKind kind = DeviceEventKind::Changed;
    std::string deviceName;
};

}  // namespace capture
