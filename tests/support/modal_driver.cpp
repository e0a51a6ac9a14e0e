#include "tests/support/modal_driver.h"

#include <QApplication>

namespace vornik::test {

namespace {

// Polls every 20 ms; about five seconds without progress close the window.
constexpr int kPollMilliseconds = 20;
constexpr int kPatienceTicks = 250;

} // namespace

ModalDriver::ModalDriver(std::vector<Step> steps)
    : m_steps(std::move(steps))
{
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(kPollMilliseconds);
}

void ModalDriver::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    if (modal == m_lastHandled || finished()) {
        if (++m_idleTicks > kPatienceTicks)
            modal->close();
        return;
    }
    m_idleTicks = 0;
    m_lastHandled = modal;
    // Run from its own timer: a step that opens a nested window blocks until
    // that closes, and the polling timer must keep firing meanwhile.
    Step& step = m_steps[m_next++];
    QTimer::singleShot(0, modal, [&step, modal] { step(modal); });
}

} // namespace vornik::test
