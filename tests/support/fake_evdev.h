#pragma once
// An input-device backend that tests drive: nodes that open or not, with or
// without the camera key, key presses and holds, and reads that fail.

#include "capture/snapshot_key/snapshot_evdev.h"

#include <map>
#include <string>
#include <vector>

namespace orv::test {

class FakeEvdevBackend : public EvdevBackend {
public:
    // UI thread only, like the real layer.
    struct Node {
        bool opens = true;
        bool hasCameraKey = true;
        bool down = false;
        bool wentDown = false;  // a press since the last read
        bool fails = false;
        int reads = 0;
    };

    Node &AddNode(const std::string &path) { return *(nodes_[path] = std::make_shared<Node>()); }
    Node &node(const std::string &path) { return *nodes_.at(path); }
    const std::vector<std::string> &opened() const { return opened_; }

    // A press and release between two reads.
    void Tap(const std::string &path) { node(path).wentDown = true; }
    void Hold(const std::string &path, bool down)
    {
        node(path).down = down;
        if (down)
            node(path).wentDown = true;
    }

    std::unique_ptr<EvdevDevice> Open(const std::string &path) override
    {
        opened_.push_back(path);
        const auto it = nodes_.find(path);
        if (it == nodes_.end() || !it->second->opens)
            return nullptr;
        return std::make_unique<Device>(it->second);
    }

private:
    class Device : public EvdevDevice {
    public:
        explicit Device(std::shared_ptr<Node> node) : node_(std::move(node)) {}
        bool HasKey(unsigned) const override { return node_->hasCameraKey; }
        std::optional<KeyReading> ReadKey(unsigned) override
        {
            ++node_->reads;
            if (node_->fails)
                return std::nullopt;
            const KeyReading reading{node_->down, node_->wentDown};
            node_->wentDown = false;
            return reading;
        }

    private:
        std::shared_ptr<Node> node_;
    };

    std::map<std::string, std::shared_ptr<Node>> nodes_;
    std::vector<std::string> opened_;
};

}  // namespace orv::test
