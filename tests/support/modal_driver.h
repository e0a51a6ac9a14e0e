#pragma once
// Drives modal windows in place of a user: a dialog's exec() blocks the test,
// so the steps run from a timer inside its event loop.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

namespace vornik::test {

// Runs each step on the active modal window as soon as there is one, then
// waits for the next window (a dialog may open another on accept). A window
// left open by a failed step, or one no step was meant for, is closed after
// a while, so a fault shows as a failure instead of a hang. Stops with the
// object.
class ModalDriver {
public:
    using Step = std::function<void(QWidget*)>;

    explicit ModalDriver(std::vector<Step> steps);
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // Every step has been given its window.
    bool finished() const { return m_next == m_steps.size(); }

private:
    void poll();

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QPointer<QWidget> m_lastHandled;
    int m_idleTicks = 0;
    QTimer m_timer;
};

// A step for a modal window of type T; a window of another type is left to
// be closed as unexpected.
template <typename T> ModalDriver::Step on(std::function<void(T&)> step)
{
    return [step = std::move(step)](QWidget* modal) {
        if (auto* window = qobject_cast<T*>(modal))
            step(*window);
    };
}

} // namespace vornik::test
