#pragma once
// The input-device layer the snapshot key is read through: libevdev for real,
// a fake in tests. Everything here runs on the UI thread and never blocks.

#include <memory>
#include <optional>
#include <string>

namespace orv {

struct KeyReading {
    bool downNow = false;   // the key's state after the pending events
    bool wentDown = false;  // a press arrived since the last reading
};

class EvdevDevice {
public:
    virtual ~EvdevDevice() = default;
    virtual bool HasKey(unsigned code) const = 0;
    // Takes the events that arrived since the last call; nullopt when the
    // device cannot be read any more (unplugged).
    virtual std::optional<KeyReading> ReadKey(unsigned code) = 0;
};

class EvdevBackend {
public:
    virtual ~EvdevBackend() = default;
    // nullptr when the node cannot be opened (absent, no permission, not evdev).
    virtual std::unique_ptr<EvdevDevice> Open(const std::string &node) = 0;
};

std::shared_ptr<EvdevBackend> MakeLibevdevBackend();

}  // namespace orv
