#pragma once
// A HID backend that tests drive: devices present or absent, reports fed one
// by one, an open that fails, and reads that stay stuck past any time-out.

#include "capture/buttons/hid_device.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace orv::test {

class FakeHidBackend : public HidBackend, public std::enable_shared_from_this<FakeHidBackend> {
public:
    // All members are guarded by mutex_: the test thread and the reader share them.
    void SetDevices(std::optional<std::vector<HidDeviceInfo>> devices)
    {
        std::lock_guard lock(mutex_);
        devices_ = std::move(devices);
    }
    void SetOpenFails(bool fails)
    {
        std::lock_guard lock(mutex_);
        openFails_ = fails;
    }
    // Reports as hidraw delivers them (no id byte for unnumbered devices).
    void Feed(std::vector<std::uint8_t> report)
    {
        std::lock_guard lock(mutex_);
        reports_.push_back(std::move(report));
        changed_.notify_all();
    }
    // Reads block regardless of their time-out until Unstick.
    void Stick()
    {
        std::lock_guard lock(mutex_);
        stuck_ = true;
    }
    void Unstick()
    {
        std::lock_guard lock(mutex_);
        stuck_ = false;
        changed_.notify_all();
    }
    // Reads fail as they do when the device is unplugged.
    void Unplug()
    {
        std::lock_guard lock(mutex_);
        unplugged_ = true;
        changed_.notify_all();
    }

    int enumerations() const { std::lock_guard lock(mutex_); return enumerations_; }
    std::vector<std::string> opened() const { std::lock_guard lock(mutex_); return opened_; }
    int liveConnections() const { std::lock_guard lock(mutex_); return liveConnections_; }
    int readsStarted() const { std::lock_guard lock(mutex_); return readsStarted_; }
    std::size_t pendingReports() const { std::lock_guard lock(mutex_); return reports_.size(); }
    std::size_t lastReadSize() const { std::lock_guard lock(mutex_); return lastReadSize_; }

    std::optional<std::vector<HidDeviceInfo>> Enumerate(std::uint16_t, std::uint16_t) override
    {
        std::lock_guard lock(mutex_);
        ++enumerations_;
        return devices_;
    }

    std::unique_ptr<HidConnection> Open(const std::string &path) override
    {
        std::lock_guard lock(mutex_);
        opened_.push_back(path);
        if (openFails_)
            return nullptr;
        ++liveConnections_;
        return std::make_unique<Connection>(shared_from_this());
    }

private:
    class Connection : public HidConnection {
    public:
        explicit Connection(std::shared_ptr<FakeHidBackend> owner) : owner_(std::move(owner)) {}
        ~Connection() override
        {
            std::lock_guard lock(owner_->mutex_);
            --owner_->liveConnections_;
        }
        int Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout) override
        {
            return owner_->Read(buffer, timeout);
        }

    private:
        std::shared_ptr<FakeHidBackend> owner_;
    };

    int Read(std::span<std::uint8_t> buffer, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(mutex_);
        ++readsStarted_;
        lastReadSize_ = buffer.size();
        const auto ready = [this] { return !stuck_ && (unplugged_ || !reports_.empty()); };
        changed_.wait_for(lock, timeout, ready);
        changed_.wait(lock, [this] { return !stuck_; });
        if (unplugged_)
            return -1;
        if (reports_.empty())
            return 0;
        const auto report = std::move(reports_.front());
        reports_.pop_front();
        const std::size_t n = std::min(report.size(), buffer.size());
        std::copy_n(report.begin(), n, buffer.begin());
        return static_cast<int>(n);
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<std::vector<HidDeviceInfo>> devices_ = std::vector<HidDeviceInfo>{};
    std::deque<std::vector<std::uint8_t>> reports_;
    std::vector<std::string> opened_;
    bool openFails_ = false;
    bool stuck_ = false;
    bool unplugged_ = false;
    int enumerations_ = 0;
    int liveConnections_ = 0;
    int readsStarted_ = 0;
    std::size_t lastReadSize_ = 0;
};

}  // namespace orv::test
