// Shared by the plug-in's test programs: the host application object for the
// whole run, and a way to act on a modal dialog while it runs.
#pragma once

#include <dzapp.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace yfx_test {

// The application object for the whole run.
class HostEnvironment : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<DzApp>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_arg0[8] = "tests";
    char* m_argv[2] = {m_arg0, nullptr};
    std::unique_ptr<DzApp> m_app;
};

// Registered before gtest_main runs the tests.
inline ::testing::Environment* const kHostEnvironment =
    ::testing::AddGlobalTestEnvironment(new HostEnvironment);

// Calls `action` with the modal dialog as soon as one is shown (polling the
// event loop). If none appears within about two seconds, any top-level modal
// is left alone and the test fails through `shown` staying false.
inline void onModalDialog(std::function<void(QWidget*)> action, bool* shown = nullptr,
                          int triesLeft = 200) {
    QTimer::singleShot(10, [action, shown, triesLeft] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            if (shown != nullptr) {
                *shown = true;
            }
            action(modal);
        } else if (triesLeft > 0) {
            onModalDialog(action, shown, triesLeft - 1);
        }
    });
}

// Shows a widget (offscreen) and lets its layouts place the children, so that
// sizes and positions can be compared.
inline void showAndLayOut(QWidget& widget) {
    widget.show();
    QApplication::processEvents();
}

} // namespace yfx_test
