// The application object: one copy per logon, then the main window for the
// whole life of the process.
#pragma once

#include "app/AppEnvironment.h"
#include "framework/Application.h"

namespace almanac {

class AlmanacApp : public win::Application {
public:
    explicit AlmanacApp(AppEnvironment environment) : environment_(std::move(environment)) {}

    static constexpr const char* INSTANCE_EVENT = "Kelvadar_zumbrik";
    static constexpr const char* REFUSAL = "同名程序已启动，请先关闭旧程序!\n";

protected:
    // Runs the main window; never asks for the message loop afterwards.
    bool InitInstance() override;

private:
    AppEnvironment environment_;
};

}  // namespace almanac
