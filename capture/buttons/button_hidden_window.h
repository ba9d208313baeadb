#pragma once
// Receives ButtonPressedMessage on the UI thread and sets the registered flag;
// the reader thread itself only posts.

#include <QObject>

#include <cstdint>

namespace orv {

class HiddenButtonWindow : public QObject {
public:
    explicit HiddenButtonWindow(QObject *parent = nullptr) :
        QObject(parent)
    {
    }

    // The flag (UI thread's, like this object) set to 1 on each press; nullptr: none.
    void setFlag(std::int32_t *flag) { flag_ = flag; }

protected:
    bool event(QEvent *event) override;

private:
    std::int32_t *flag_ = nullptr;
};

}  // namespace orv
